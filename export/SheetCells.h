// The cells of one worksheet as the built-in file writers hold them before
// saving: texts and numbers, keyed so that iteration runs row by row, left to
// right. Portable: no platform headers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace sheet {

// UTF-16 units a spreadsheet keeps in one cell.
inline constexpr std::size_t kMaxCellChars = 32767;

// Converts to UTF-16 whatever the width of wchar_t: on Linux code points past
// U+FFFF become surrogate pairs, and values that are no code point become
// U+FFFD.
std::u16string ToUtf16(std::wstring_view text);
// UTF-8 of UTF-16 text; a surrogate without its partner becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

struct Cell {
    std::u16string text; // empty for a number
    double number = 0;
    bool isNumber = false;
};

class SheetCells {
  public:
    // Rows and columns count from 0 and stay below the limits.
    SheetCells(int maxRows, int maxCols) : maxRows_(maxRows), maxCols_(maxCols) {}

    // An empty text clears the cell; texts past kMaxCellChars are cut there,
    // as spreadsheets do. Throws std::out_of_range outside the limits.
    void SetText(int row, int col, std::wstring_view text);
    // Throws std::invalid_argument for infinity or NaN, which no file format
    // here can hold as a number.
    void SetNumber(int row, int col, double value);

    using Map = std::map<std::uint64_t, Cell>;
    const Map& Cells() const { return cells_; }
    static int Row(std::uint64_t key) { return static_cast<int>(key >> 32); }
    static int Col(std::uint64_t key) { return static_cast<int>(key & 0xFFFFFFFFu); }
    // One past the last row (column) holding a cell; 0 for an empty sheet.
    int UsedRows() const;
    int UsedCols() const;

  private:
    std::uint64_t Key(int row, int col) const;

    int maxRows_, maxCols_;
    Map cells_;
};

} // namespace sheet
