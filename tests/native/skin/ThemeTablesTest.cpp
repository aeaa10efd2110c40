#include "skin/SUIThemeTables.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

namespace {

constexpr std::array<TsuiUIStyle, 5> kBuiltIn{TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                                              TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein,
                                              TsuiUIStyle::BlueGlass};

// A row of the published table: the values of MacOS … BlueGlass.
struct ValueRow {
    int element;
    std::array<std::int32_t, 5> values;
};

// First, last and scattered rows of each kind, enough that a row or a
// column shifted by one while transcribing shows up.
constexpr std::array<ValueRow, 14> kValueRows{{
    {2, {1, 0, 0, 0, 1}},
    {6, {0, 0, 0, 1, 1}},
    {7, {3, 2, 0, 0, 4}},
    {8, {-2, -2, 0, 0, -3}},
    {9, {4, 5, 2, 2, 6}},
    {13, {130, 150, 130, 130, 270}},
    {14, {0, 13, 0, 0, 11}},
    {15, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {16, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}},
    {19, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {21, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {27, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
    {31, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {37, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
}};

struct NameRow {
    int element;
    std::array<const wchar_t*, 5> names;
};

constexpr std::array<NameRow, 6> kNameRows{{
    {1,
     {L"MACOS_BUTTON", L"WINXP_BUTTON", L"DEEPBLUE_BUTTON", L"PROTEIN_BUTTON",
      L"BLUEGLASS_BUTTON"}},
    {12,
     {L"MACOS_TITLE_RIGHT", L"WINXP_TITLE_RIGHT", L"DEEPBLUE_TITLE_RIGHT", L"PROTEIN_TITLE_RIGHT",
      L"BLUEGLASS_TITLE_RIGHT"}},
    {33,
     {L"MACOS_SCROLLBAR_TRACK", L"WINXP_SCROLLBAR_TRACK", L"DEEPBLUE_SCROLLBAR_TRACK",
      L"PROTEIN_SCROLLBAR_TRACK", L"BLUEGLASS_SCROLLBAR_TRACK"}},
    {38,
     {L"MACOS_SCROLLBUTTON", L"WINXP_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON",
      L"MORE_SCROLLBUTTON"}},
    {40,
     {L"MACOS_TAB_LINE", L"WINXP_TAB_LINE", L"DEEPBLUE_TAB_LINE", L"PROTEIN_TAB_LINE",
      L"BLUEGLASS_TAB_LINE"}},
    {42,
     {L"MACOS_SIDECHENNEL_BAR", L"WINXP_SIDECHENNEL_BAR", L"DEEPBLUE_SIDECHENNEL_BAR",
      L"PROTEIN_SIDECHENNEL_BAR", L"BLUEGLASS_SIDECHENNEL_BAR"}},
}};

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

} // namespace

TEST(BuiltInThemeTables, ValuesMatchThePublishedRowsForEveryStyle) {
    for (const ValueRow& row : kValueRows)
        for (std::size_t s = 0; s < kBuiltIn.size(); ++s) {
            const BuiltInThemeEntry e = GetBuiltInThemeEntry(kBuiltIn[s], row.element);
            EXPECT_EQ(e.value, row.values[s]) << "element " << row.element << " style " << s + 1;
            EXPECT_TRUE(e.resourceName.empty());
        }
    // The typed getters agree with the raw entries.
    EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::WinXP, ThemeElement::FormBorderColor), 0xC82C00u);
    EXPECT_EQ(GetBuiltInThemeInt(TsuiUIStyle::BlueGlass, ThemeElement::FormMinWidthInt), 270);
    EXPECT_EQ(
        GetBuiltInThemeInt(TsuiUIStyle::BlueGlass, ThemeElement::TitleBarButtonRightOffsetInt), -3);
    EXPECT_TRUE(GetBuiltInThemeBool(TsuiUIStyle::MacOS, ThemeElement::ButtonTransparentBool));
    EXPECT_FALSE(GetBuiltInThemeBool(TsuiUIStyle::WinXP, ThemeElement::ButtonTransparentBool));
    EXPECT_EQ(
        GetBuiltInThemeColor(TsuiUIStyle::Protein, ThemeElement::ToolBarButtonDownBackgroundColor),
        0xD8D8D8u);
}

TEST(BuiltInThemeTables, ImageEntriesNameTheirResources) {
    for (const NameRow& row : kNameRows)
        for (std::size_t s = 0; s < kBuiltIn.size(); ++s) {
            const BuiltInThemeEntry e = GetBuiltInThemeEntry(kBuiltIn[s], row.element);
            EXPECT_EQ(e.kind, ThemeValueKind::Image);
            EXPECT_EQ(e.resourceName, row.names[s]) << "element " << row.element;
            // Handed to the resource loader as a C string.
            EXPECT_EQ(e.resourceName.data()[e.resourceName.size()], L'\0');
        }
}

TEST(BuiltInThemeTables, EveryImageNameIsPrefixAndOneSuffixPerElement) {
    const std::array<std::wstring, 5> prefixes{L"MACOS_", L"WINXP_", L"DEEPBLUE_", L"PROTEIN_",
                                               L"BLUEGLASS_"};
    int images = 0;
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        if (ThemeElementKind(e) != ThemeValueKind::Image) continue;
        ++images;
        std::set<std::wstring> suffixes;
        for (std::size_t s = 0; s < kBuiltIn.size(); ++s) {
            const std::wstring name(GetBuiltInThemeEntry(kBuiltIn[s], e).resourceName);
            if (name == L"MORE_SCROLLBUTTON" && e == ThemeElement::ScrollButtonImage) continue;
            ASSERT_EQ(name.rfind(prefixes[s], 0), 0u) << "element " << e;
            suffixes.insert(name.substr(prefixes[s].size()));
        }
        EXPECT_EQ(suffixes.size(), 1u) << "element " << e;
    }
    EXPECT_EQ(images, 19);
}

TEST(BuiltInThemeTables, KeysAreDistinctAndTheirSuffixNamesTheKind) {
    std::set<std::string> keys;
    std::array<int, 4> perKind{};
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        const std::string_view key = ThemeElementKey(e);
        keys.insert(std::string(key));
        const ThemeValueKind kind = ThemeElementKind(e);
        ++perKind[static_cast<int>(kind)];
        switch (kind) {
        case ThemeValueKind::Image:
            EXPECT_TRUE(EndsWith(key, "Image")) << key;
            break;
        case ThemeValueKind::Boolean:
            EXPECT_TRUE(EndsWith(key, "Bool")) << key;
            break;
        case ThemeValueKind::Integer:
            EXPECT_TRUE(EndsWith(key, "Int")) << key;
            break;
        case ThemeValueKind::Color:
            EXPECT_TRUE(EndsWith(key, "Color")) << key;
            break;
        }
        EXPECT_EQ(ThemeElementFromKey(key), e);
        // Every style agrees with the shared kind table.
        for (TsuiUIStyle s : kBuiltIn)
            EXPECT_EQ(GetBuiltInThemeEntry(s, e).kind, kind);
    }
    EXPECT_EQ(keys.size(), 42u);
    EXPECT_EQ(perKind, (std::array<int, 4>{6, 15, 19, 2}));
    EXPECT_EQ(ThemeElementKey(1), "ButtonImage");
    EXPECT_EQ(ThemeElementKey(16), "FormBorderColor");
    EXPECT_EQ(ThemeElementKey(42), "SideChannelBarImage");
    EXPECT_EQ(ThemeElementFromKey("formbordercolor"), 16);
    EXPECT_EQ(ThemeElementFromKey("FormBorder"), 0);
}

TEST(BuiltInThemeTables, UnknownStyleOrElementGivesTheNeutralEntry) {
    for (std::uint8_t style : {0, 6, 7, 0x7F, 0x80, 0xFF})
        for (int element : {1, 15, 42}) {
            const BuiltInThemeEntry e = GetBuiltInThemeEntry(style, element);
            EXPECT_EQ(e.value, -1) << int(style);
            EXPECT_EQ(e.kind, ThemeValueKind::Integer);
            EXPECT_TRUE(e.resourceName.empty());
        }
    for (int element : {-1, 0, 43, 1000})
        for (TsuiUIStyle s : kBuiltIn) {
            EXPECT_EQ(GetBuiltInThemeEntry(s, element).value, -1);
            EXPECT_EQ(GetBuiltInThemeColor(s, element), 0u);
            EXPECT_EQ(GetBuiltInThemeInt(s, element), -1);
            EXPECT_FALSE(GetBuiltInThemeBool(s, element));
            EXPECT_FALSE(GetBuiltInThemeBitmapRequest(s, element));
        }
    EXPECT_TRUE(ThemeElementKey(0).empty());
    EXPECT_TRUE(ThemeElementKey(43).empty());
    // FromThemeFile reaching the table reads as nothing, never as DeepBlue.
    EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::FromThemeFile, ThemeElement::FormBorderColor), 0u);
    EXPECT_EQ(GetBuiltInThemeInt(TsuiUIStyle::FromThemeFile, ThemeElement::FormBorderWidthInt), -1);
}

