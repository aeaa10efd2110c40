// The program's version, kept here alone: the main window's caption, the
// About window's version line, the name of the release archive and the
// version resource of the program file are all made from it (scripts/package
// and app/CMakeLists.txt read the kVersion line below).
#pragma once

#include <string>

inline constexpr wchar_t kVersion[] = L"1.0";

// "蓝桉房贷按揭计算器V1.0": the window text, the title bar and the task bar.
inline std::wstring MainWindowCaption() {
    return L"蓝桉房贷按揭计算器V" + std::wstring(kVersion);
}

// The line under "■版本信息" in the About text.
inline constexpr wchar_t kVersionLineLabel[] = L"    软件版本：";
inline std::wstring AboutVersionLine() {
    return kVersionLineLabel + (L"V" + std::wstring(kVersion));
}
