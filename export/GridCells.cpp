#include "export/GridCells.h"

#include <charconv>
#include <cmath>

namespace exporter {
namespace {

std::wstring AsciiLower(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

} // namespace

std::optional<double> GridNumber(std::wstring_view text, wchar_t decimalSeparator) {
    std::string ascii;
    std::size_t i = 0;
    if (!text.empty() && text[0] == L'-') {
        ascii += '-';
        i = 1;
    }
    std::size_t whole = 0, fraction = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            ascii += static_cast<char>(c);
            ++(point ? fraction : whole);
        } else if (c == decimalSeparator && !point) {
            ascii += '.';
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (whole == 0 || (point && fraction == 0)) return std::nullopt;
    double value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

void WriteGridCells(const GridSource& grid, SheetSink& sheet) {
    const int cols = grid.ColCount();
    const int rows = grid.RowCount();
    const wchar_t separator = grid.DecimalSeparator();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::wstring text = grid.Cell(c, r);
            const std::optional<double> number =
                r > 0 && c > 0 ? GridNumber(text, separator) : std::nullopt;
            if (number)
                sheet.PutCellNumber(r + 1, c + 1, text, *number);
            else
                sheet.PutCellText(r + 1, c + 1, text);
        }
}

std::wstring SheetNameFromTitle(std::wstring_view title) {
    constexpr std::size_t kMaxUnits = 31;
    std::wstring name;
    std::size_t units = 0;
    for (wchar_t c : title) {
        // A character past U+FFFF takes two units (one wchar_t on Linux).
        const std::size_t width = (static_cast<std::uint32_t>(c) >> 16) != 0;
        if (units + 1 + width > kMaxUnits) break;
        const bool forbidden = static_cast<std::uint32_t>(c) < 0x20 ||
                               std::wstring_view(L":\\/?*[]").find(c) != std::wstring_view::npos;
        name += forbidden ? L'_' : c;
        units += 1 + width;
    }
    // A pair of UTF-16 units is never cut in half.
    if (sizeof(wchar_t) == 2 && !name.empty() && name.back() >= 0xD800 && name.back() < 0xDC00)
        name.pop_back();
    const std::size_t first = name.find_first_not_of(L'\'');
    const std::size_t last = name.find_last_not_of(L'\'');
    if (first == std::wstring::npos) return L"Sheet1";
    name = name.substr(first, last - first + 1);
    // Excel keeps this name for itself.
    if (AsciiLower(name) == L"history") name += L'_';
    return name;
}

std::wstring FileNameFromTitle(std::wstring_view title) {
    std::wstring name;
    for (wchar_t c : title) {
        const bool forbidden = static_cast<std::uint32_t>(c) < 0x20 ||
                               std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
        name += forbidden ? L'_' : c;
    }
    while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        name.pop_back();
    return name;
}

FileFormat FormatOfFile(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash))
        return FileFormat::Xls;
    const std::wstring ext = AsciiLower(path.substr(dot + 1));
    if (ext == L"xlsx") return FileFormat::Xlsx;
    if (ext == L"csv") return FileFormat::Csv;
    return FileFormat::Xls;
}

} // namespace exporter
