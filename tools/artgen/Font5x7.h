// A 5 x 7 pixel font for labelling the contact sheet: A-Z, 0-9, '_', '-',
// 'x', '.', ':' and space. Other characters draw as a box.
#pragma once

#include "tools/artgen/Raster.h"

#include <string_view>

namespace artgen {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;

// Bit 4 is the leftmost column; seven rows from the top.
const unsigned char* Glyph5x7(char c);
int TextWidth5x7(std::string_view text, int scale = 1);
void DrawText5x7(Bitmap& target, int x, int y, std::string_view text, std::uint32_t rgb,
                 int scale = 1);

} // namespace artgen
