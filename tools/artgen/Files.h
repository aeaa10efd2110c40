// File formats the generator writes: 24-bit BMP, ICO, and the resource script.
#pragma once

#include "tools/artgen/Raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace artgen {

// A BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits, rows bottom-up and padded
// to four bytes: what windres embeds and LoadImage reads.
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bmp);
std::optional<Bitmap> DecodeBmp(const std::vector<std::uint8_t>& data);

// Images with alpha (0xAARRGGBB, top-down), one per size, stored as 32-bit
// DIBs with an AND mask so every Windows version reads them.
struct IconImage {
    int size = 0;
    std::vector<std::uint32_t> argb;
};
std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& data);
std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path);

} // namespace artgen
