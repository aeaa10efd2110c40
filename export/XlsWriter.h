// The built-in workbook writer: one worksheet of text and number cells saved as a legacy
// Excel workbook (BIFF8 records in a compound file), for machines without
// Excel. Portable: no platform headers.
#pragma once

#include "export/SheetCells.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// Limits of the legacy format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
using sheet::kMaxCellChars;
using sheet::ToUtf16;

class XlsWorkbook {
  public:
    // Throws std::invalid_argument for a name Excel refuses: empty, longer
    // than 31 characters, containing : \ / ? * [ ] or quoted by apostrophes.
    explicit XlsWorkbook(std::wstring sheetName = L"Sheet1");

    // row and col count from 0. An empty text clears the cell. Texts longer
    // than kMaxCellChars are cut there, as Excel does. Throws
    // std::out_of_range outside the sheet's limits.
    void SetCell(int row, int col, std::wstring_view text) { cells_.SetText(row, col, text); }
    // A numeric cell in the General format. Throws std::invalid_argument for
    // infinity and NaN.
    void SetNumber(int row, int col, double value) { cells_.SetNumber(row, col, value); }
    std::size_t CellCount() const { return cells_.Cells().size(); }

    // The complete .xls file.
    std::vector<std::uint8_t> Save() const;
    // Saves through a temporary file in the target's folder (see
    // WriteFileReplacing): the target is replaced only by a complete file.
    void SaveToFile(const std::filesystem::path& path) const;

  private:
    // The Workbook stream alone, before it goes into the compound file.
    std::vector<std::uint8_t> WorkbookStream() const;

    std::u16string sheetName_;
    // Iterated row by row, left to right: the order the cell records need.
    sheet::SheetCells cells_{kMaxRows, kMaxColumns};
};

} // namespace xls
