// Style artwork and the extra bitmaps loaded by fixed names.
#pragma once

#include "tools/artgen/Artwork.h"
#include "tools/artgen/Painters.h"

namespace artgen {

void AddStyleArtwork(std::vector<Art>& out);
void AddExtraArtwork(std::vector<Art>& out);

} // namespace artgen