TEST(BuiltInThemeTables, OnlyTheLowSevenBitsOfTheStyleCount) {
    EXPECT_EQ(GetBuiltInThemeEntry(std::uint8_t{0x85}, 13).value, 270);
    EXPECT_EQ(GetBuiltInThemeEntry(std::uint8_t{0x82}, 16).value, 0xC82C00);
    EXPECT_EQ(GetBuiltInThemeEntry(std::uint8_t{0x81}, 1).resourceName, L"MACOS_BUTTON");
}

TEST(BuiltInThemeTables, TypedGettersRefuseOtherKinds) {
    const auto s = TsuiUIStyle::WinXP;
    EXPECT_EQ(GetBuiltInThemeInt(s, ThemeElement::FormBorderColor), -1);
    EXPECT_EQ(GetBuiltInThemeColor(s, ThemeElement::FormBorderWidthInt), 0u);
    EXPECT_FALSE(GetBuiltInThemeBool(s, ThemeElement::FormBorderWidthInt));
    EXPECT_EQ(GetBuiltInThemeInt(s, ThemeElement::ButtonTransparentBool), -1);
    EXPECT_EQ(GetBuiltInThemeColor(s, ThemeElement::ButtonImage), 0u);
    EXPECT_EQ(GetBuiltInThemeInt(s, ThemeElement::ButtonImage), -1);
    EXPECT_FALSE(GetBuiltInThemeBitmapRequest(s, ThemeElement::FormBackgroundColor));
    EXPECT_FALSE(GetBuiltInThemeBitmapRequest(s, ThemeElement::ButtonTransparentBool));
}

