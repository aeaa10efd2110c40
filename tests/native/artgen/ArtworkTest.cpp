// The generated bitmaps: names, sizes, frames, the key colour, and the rows
// and columns the skin stretches or joins.
#include "ExpectedArtwork.h"
#include "tools/artgen/Artwork.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

using artgen::Art;
using artgen::Bitmap;
constexpr std::uint32_t kKey = 0xFF00FF;

const std::vector<Art>& All() {
    static const std::vector<Art> art = artgen::BuildArtwork();
    return art;
}

const Art& Get(const std::string& name) {
    for (const Art& a : All())
        if (a.name == name) return a;
    throw std::runtime_error("missing " + name);
}

bool HasKey(const Bitmap& b) {
    for (std::uint32_t v : b.pixels)
        if (v == kKey) return true;
    return false;
}

const char* kStyles[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};

TEST(ArtworkCatalogue, EveryResourceHasItsNameSizeAndFrames) {
    std::map<std::string, const Art*> byName;
    for (const Art& a : All()) {
        EXPECT_TRUE(byName.emplace(a.name, &a).second) << "duplicate " << a.name;
        EXPECT_EQ(a.bitmap.pixels.size(),
                  static_cast<std::size_t>(a.bitmap.width) * a.bitmap.height);
    }
    for (const auto& e : expected_artwork::kBitmaps) {
        auto it = byName.find(e.name);
        ASSERT_NE(it, byName.end()) << "missing " << e.name;
        const Art& a = *it->second;
        EXPECT_EQ(e.width, a.bitmap.width) << e.name;
        EXPECT_EQ(e.height, a.bitmap.height) << e.name;
        EXPECT_EQ(e.frames, a.frames) << e.name;
        EXPECT_EQ(0, a.bitmap.width % a.frames) << e.name << ": frames of unequal width";
        byName.erase(it);
    }
    for (const auto& [name, art] : byName)
        ADD_FAILURE() << "not a resource the skin loads: " << name;
}

TEST(ArtworkTitleBars, PiecesJoinWithoutASeamInEveryStyle) {
    for (const char* s : kStyles) {
        const std::string p = s;
        const Bitmap& left = Get(p + "_TITLE_LEFT").bitmap;
        const Bitmap& client = Get(p + "_TITLE_CLIENT").bitmap;
        const Bitmap& right = Get(p + "_TITLE_RIGHT").bitmap;
        ASSERT_EQ(left.height, client.height) << s;
        ASSERT_EQ(right.height, client.height) << s;
        for (int y = 0; y < client.height; ++y) {
            // The client piece is stretched to any width, so all its columns
            // must agree, and with the columns either side of it.
            for (int x = 1; x < client.width; ++x)
                ASSERT_EQ(client.At(0, y), client.At(x, y)) << s << " client column " << x;
            EXPECT_EQ(left.At(left.width - 1, y), client.At(0, y)) << s << " left joint, row " << y;
            EXPECT_EQ(right.At(0, y), client.At(0, y)) << s << " right joint, row " << y;
        }
    }
}

TEST(ArtworkTitleBars, BlueGlassBarIsDarkEnoughForAWhiteCaption) {
    // The caption is drawn white at rows 6 to 24; check the mean luminance there.
    const Bitmap& client = Get("BLUEGLASS_TITLE_CLIENT").bitmap;
    double sum = 0;
    for (int y = 6; y < 25; ++y) {
        std::uint32_t v = client.At(0, y);
        sum += 0.299 * ((v >> 16) & 0xFF) + 0.587 * ((v >> 8) & 0xFF) + 0.114 * (v & 0xFF);
    }
    EXPECT_LT(sum / 19, 150.0);
}

