// Pictures of the artwork for people to look at.
#pragma once

#include "tools/artgen/Artwork.h"

namespace artgen {

// Every bitmap enlarged on a checkered ground with its name and size; the
// key colour shows as the checkers.
Bitmap ContactSheet(const std::vector<Art>& art, const std::vector<IconImage>& icon);
// A BlueGlass window 500 pixels wide put together the way the skin does it.
Bitmap BlueGlassMock(const std::vector<Art>& art);

} // namespace artgen
