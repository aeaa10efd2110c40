// The skin's bitmap resources and the program icon, drawn from code.
#pragma once

#include "tools/artgen/Files.h"
#include "tools/artgen/Raster.h"

#include <string>
#include <vector>

namespace artgen {

struct Art {
    std::string name; // resource name
    Bitmap bitmap;
    int frames = 1; // equal-width frames side by side
};

std::vector<Art> BuildArtwork();
// Frame index (from 0) of a's equal-width frames.
Bitmap Frame(const Art& a, int index);
std::vector<IconImage> BuildMainIcon(); // 16, 32 and 48 pixels

// Used by the generator's own mock-ups: the skin's title bar drawn at the given
// width the way the form frame lays out its left, client and right pieces.
Bitmap ComposeTitleBar(const Bitmap& left, const Bitmap& client, const Bitmap& right, int width);
// A stretch of one frame the way the skin cuts a nine-part picture.
Bitmap ComposeNinePart(const Bitmap& frame, int width, int height);

} // namespace artgen