TEST(ArtworkTitleButtons, FramesAreDistinctAndTransparencyFollowsTheStyle) {
    // Protein and BlueGlass draw their title buttons masked by the bottom-left
    // pixel; the others are opaque and must not carry the key at all.
    for (const char* s : kStyles) {
        const Art& a = Get(std::string(s) + "_TITLEBTN");
        const bool masked = std::string(s) == "PROTEIN" || std::string(s) == "BLUEGLASS";
        std::set<std::vector<std::uint32_t>> seen;
        for (int f = 0; f < 18; ++f) {
            Bitmap b = artgen::Frame(a, f);
            EXPECT_TRUE(seen.insert(b.pixels).second) << s << " frame " << f + 1 << " repeats";
            if (masked)
                EXPECT_EQ(kKey, b.At(0, b.height - 1)) << s << " frame " << f + 1;
            else
                EXPECT_FALSE(HasKey(b)) << s << " frame " << f + 1;
        }
    }
}

TEST(ArtworkNinePart, ButtonStretchRowsAndColumnsAreUniform) {
    // DrawNinePart stretches source columns W/2 .. W-W/2 and rows H/2 .. H-H/2.
    for (const char* s : kStyles) {
        const Art& a = Get(std::string(s) + "_BUTTON");
        for (int f = 0; f < 3; ++f) {
            Bitmap b = artgen::Frame(a, f);
            const int cx = b.width / 2, cy = b.height / 2;
            for (int y = 0; y < b.height; ++y)
                for (int x = cx - 1; x <= b.width - cx; ++x)
                    ASSERT_EQ(b.At(cx, y), b.At(x, y))
                        << s << " frame " << f + 1 << " column " << x;
            for (int x = 0; x < b.width; ++x)
                for (int y = cy; y <= b.height - cy; ++y)
                    ASSERT_EQ(b.At(x, cy), b.At(x, y)) << s << " frame " << f + 1 << " row " << y;
        }
    }
}

TEST(ArtworkNinePart, ButtonCornersAreKeyedOnlyWhereTheStyleMasksThem) {
    // Corners are masked for MacOS and BlueGlass; the other styles draw them
    // opaque, and strips are always masked, so they must hold no key at all.
    for (const char* s : kStyles) {
        const Art& a = Get(std::string(s) + "_BUTTON");
        const bool masked = std::string(s) == "MACOS" || std::string(s) == "BLUEGLASS";
        for (int f = 0; f < 3; ++f) {
            Bitmap b = artgen::Frame(a, f);
            if (masked) {
                for (auto [x, y] : {std::pair{0, 0},
                                    {b.width - 1, 0},
                                    {0, b.height - 1},
                                    {b.width - 1, b.height - 1}})
                    EXPECT_EQ(kKey, b.At(x, y)) << s << " corner " << x << "," << y;
                // Nothing keyed inside the face.
                EXPECT_NE(kKey, b.At(b.width / 2, b.height / 2));
                EXPECT_NE(kKey, b.At(b.width / 2, 0)) << s << " top edge";
            } else {
                EXPECT_FALSE(HasKey(b)) << s << " frame " << f + 1;
            }
        }
    }
}

TEST(ArtworkKeyColour, NoPixelIsAlmostButNotQuiteMagenta) {
    // A near miss would show as a pink speck where the skin masks.
    for (const Art& a : All())
        for (std::uint32_t v : a.bitmap.pixels) {
            if (v == kKey) continue;
            int r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            bool pinkish = r > 0xC0 && b > 0xC0 && g < 0x40;
            ASSERT_FALSE(pinkish) << a.name << " has 0x" << std::hex << v;
        }
}

