// The number edit's text rules: formatting a value through a mask such as
// "0.00" and parsing a typed text back. Portable: no platform headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numbers {

// Formats value with a numeric mask: '0' is a digit always printed, '#' a
// digit printed only when significant, one '.' marks the decimal position
// (printed as decimalSeparator). The value is first taken to 18 significant
// digits, then rounded to the printed decimals with halves away from zero.
// A value that rounds to zero has no sign; from 10^18 on the text is in
// general notation with 15 significant digits.
std::wstring FormatMask(double value, std::wstring_view mask, wchar_t decimalSeparator = L'.');

// Parses a decimal number: optional surrounding blanks, an optional sign,
// digits with at most one decimalSeparator, an optional exponent. A lone
// separator reads as 0. Out-of-range magnitudes are refused, underflow reads
// as 0.
std::optional<double> ParseNumber(std::wstring_view text, wchar_t decimalSeparator = L'.');

// The number edit's key filter: whether a typed character may reach the
// field. Digits always; the decimal separator when the mask has decimals and
// the text has none yet (whatever the selection covers); backspace; a minus
// sign only at position 0 when the mask has one and the text has none.
bool AcceptNumberKey(wchar_t key, std::wstring_view mask, std::wstring_view text,
                     int selectionStart, wchar_t decimalSeparator = L'.');

} // namespace numbers
