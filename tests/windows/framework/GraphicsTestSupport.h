#pragma once

// Helpers of the graphics tests.

#include "framework/Graphics.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// A canvas on a DC we made ourselves, with the pixels readable.
class ForeignSurface {
  public:
    ForeignSurface(int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bmp_ = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(p);
        dc_ = ::CreateCompatibleDC(nullptr);
        old_ = ::SelectObject(dc_, bmp_);
    }
    ForeignSurface(const ForeignSurface&) = delete;
    ForeignSurface& operator=(const ForeignSurface&) = delete;
    ~ForeignSurface() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
        ::DeleteObject(bmp_);
    }
    HDC DC() const { return dc_; }
    TColor At(int x, int y) const {
        ::GdiFlush();
        std::uint32_t p = bits_[y * w_ + x];
        return RGBToColor(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
    }

    // Every pixel in colour c, as filling the whole surface would leave it.
    void Fill(TColor c) {
        ::GdiFlush();
        std::fill(bits_, bits_ + w_ * h_, GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }

    // How many pixels of r have colour c, or are within slack of it in every channel.
    int Count(TColor c, const RECT& r, int slack = 0) const {
        auto within = [slack](int a, int b) { return std::abs(a - b) <= slack; };
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const TColor p = At(x, y);
                n += within(GetRValue(p), GetRValue(c)) && within(GetGValue(p), GetGValue(c)) &&
                     within(GetBValue(p), GetBValue(c));
            }
        return n;
    }

  private:
    int w_, h_;
    HBITMAP bmp_;
    std::uint32_t* bits_ = nullptr;
    HDC dc_;
    HGDIOBJ old_;
};
