#include "skin/SUIThemeTables.h"

#include <array>

namespace {

constexpr int kStyles = 5; // MacOS … BlueGlass, styles 1 … 5

struct Row {
    std::string_view key;
    ThemeValueKind kind;
    std::array<std::int32_t, kStyles> values;
    std::array<const wchar_t*, kStyles> names; // image rows only
};

constexpr Row Img(std::string_view key, const wchar_t* macos, const wchar_t* winxp,
                  const wchar_t* deepblue, const wchar_t* protein, const wchar_t* blueglass) {
    return {
        key, ThemeValueKind::Image, {0, 0, 0, 0, 0}, {macos, winxp, deepblue, protein, blueglass}};
}

constexpr Row Val(std::string_view key, ThemeValueKind kind, std::int32_t macos, std::int32_t winxp,
                  std::int32_t deepblue, std::int32_t protein, std::int32_t blueglass) {
    return {key, kind, {macos, winxp, deepblue, protein, blueglass}, {}};
}

constexpr auto I = ThemeValueKind::Integer;
constexpr auto C = ThemeValueKind::Color;
constexpr auto B = ThemeValueKind::Boolean;

// Index = element number - 1. Columns: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
// clang-format off
constexpr std::array<Row, ThemeElement::Count> kRows{{
    Img("ButtonImage", L"MACOS_BUTTON", L"WINXP_BUTTON", L"DEEPBLUE_BUTTON", L"PROTEIN_BUTTON", L"BLUEGLASS_BUTTON"),
    Val("ButtonTransparentBool", B, 1, 0, 0, 0, 1),
    Img("CheckBoxImage", L"MACOS_CHECKBOX", L"WINXP_CHECKBOX", L"DEEPBLUE_CHECKBOX", L"PROTEIN_CHECKBOX", L"BLUEGLASS_CHECKBOX"),
    Img("RadioButtonImage", L"MACOS_RADIOBUTTON", L"WINXP_RADIOBUTTON", L"DEEPBLUE_RADIOBUTTON", L"PROTEIN_RADIOBUTTON", L"BLUEGLASS_RADIOBUTTON"),
    Img("TitleBarButtonImage", L"MACOS_TITLEBTN", L"WINXP_TITLEBTN", L"DEEPBLUE_TITLEBTN", L"PROTEIN_TITLEBTN", L"BLUEGLASS_TITLEBTN"),
    Val("TitleBarButtonTransparentBool", B, 0, 0, 0, 1, 1),
    Val("TitleBarButtonLeftOffsetInt", I, 3, 2, 0, 0, 4),
    Val("TitleBarButtonRightOffsetInt", I, -2, -2, 0, 0, -3),
    Val("TitleBarButtonTopInt", I, 4, 5, 2, 2, 6),
    Img("TitleBarLeftImage", L"MACOS_TITLE_LEFT", L"WINXP_TITLE_LEFT", L"DEEPBLUE_TITLE_LEFT", L"PROTEIN_TITLE_LEFT", L"BLUEGLASS_TITLE_LEFT"),
    Img("TitleBarClientImage", L"MACOS_TITLE_CLIENT", L"WINXP_TITLE_CLIENT", L"DEEPBLUE_TITLE_CLIENT", L"PROTEIN_TITLE_CLIENT", L"BLUEGLASS_TITLE_CLIENT"),
    Img("TitleBarRightImage", L"MACOS_TITLE_RIGHT", L"WINXP_TITLE_RIGHT", L"DEEPBLUE_TITLE_RIGHT", L"PROTEIN_TITLE_RIGHT", L"BLUEGLASS_TITLE_RIGHT"),
    Val("FormMinWidthInt", I, 130, 150, 130, 130, 270),
    Val("FormRoundCornerInt", I, 0, 13, 0, 0, 11),
    Val("FormBackgroundColor", C, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    Val("FormBorderColor", C, 0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000),
    Val("FormBorderWidthInt", I, 1, 3, 1, 1, 1),
    Val("MenuSelectedBorderColor", C, 0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E),
    Val("MenuSelectedBackgroundColor", C, 0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E),
    Val("MenuSelectedFontColor", C, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
    Val("MenuBackgroundColor", C, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7),
    Val("MenuFontColor", C, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000),
    Val("MenuBarColor", C, 0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6),
    Img("ProgressBarImage", L"MACOS_PROGRESSBAR", L"WINXP_PROGRESSBAR", L"DEEPBLUE_PROGRESSBAR", L"PROTEIN_PROGRESSBAR", L"BLUEGLASS_PROGRESSBAR"),
    Val("ControlBorderColor", C, 0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000),
    Val("ControlBackgroundColor", C, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    Val("ControlFontColor", C, 0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000),
    Img("TrackBarBarImage", L"MACOS_TRACKBAR_BAR", L"WINXP_TRACKBAR_BAR", L"DEEPBLUE_TRACKBAR_BAR", L"PROTEIN_TRACKBAR_BAR", L"BLUEGLASS_TRACKBAR_BAR"),
    Img("TrackBarSliderImage", L"MACOS_TRACKBAR_SLIDER", L"WINXP_TRACKBAR_SLIDER", L"DEEPBLUE_TRACKBAR_SLIDER", L"PROTEIN_TRACKBAR_SLIDER", L"BLUEGLASS_TRACKBAR_SLIDER"),
    Img("TrackBarSliderVImage", L"MACOS_TRACKBAR_SLIDER_V", L"WINXP_TRACKBAR_SLIDER_V", L"DEEPBLUE_TRACKBAR_SLIDER_V", L"PROTEIN_TRACKBAR_SLIDER_V", L"BLUEGLASS_TRACKBAR_SLIDER_V"),
    Val("ScrollBarBackgroundColor", C, 0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4),
    Img("ScrollBarButtonImage", L"MACOS_SCROLLBAR_BUTTON", L"WINXP_SCROLLBAR_BUTTON", L"DEEPBLUE_SCROLLBAR_BUTTON", L"PROTEIN_SCROLLBAR_BUTTON", L"BLUEGLASS_SCROLLBAR_BUTTON"),
    Img("ScrollBarSliderImage", L"MACOS_SCROLLBAR_TRACK", L"WINXP_SCROLLBAR_TRACK", L"DEEPBLUE_SCROLLBAR_TRACK", L"PROTEIN_SCROLLBAR_TRACK", L"BLUEGLASS_SCROLLBAR_TRACK"),
    Img("CheckListBoxImage", L"MACOS_CHECKLIST", L"WINXP_CHECKLIST", L"DEEPBLUE_CHECKLIST", L"PROTEIN_CHECKLIST", L"BLUEGLASS_CHECKLIST"),
    Val("ToolBarButtonBorderColor", C, 0x474747, 0xC66931, 0x474747, 0x474747, 0x474747),
    Val("ToolBarButtonBackgroundColor", C, 0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF),
    Val("ToolBarButtonDownBackgroundColor", C, 0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8),
    // The last three styles share one set of scroll buttons.
    Img("ScrollButtonImage", L"MACOS_SCROLLBUTTON", L"WINXP_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON"),
    Img("TabControlTabImage", L"MACOS_TAB", L"WINXP_TAB", L"DEEPBLUE_TAB", L"PROTEIN_TAB", L"BLUEGLASS_TAB"),
    Img("TabControlBarImage", L"MACOS_TAB_LINE", L"WINXP_TAB_LINE", L"DEEPBLUE_TAB_LINE", L"PROTEIN_TAB_LINE", L"BLUEGLASS_TAB_LINE"),
    // "SIDECHENNEL" is how the resources are spelled.
    Img("SideChannelHandleImage", L"MACOS_SIDECHENNEL_HANDLE", L"WINXP_SIDECHENNEL_HANDLE", L"DEEPBLUE_SIDECHENNEL_HANDLE", L"PROTEIN_SIDECHENNEL_HANDLE", L"BLUEGLASS_SIDECHENNEL_HANDLE"),
    Img("SideChannelBarImage", L"MACOS_SIDECHENNEL_BAR", L"WINXP_SIDECHENNEL_BAR", L"DEEPBLUE_SIDECHENNEL_BAR", L"PROTEIN_SIDECHENNEL_BAR", L"BLUEGLASS_SIDECHENNEL_BAR"),
}};

struct SizeRow {
    int element;
    int frames; // equal-width frames the engine cuts; 0 = whole or unused
    std::array<ThemeBitmapSize, kStyles> sizes;
};

constexpr std::array<SizeRow, 19> kSizes{{
    {ThemeElement::ButtonImage, 3, {{{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}}},
    {ThemeElement::CheckBoxImage, 4, {{{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}},
    {ThemeElement::RadioButtonImage, 4, {{{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}},
    {ThemeElement::TitleBarButtonImage, 18, {{{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}}},
    {ThemeElement::TitleBarLeftImage, 0, {{{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}}},
    {ThemeElement::TitleBarClientImage, 0, {{{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}}},
    {ThemeElement::TitleBarRightImage, 0, {{{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}}},
    {ThemeElement::ProgressBarImage, 0, {{{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}}},
    {ThemeElement::TrackBarBarImage, 0, {{{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}}},
    {ThemeElement::TrackBarSliderImage, 0, {{{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}}},
    {ThemeElement::TrackBarSliderVImage, 0, {{{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}}},
    {ThemeElement::ScrollBarButtonImage, 6, {{{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}}},
    {ThemeElement::ScrollBarSliderImage, 3, {{{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}}},
    {ThemeElement::CheckListBoxImage, 0, {{{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}}},
    {ThemeElement::ScrollButtonImage, 4, {{{72, 18}, {72, 18}, {72, 17}, {72, 17}, {72, 17}}}},
    {ThemeElement::TabControlTabImage, 2, {{{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}}},
    {ThemeElement::TabControlBarImage, 0, {{{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}}},
    {ThemeElement::SideChannelHandleImage, 0, {{{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}}},
    {ThemeElement::SideChannelBarImage, 0, {{{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}}},
}};

constexpr std::array<FixedBitmap, 9> kFixedBitmaps{{
    {L"MACOS_MENU_BAR", {1, 22}},
    {L"MACOS_MENU_SELECT", {1, 21}},
    {L"MACOS_FORM_BACKGROUND", {8, 8}},
    {L"PROTEIN_FORM_BACKGROUND", {8, 8}},
    {L"MACOS_COMBOBOX_BUTTON", {16, 17}},
    {L"WINXP_COMBOBOX_BUTTON", {16, 18}},
    {L"MENU_CHECKED", {16, 16}},
    {L"STATUSBAR_HANDLE", {11, 11}},
    {L"MSGDLG", {168, 42}},
}};
// clang-format on

constexpr std::array<std::wstring_view, 6> kStyleNames{L"FromThemeFile", L"MacOS",   L"WinXP",
                                                       L"DeepBlue",      L"Protein", L"BlueGlass"};

template <class Char> constexpr Char FoldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? Char(c - Char('A') + Char('a')) : c;
}

template <class Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// Column of a built-in style (0 … 4), or -1.
int StyleColumn(std::uint8_t style) {
    const int s = style & 0x7F;
    return (s >= 1 && s <= kStyles) ? s - 1 : -1;
}

const SizeRow* FindSizeRow(int element) {
    for (const SizeRow& row : kSizes)
        if (row.element == element) return &row;
    return nullptr;
}

} // namespace

std::wstring_view TsuiUIStyleName(TsuiUIStyle style) {
    const auto v = static_cast<std::size_t>(style);
    return v < kStyleNames.size() ? kStyleNames[v] : std::wstring_view{};
}

std::optional<TsuiUIStyle> TsuiUIStyleFromName(std::wstring_view name) {
    for (std::size_t i = 0; i < kStyleNames.size(); ++i)
        if (EqualsIgnoringAsciiCase(name, kStyleNames[i])) return static_cast<TsuiUIStyle>(i);
    return std::nullopt;
}

std::string_view ThemeElementKey(int element) {
    return ThemeElement::IsValid(element) ? kRows[element - 1].key : std::string_view{};
}

int ThemeElementFromKey(std::string_view key) {
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e)
        if (EqualsIgnoringAsciiCase(key, kRows[e - 1].key)) return e;
    return 0;
}

ThemeValueKind ThemeElementKind(int element) {
    return ThemeElement::IsValid(element) ? kRows[element - 1].kind : ThemeValueKind::Integer;
}

BuiltInThemeEntry GetBuiltInThemeEntry(std::uint8_t style, int element) {
    const int column = StyleColumn(style);
    if (column < 0 || !ThemeElement::IsValid(element)) return {};
    const Row& row = kRows[element - 1];
    BuiltInThemeEntry entry;
    entry.value = row.values[column];
    entry.kind = row.kind;
    if (row.kind == ThemeValueKind::Image) entry.resourceName = row.names[column];
    return entry;
}

BuiltInThemeEntry GetBuiltInThemeEntry(TsuiUIStyle style, int element) {
    return GetBuiltInThemeEntry(static_cast<std::uint8_t>(style), element);
}

ThemeColor GetBuiltInThemeColor(TsuiUIStyle style, int element) {
    const BuiltInThemeEntry e = GetBuiltInThemeEntry(style, element);
    return e.kind == ThemeValueKind::Color ? static_cast<ThemeColor>(e.value) : 0;
}

bool GetBuiltInThemeBool(TsuiUIStyle style, int element) {
    const BuiltInThemeEntry e = GetBuiltInThemeEntry(style, element);
    return e.kind == ThemeValueKind::Boolean && e.value != 0;
}

std::int32_t GetBuiltInThemeInt(TsuiUIStyle style, int element) {
    const BuiltInThemeEntry e = GetBuiltInThemeEntry(style, element);
    return e.kind == ThemeValueKind::Integer ? e.value : -1;
}

std::optional<BuiltInBitmapRequest> GetBuiltInThemeBitmapRequest(TsuiUIStyle style, int element,
                                                                 int index, int count) {
    const BuiltInThemeEntry e = GetBuiltInThemeEntry(style, element);
    if (e.kind != ThemeValueKind::Image) return std::nullopt;
    BuiltInBitmapRequest request;
    request.resourceName = e.resourceName;
    // A negative count cannot describe frames; it loads the whole bitmap.
    request.count = count > 0 ? count : 0;
    request.index = request.count > 0 ? index : 0;
    return request;
}

int ThemeElementFrameCount(int element) {
    const SizeRow* row = FindSizeRow(element);
    return row ? row->frames : 0;
}

std::optional<ThemeBitmapSize> BuiltInThemeBitmapSize(TsuiUIStyle style, int element) {
    const int column = StyleColumn(static_cast<std::uint8_t>(style));
    const SizeRow* row = FindSizeRow(element);
    if (column < 0 || !row) return std::nullopt;
    return row->sizes[column];
}

std::span<const FixedBitmap> FixedThemeBitmaps() {
    return kFixedBitmaps;
}

bool ChooseThemeSource(bool fileThemeLoaded, TsuiUIStyle style, TsuiUIStyle& effective) {
    effective = style;
    if (style != TsuiUIStyle::FromThemeFile) return false;
    if (fileThemeLoaded) return true;
    effective = kFallbackStyle;
    return false;
}
