// The built-in workbook writer: one worksheet of text cells saved as a legacy
// Excel workbook (BIFF8 records in a compound file), for machines without
// Excel. Portable: no platform headers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// Limits of the legacy format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
inline constexpr std::size_t kMaxCellChars = 32767; // UTF-16 units Excel keeps in a cell

// Converts to UTF-16 whatever the width of wchar_t: on Linux code points past
// U+FFFF become surrogate pairs, and values that are no code point become
// U+FFFD.
std::u16string ToUtf16(std::wstring_view text);

class XlsWorkbook {
  public:
    // Throws std::invalid_argument for a name Excel refuses: empty, longer
    // than 31 characters, containing : \ / ? * [ ] or quoted by apostrophes.
    explicit XlsWorkbook(std::wstring sheetName = L"Sheet1");

    // row and col count from 0. An empty text clears the cell. Texts longer
    // than kMaxCellChars are cut there, as Excel does. Throws
    // std::out_of_range outside the sheet's limits.
    void SetCell(int row, int col, std::wstring_view text);
    std::size_t CellCount() const { return cells_.size(); }

    // The complete .xls file.
    std::vector<std::uint8_t> Save() const;
    // Saves through a temporary file in the target's folder (see
    // WriteFileReplacing): the target is replaced only by a complete file.
    void SaveToFile(const std::filesystem::path& path) const;

  private:
    // The Workbook stream alone, before it goes into the compound file.
    std::vector<std::uint8_t> WorkbookStream() const;

    std::u16string sheetName_;
    // Keyed row * kMaxColumns + col, so iteration runs row by row, left to
    // right, the order the worksheet's cell records need.
    std::map<std::uint32_t, std::u16string> cells_;
};

} // namespace xls
