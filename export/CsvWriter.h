// The .csv writer: UTF-8 with a byte-order mark (so that Excel and WPS read
// the Chinese header), CRLF line ends and quoting as RFC 4180 says. Numbers
// are written with a full stop as their decimal separator, the form scripts
// and the comma-separated format expect. Portable: no platform headers.
#pragma once

#include "export/SheetCells.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace csv {

class CsvTable {
  public:
    void SetCell(int row, int col, std::wstring_view text) { cells_.SetText(row, col, text); }
    void SetNumber(int row, int col, double value) { cells_.SetNumber(row, col, value); }

    // Every row from the first to the last one holding a cell, each with as
    // many fields as the widest row.
    std::vector<std::uint8_t> Save() const;
    void SaveToFile(const std::filesystem::path& path) const;

  private:
    sheet::SheetCells cells_{1 << 30, 1 << 16};
};

} // namespace csv
