#pragma once

// Small services of the platform: number conversions with the framework's
// error texts, the clipboard, the beep, the standard message box, the
// locale's decimal separator and the executable's folder.

#include "framework/Exceptions.h"

#include <windows.h>

#include <string>

// The user's decimal separator (LOCALE_SDECIMAL of the user default locale).
wchar_t DecimalSeparator();

// Conversions; failures raise EConvertError:
// "'%s' is not a valid floating point value", "'%s' is not a valid integer value".
double StrToFloat(const std::wstring& text);
double StrToFloat(const std::wstring& text, wchar_t decimalSeparator);
bool TryStrToFloat(const std::wstring& text, double& value);
int StrToInt(const std::wstring& text);
bool TryStrToInt(const std::wstring& text, int& value);
int StrToIntDef(const std::wstring& text, int fallback);
// Shortest general form with 15 significant digits and the locale's separator.
std::wstring FloatToStr(double value);
std::wstring FloatToStr(double value, wchar_t decimalSeparator);
std::wstring IntToStr(long long value);

// Unicode text on the clipboard; false when the clipboard is busy.
bool SetClipboardText(const std::wstring& text);
std::wstring GetClipboardText();

// The refusal beep (MessageBeep(0)).
void Beep();

// The standard message box, through the modal seam: a test hook answers it
// instead of a person. Returns IDOK, IDCANCEL, ...
int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);

// The folder of the running executable, ending in a backslash.
std::wstring ExeDirectory();

// The module whose resources the framework reads (the executable).
HINSTANCE MainInstance();

// The text of a GetLastError code.
std::wstring SystemErrorMessage(DWORD code);
