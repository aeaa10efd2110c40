// What the export makes of a grid's cells, shared by every back end and
// portable: which texts become numbers, and the names a title gives the
// file and the sheet.
#pragma once

#include "export/WorkbookWriter.h"

#include <optional>
#include <string>
#include <string_view>

namespace exporter {

// What the export reads of a string grid.
class GridSource {
  public:
    virtual ~GridSource() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual std::wstring Cell(int col, int row) const = 0;
    // The separator the grid's amounts were written with.
    virtual wchar_t DecimalSeparator() const { return L'.'; }
};

// The value of a text written as the grid writes amounts: an optional
// leading minus, digits, and at most one decimal separator followed by
// digits. Anything else ("INF", "NAN", blanks, grouping, exponents, a value
// past the range of double) is no number.
std::optional<double> GridNumber(std::wstring_view text, wchar_t decimalSeparator);

// Writes every cell, header row first, then the rows in order, each left to
// right. Amounts become numbers; the header row and the date column stay
// text, as do texts that are no number.
void WriteGridCells(const GridSource& grid, SheetSink& sheet);

// A name a spreadsheet accepts for a sheet: characters it forbids become
// '_', apostrophes at either end go, at most 31 UTF-16 units; "Sheet1" when
// nothing is left.
std::wstring SheetNameFromTitle(std::wstring_view title);
// A file name (no folder) for the save dialog: characters Windows forbids in
// a name become '_', and trailing dots and blanks go.
std::wstring FileNameFromTitle(std::wstring_view title);

enum class FileFormat { Xls, Xlsx, Csv };
// .xlsx and .csv by their extension (any case); every other name is .xls.
FileFormat FormatOfFile(std::wstring_view path);

} // namespace exporter
