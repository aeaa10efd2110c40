// One element of a style, read where the style says: the file theme for
// FromThemeFile with a loaded theme, the built-in table otherwise.
#pragma once

#include "skin/SUIMgr.h"
#include "skin/SUIThemes.h"

inline TColor StyleColor(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int element) {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (ResolveThemeSource(fileTheme, style, effective)) return fileTheme->GetColor(element);
    return GetBuiltInThemeColor(effective, element);
}

inline int StyleInt(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int element) {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (ResolveThemeSource(fileTheme, style, effective)) return fileTheme->GetInt(element);
    return GetBuiltInThemeInt(effective, element);
}
