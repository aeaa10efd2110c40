// The back end used when Excel is not installed, and for every .xlsx and
// .csv file: the workbook lives in memory and is written by our own writer
// of the chosen format. Portable.
#pragma once

#include "export/GridCells.h"
#include "export/WorkbookWriter.h"

#include <memory>
#include <string>

namespace exporter {

class BuiltInWorkbookWriter final : public WorkbookWriter, private SheetSink {
  public:
    // title names the sheet of an .xlsx file; an .xls sheet is "Sheet1", as
    // Excel names it, and a .csv file has none.
    explicit BuiltInWorkbookWriter(FileFormat format = FileFormat::Xls, std::wstring title = {});
    ~BuiltInWorkbookWriter() override;

    void Connect() override { connected_ = true; }
    SheetSink& AddWorkbook() override;
    void SaveCopyAs(const std::wstring& file) override;
    void CloseWithoutSaving() override;
    void Disconnect() override { connected_ = false; }

    class Book;

  private:
    void PutCellText(int row1, int col1, const std::wstring& text) override;
    void PutCellNumber(int row1, int col1, const std::wstring& text, double value) override;
    Book& Workbook();

    FileFormat format_;
    std::wstring title_;
    bool connected_ = false;
    std::unique_ptr<Book> workbook_;
};

} // namespace exporter