TEST(BuiltInThemeBitmaps, RequestCarriesNameAndFrame) {
    auto whole =
        GetBuiltInThemeBitmapRequest(TsuiUIStyle::BlueGlass, ThemeElement::TitleBarLeftImage);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->resourceName, L"BLUEGLASS_TITLE_LEFT");
    EXPECT_TRUE(whole->Whole());

    auto frame =
        GetBuiltInThemeBitmapRequest(TsuiUIStyle::Protein, ThemeElement::ButtonImage, 2, 3);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->resourceName, L"PROTEIN_BUTTON");
    EXPECT_FALSE(frame->Whole());
    EXPECT_EQ(frame->index, 2);
    EXPECT_EQ(frame->count, 3);

    EXPECT_TRUE(GetBuiltInThemeBitmapRequest(TsuiUIStyle::MacOS, 1, 5, -1)->Whole());
    EXPECT_FALSE(GetBuiltInThemeBitmapRequest(TsuiUIStyle::FromThemeFile, 1, 1, 3));
}

TEST(BuiltInThemeBitmaps, FramedArtworkSplitsIntoWholeFrames) {
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        const bool image = ThemeElementKind(e) == ThemeValueKind::Image;
        for (TsuiUIStyle s : kBuiltIn) {
            const auto size = BuiltInThemeBitmapSize(s, e);
            ASSERT_EQ(size.has_value(), image) << "element " << e;
            if (!image) continue;
            EXPECT_GT(size->width, 0);
            EXPECT_GT(size->height, 0);
            if (const int frames = ThemeElementFrameCount(e)) {
                EXPECT_EQ(size->width % frames, 0) << "element " << e;
            }
        }
    }
    EXPECT_EQ(ThemeElementFrameCount(ThemeElement::TitleBarButtonImage), 18);
    EXPECT_EQ(ThemeElementFrameCount(ThemeElement::ScrollBarButtonImage), 6);
    EXPECT_EQ(ThemeElementFrameCount(ThemeElement::TitleBarLeftImage), 0);
    EXPECT_EQ(ThemeElementFrameCount(ThemeElement::FormBorderColor), 0);
    // Spot checks at both ends and across the columns.
    using Sz = ThemeBitmapSize;
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::BlueGlass, 1), (Sz{231, 27}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::MacOS, 5), (Sz{306, 17}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::Protein, 10), (Sz{441, 23}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::Protein, 11), (Sz{1, 23}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::BlueGlass, 32), (Sz{102, 16}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::DeepBlue, 38), (Sz{72, 17}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::WinXP, 40), (Sz{8, 1}));
    EXPECT_EQ(BuiltInThemeBitmapSize(TsuiUIStyle::DeepBlue, 42), (Sz{1, 20}));
    EXPECT_FALSE(BuiltInThemeBitmapSize(TsuiUIStyle::FromThemeFile, 1));

    ASSERT_EQ(FixedThemeBitmaps().size(), 9u);
    EXPECT_EQ(FixedThemeBitmaps().back().resourceName, L"MSGDLG");
    EXPECT_EQ(FixedThemeBitmaps().back().size, (Sz{168, 42}));
}

