#pragma once

// Helpers the main window shares: the settings file beside the executable and
// the export of a repayment table to a workbook file.

#include "export/GridExport.h"

#include <string>
#include <string_view>

class TStringGrid;

// The executable's folder (with its trailing separator) + "percents.ini".
std::wstring GetSettingsFileName();

// The key's value in the settings file, or defaultValue when the file, the
// section or the key is missing; at most 2 047 characters, trimmed.
std::wstring ReadSetting(const std::wstring& section, const std::wstring& key,
                         const std::wstring& defaultValue);

// Writes the trimmed value, creating file, section and key as needed.
// Raises Exception when the profile service reports the write as failed.
void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value);

// Drops leading and trailing blanks and control characters (everything up
// to and including U+0020), as settings values are kept.
std::wstring TrimSettingText(std::wstring_view text);

// A string grid as the export reads it, amounts in the locale's format.
class TGridExportSource final : public exporter::GridSource {
  public:
    explicit TGridExportSource(const TStringGrid& grid) : grid_(grid) {}
    int ColCount() const override;
    int RowCount() const override;
    std::wstring Cell(int col, int row) const override;
    wchar_t DecimalSeparator() const override;

  private:
    const TStringGrid& grid_;
};

// Asks for a file with the save dialog and writes every cell of the grid into
// a new workbook there. 1: written; 0: writing failed; 2: nothing exported.
int ExportGridToExcel(TStringGrid& grid, const std::wstring& title);
// The same with a chosen back end (tests force the built-in file writer).
int ExportGridToExcel(TStringGrid& grid, const std::wstring& title,
                      const exporter::WriterFactory& createWriter);
