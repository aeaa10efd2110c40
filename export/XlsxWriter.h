// The .xlsx writer: one worksheet of text and number cells in a minimal
// Office Open XML workbook. Portable: no platform headers.
#pragma once

#include "export/SheetCells.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace xlsx {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

class XlsxWorkbook {
  public:
    // The sheet's name as given; callers make it acceptable first (see
    // SheetNameFromTitle). Throws std::invalid_argument for a name Excel
    // refuses, as the .xls writer does.
    explicit XlsxWorkbook(std::wstring sheetName = L"Sheet1");

    void SetCell(int row, int col, std::wstring_view text) { cells_.SetText(row, col, text); }
    void SetNumber(int row, int col, double value) { cells_.SetNumber(row, col, value); }

    // The complete .xlsx file.
    std::vector<std::uint8_t> Save() const;
    void SaveToFile(const std::filesystem::path& path) const;

  private:
    std::string SheetXml() const;

    std::u16string sheetName_;
    sheet::SheetCells cells_{kMaxRows, kMaxColumns};
};

// "A1", "F361": the cell's name in a formula.
std::string CellName(int row, int col);

} // namespace xlsx