TEST(ThemeSource, FromThemeFileNeedsALoadedThemeElseDeepBlue) {
    TsuiUIStyle effective = TsuiUIStyle::MacOS;
    EXPECT_TRUE(ChooseThemeSource(true, TsuiUIStyle::FromThemeFile, effective));
    EXPECT_EQ(effective, TsuiUIStyle::FromThemeFile);

    EXPECT_FALSE(ChooseThemeSource(false, TsuiUIStyle::FromThemeFile, effective));
    EXPECT_EQ(effective, TsuiUIStyle::DeepBlue);

    // A built-in style ignores any file theme.
    for (TsuiUIStyle s : kBuiltIn)
        for (bool loaded : {false, true}) {
            EXPECT_FALSE(ChooseThemeSource(loaded, s, effective));
            EXPECT_EQ(effective, s);
        }
}

TEST(ThemeSource, StyleNamesRoundTrip) {
    for (int v = 0; v <= 5; ++v) {
        const auto style = static_cast<TsuiUIStyle>(v);
        EXPECT_EQ(TsuiUIStyleFromName(TsuiUIStyleName(style)), style);
    }
    EXPECT_EQ(TsuiUIStyleName(TsuiUIStyle::BlueGlass), L"BlueGlass");
    EXPECT_EQ(TsuiUIStyleFromName(L"blueglass"), TsuiUIStyle::BlueGlass);
    EXPECT_FALSE(TsuiUIStyleFromName(L"Blue"));
    EXPECT_TRUE(TsuiUIStyleName(static_cast<TsuiUIStyle>(6)).empty());
}
