// The artwork as the skin will meet it: bitmap and icon resources of the
// executable, loaded by name.
#include "../../native/artgen/ExpectedArtwork.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Wide(const char* s) {
    return std::wstring(s, s + std::char_traits<char>::length(s));
}

HBITMAP Load(const char* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), Wide(name).c_str(),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Colour of one pixel as 0xRRGGBB, read through a memory DC.
std::uint32_t PixelOf(HBITMAP bmp, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST(ArtworkResources, EveryBitmapLoadsByNameAtItsSize) {
    for (const auto& e : expected_artwork::kBitmaps) {
        HBITMAP bmp = Load(e.name);
        ASSERT_NE(nullptr, bmp) << e.name << " is missing";
        BITMAP info{};
        ASSERT_EQ(static_cast<int>(sizeof info), GetObjectW(bmp, sizeof info, &info)) << e.name;
        EXPECT_EQ(e.width, info.bmWidth) << e.name;
        EXPECT_EQ(e.height, info.bmHeight) << e.name;
        EXPECT_EQ(24, info.bmBitsPixel) << e.name;
        DeleteObject(bmp);
    }
}

TEST(ArtworkResources, RowsKeepTheirOrderThroughTheResourceCompiler) {
    // The BlueGlass title bar is dark at the bottom edge and light just under
    // the top one; upside-down rows would swap them.
    HBITMAP bar = Load("BLUEGLASS_TITLE_CLIENT");
    ASSERT_NE(nullptr, bar);
    auto luma = [](std::uint32_t v) {
        return ((v >> 16) & 0xFF) * 3 + ((v >> 8) & 0xFF) * 6 + (v & 0xFF);
    };
    EXPECT_GT(luma(PixelOf(bar, 5, 1)), luma(PixelOf(bar, 5, 32)));
    DeleteObject(bar);
    // Masked corners come through as the exact key colour.
    HBITMAP button = Load("BLUEGLASS_BUTTON");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(0xFF00FFu, PixelOf(button, 0, 0));
    EXPECT_EQ(0xFF00FFu, PixelOf(button, 0, 26));
    EXPECT_NE(0xFF00FFu, PixelOf(button, 38, 13));
    DeleteObject(button);
}

TEST(ArtworkResources, MainIconLoadsAtEachSizeItCarries) {
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        BITMAP info{};
        GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof info, &info);
        EXPECT_EQ(size, info.bmWidth);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_NE(nullptr, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
}

TEST(ArtworkResources, AMissingNameFailsToLoad) {
    EXPECT_EQ(nullptr, Load("BLUEGLASS_SIDECHANNEL_HANDLE")) << "the spelling is SIDECHENNEL";
}

} // namespace
