#pragma once

// Helpers shared by the framework sources that draw; not for use outside framework/.

#include "framework/Graphics.h"

#include <cstdint>
#include <span>
#include <vector>

// A TColor as GDI wants it: system colours resolved, flag bits (clNone) dropped.
inline COLORREF GdiColor(TColor color) {
    return ColorToRGB(color) & 0x00FFFFFFu;
}

// TColor 0x00BBGGRR <-> DIB pixel 0x00RRGGBB.
inline std::uint32_t ColorToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline TColor PixelToColor(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// Stretching keeps whole pixels (no blending of skin artwork), mode restored after.
class StretchModeScope {
  public:
    explicit StretchModeScope(HDC dc) : dc_(dc), old_(::SetStretchBltMode(dc, COLORONCOLOR)) {}
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;
    ~StretchModeScope() {
        if (old_) ::SetStretchBltMode(dc_, old_);
    }

  private:
    HDC dc_;
    int old_;
};

// A 32-bit top-down DIB section that is never selected into a DC of ours
// (image lists select the bitmaps they are given).
BitmapHandle CreateDib32(int width, int height, std::uint32_t** bits);

// Decoded image: top-down 0x00RRGGBB pixels.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Parses a packed DIB (header at 0, colours, bits right after) or, with
// bitsOffset set, a DIB whose bits start at that offset of data. Throws
// EGraphicError for anything malformed or unsupported.
DecodedImage DecodeDib(std::span<const std::uint8_t> data, std::size_t headerOffset,
                       std::size_t bitsOffset, bool bitsOffsetGiven);

// Whole-file reads and writes; failures raise EGraphicError naming the file.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& fileName);
void WriteFileBytes(const std::wstring& fileName, std::span<const std::uint8_t> bytes);