TEST(ArtworkKeyColour, MaskedPicturesCarryTheKeyWhereTheSkinLooksForIt) {
    for (const char* s : kStyles) {
        const std::string p = s;
        // Radio buttons: transparent by their bottom-left pixel.
        const Art& radio = Get(p + "_RADIOBUTTON");
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(kKey, artgen::Frame(radio, f).At(0, radio.bitmap.height - 1)) << p;
        // Check boxes are drawn opaque.
        EXPECT_FALSE(HasKey(Get(p + "_CHECKBOX").bitmap)) << p;
        // Tabs: key taken from pixel (0, 0).
        const Art& tab = Get(p + "_TAB");
        for (int f = 0; f < 2; ++f)
            EXPECT_EQ(kKey, artgen::Frame(tab, f).At(0, 0)) << p << " tab " << f + 1;
        // Scroll-bar arrow buttons: key from pixel (0, 0).
        const Art& arrows = Get(p + "_SCROLLBAR_BUTTON");
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(kKey, artgen::Frame(arrows, f).At(0, 0)) << p << " arrow " << f + 1;
    }
    for (const char* name : {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON"}) {
        const Art& a = Get(name);
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(kKey, artgen::Frame(a, f).At(0, a.bitmap.height - 1)) << name;
    }
    for (const char* name : {"TB_JS", "TB_CD", "TB_DC", "TB_GY"}) {
        const Bitmap& b = Get(name).bitmap;
        EXPECT_EQ(kKey, b.At(0, 0)) << name;
        EXPECT_EQ(kKey, b.At(31, 31)) << name;
        int drawn = 0;
        for (std::uint32_t v : b.pixels)
            drawn += v != kKey;
        EXPECT_GT(drawn, 300) << name << " is nearly empty";
    }
    EXPECT_EQ(kKey, Get("STATUSBAR_HANDLE").bitmap.At(0, 10));
    EXPECT_FALSE(HasKey(Get("MSGDLG").bitmap));
}

TEST(ArtworkKeyColour, MenuCheckMarkSitsOnWhite) {
    // The menus mask MENU_CHECKED with white, not with the key.
    const Bitmap& b = Get("MENU_CHECKED").bitmap;
    EXPECT_EQ(0xFFFFFFu, b.At(0, 0));
    EXPECT_EQ(0xFFFFFFu, b.At(15, 15));
    int dark = 0;
    for (std::uint32_t v : b.pixels)
        dark += ((v >> 16) & 0xFF) < 0x60;
    EXPECT_GT(dark, 12);
    EXPECT_FALSE(HasKey(b));
}

TEST(ArtworkThreePart, StretchedMiddlesAreUniform) {
    // Tabs: the middle third of each frame is stretched across the tab.
    for (const char* s : kStyles) {
        const Art& tab = Get(std::string(s) + "_TAB");
        for (int f = 0; f < 2; ++f) {
            Bitmap b = artgen::Frame(tab, f);
            const int p = b.width / 3;
            for (int y = 0; y < b.height; ++y)
                for (int x = p; x < 2 * p; ++x)
                    ASSERT_EQ(b.At(p, y), b.At(x, y)) << s << " tab " << f + 1;
        }
        // The scroll thumb's middle piece is stretched along the bar.
        Bitmap mid = artgen::Frame(Get(std::string(s) + "_SCROLLBAR_TRACK"), 1);
        for (int y = 0; y < mid.height; ++y)
            for (int x = 1; x < mid.width; ++x)
                ASSERT_EQ(mid.At(0, y), mid.At(x, y)) << s << " thumb middle";
    }
}

TEST(ArtworkStates, CheckAndRadioStatesDifferFromEachOther) {
    for (const char* s : kStyles)
        for (const char* kind : {"_CHECKBOX", "_RADIOBUTTON", "_CHECKLIST"}) {
            const Art& a = Get(std::string(s) + kind);
            std::set<std::vector<std::uint32_t>> seen;
            for (int f = 0; f < 4; ++f)
                EXPECT_TRUE(seen.insert(artgen::Frame(a, f).pixels).second)
                    << s << kind << " " << f + 1;
        }
}

TEST(ArtworkIcon, HasThreeSizesWithTransparentCorners) {
    auto icons = artgen::BuildMainIcon();
    ASSERT_EQ(3u, icons.size());
    int sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        const auto& img = icons[i];
        EXPECT_EQ(sizes[i], img.size);
        ASSERT_EQ(static_cast<std::size_t>(img.size * img.size), img.argb.size());
        EXPECT_EQ(0u, img.argb[0] >> 24) << "top-left corner should be clear";
        EXPECT_EQ(255u, img.argb[(img.size / 2) * img.size + img.size / 2] >> 24)
            << "centre is opaque";
    }
}

} // namespace
