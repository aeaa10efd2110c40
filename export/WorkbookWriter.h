// What the grid export asks of a spreadsheet back end, in the order it asks:
// Excel over automation on machines that have it, the built-in file writer
// otherwise. Portable: no platform headers.
#pragma once

#include <string>

namespace exporter {

// The first worksheet of the new workbook. Rows and columns count from 1, as
// Excel's cell addresses do.
class SheetSink {
  public:
    virtual ~SheetSink() = default;
    virtual void PutCellText(int row1, int col1, const std::wstring& text) = 0;
    // A text that is a number (value). Excel, given the text, makes the
    // number itself; the built-in writers store the value.
    virtual void PutCellNumber(int row1, int col1, const std::wstring& text, double value) {
        (void)value;
        PutCellText(row1, col1, text);
    }
};

// One export's session with a back end. Every step reports failure by
// throwing; the export decides which failures it reports itself.
class WorkbookWriter {
  public:
    virtual ~WorkbookWriter() = default;
    virtual void Connect() = 0;
    // Adds a new workbook and returns its first worksheet, valid until
    // CloseWithoutSaving.
    virtual SheetSink& AddWorkbook() = 0;
    // Writes the workbook as it stands to the file (a full path).
    virtual void SaveCopyAs(const std::wstring& file) = 0;
    virtual void CloseWithoutSaving() = 0;
    // Drops the connection; the back end itself is never told to quit.
    virtual void Disconnect() = 0;
};

} // namespace exporter
