// Styles, the 42 numbered theme elements and the five built-in value tables
// every skinned control reads its look from. Portable: no platform headers,
// so the tables are tested natively; the Win32 side (loading the bitmaps,
// TsuiFileTheme) is layered on top.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// A colour as the tables store it: 0x00BBGGRR, or 0xFF0000nn for system
// colour nn. Same bits as the framework's TColor, under its own name so both
// headers can be included together.
using ThemeColor = std::uint32_t;

// Stored in one byte, values in this order; the form descriptions rely on it.
enum class TsuiUIStyle : std::uint8_t {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5,
};

// Every control falls back to this when nothing better is available.
inline constexpr TsuiUIStyle kFallbackStyle = TsuiUIStyle::DeepBlue;

// "MacOS", "BlueGlass", … as written in form descriptions; empty for a value
// outside the enumeration.
std::wstring_view TsuiUIStyleName(TsuiUIStyle style);
// The reverse, ignoring ASCII letter case; nullopt for an unknown name.
std::optional<TsuiUIStyle> TsuiUIStyleFromName(std::wstring_view name);

// Kind of a built-in table entry; the numbers are part of the table format.
enum class ThemeValueKind : std::uint8_t {
    Integer = 0,
    Color = 1,
    Image = 2,   // the entry names a bitmap resource
    Boolean = 3, // 0 or 1
};

// Element numbers, 1 … 42, named after their keys.
namespace ThemeElement {
inline constexpr int ButtonImage = 1;
inline constexpr int ButtonTransparentBool = 2;
inline constexpr int CheckBoxImage = 3;
inline constexpr int RadioButtonImage = 4;
inline constexpr int TitleBarButtonImage = 5;
inline constexpr int TitleBarButtonTransparentBool = 6;
inline constexpr int TitleBarButtonLeftOffsetInt = 7;
inline constexpr int TitleBarButtonRightOffsetInt = 8;
inline constexpr int TitleBarButtonTopInt = 9;
inline constexpr int TitleBarLeftImage = 10;
inline constexpr int TitleBarClientImage = 11;
inline constexpr int TitleBarRightImage = 12;
inline constexpr int FormMinWidthInt = 13;
inline constexpr int FormRoundCornerInt = 14;
inline constexpr int FormBackgroundColor = 15;
inline constexpr int FormBorderColor = 16;
inline constexpr int FormBorderWidthInt = 17;
inline constexpr int MenuSelectedBorderColor = 18;
inline constexpr int MenuSelectedBackgroundColor = 19;
inline constexpr int MenuSelectedFontColor = 20;
inline constexpr int MenuBackgroundColor = 21;
inline constexpr int MenuFontColor = 22;
inline constexpr int MenuBarColor = 23;
inline constexpr int ProgressBarImage = 24;
inline constexpr int ControlBorderColor = 25;
inline constexpr int ControlBackgroundColor = 26;
inline constexpr int ControlFontColor = 27;
inline constexpr int TrackBarBarImage = 28;
inline constexpr int TrackBarSliderImage = 29;
inline constexpr int TrackBarSliderVImage = 30;
inline constexpr int ScrollBarBackgroundColor = 31;
inline constexpr int ScrollBarButtonImage = 32;
inline constexpr int ScrollBarSliderImage = 33;
inline constexpr int CheckListBoxImage = 34;
inline constexpr int ToolBarButtonBorderColor = 35;
inline constexpr int ToolBarButtonBackgroundColor = 36;
inline constexpr int ToolBarButtonDownBackgroundColor = 37;
inline constexpr int ScrollButtonImage = 38;
inline constexpr int TabControlTabImage = 39;
inline constexpr int TabControlBarImage = 40;
inline constexpr int SideChannelHandleImage = 41;
inline constexpr int SideChannelBarImage = 42;

inline constexpr int First = 1;
inline constexpr int Last = 42;
inline constexpr int Count = 42;

inline constexpr bool IsValid(int element) {
    return element >= First && element <= Last;
}
} // namespace ThemeElement

// The key a theme file stores the element under ("ButtonImage", …); empty
// for an element outside 1 … 42.
std::string_view ThemeElementKey(int element);
// The element whose key matches, ignoring ASCII letter case; 0 if none.
int ThemeElementFromKey(std::string_view key);
// The element's kind from the shared kind table; Integer outside 1 … 42.
ThemeValueKind ThemeElementKind(int element);

// One entry of a built-in table. Image entries carry the resource name in
// `resourceName` (NUL-terminated, so it can go straight to the resource
// loader) and 0 in `value`; every other entry has an empty name.
struct BuiltInThemeEntry {
    std::int32_t value = -1;
    ThemeValueKind kind = ThemeValueKind::Integer;
    std::wstring_view resourceName;
};

// Only the low 7 bits of the style byte count. Styles other than 1 … 5
// (FromThemeFile included) and elements outside 1 … 42 give value -1,
// kind Integer and no name.
BuiltInThemeEntry GetBuiltInThemeEntry(std::uint8_t style, int element);
BuiltInThemeEntry GetBuiltInThemeEntry(TsuiUIStyle style, int element);

// The value when the element has the asked-for kind; otherwise 0, false and
// -1 respectively (also for an unknown style or element).
ThemeColor GetBuiltInThemeColor(TsuiUIStyle style, int element);
bool GetBuiltInThemeBool(TsuiUIStyle style, int element);
std::int32_t GetBuiltInThemeInt(TsuiUIStyle style, int element);

// What the Win32 GetBuiltInThemeBitmap loads: the resource, and with
// count > 0 the frame `index` (from 1) of `count` equal-width frames to cut
// from it; count == 0 means the whole bitmap. nullopt when the entry is no
// image, so the target graphic is left as it was.
struct BuiltInBitmapRequest {
    std::wstring_view resourceName;
    int index = 0;
    int count = 0;
    bool Whole() const { return count == 0; }
};
std::optional<BuiltInBitmapRequest> GetBuiltInThemeBitmapRequest(TsuiUIStyle style, int element,
                                                                 int index = 0, int count = 0);

// How many equal-width frames the engine cuts an element's bitmap into:
// 0 for bitmaps used whole or not used at all, and for non-image elements.
int ThemeElementFrameCount(int element);

// The artwork's size for a style's image element; nullopt for non-image
// elements or styles outside 1 … 5.
struct ThemeBitmapSize {
    int width = 0;
    int height = 0;
    bool operator==(const ThemeBitmapSize&) const = default;
};
std::optional<ThemeBitmapSize> BuiltInThemeBitmapSize(TsuiUIStyle style, int element);

// Bitmaps loaded by a fixed name outside the element tables.
struct FixedBitmap {
    std::wstring_view resourceName;
    ThemeBitmapSize size;
};
std::span<const FixedBitmap> FixedThemeBitmaps();

// The choice ResolveThemeSource makes, without the component: effective is
// set to style; true means "read the file theme" (style FromThemeFile and a
// loaded file theme). FromThemeFile without one falls back to DeepBlue and
// gives false; any other style gives false and keeps its own table.
bool ChooseThemeSource(bool fileThemeLoaded, TsuiUIStyle style, TsuiUIStyle& effective);
