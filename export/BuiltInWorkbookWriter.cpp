#include "export/BuiltInWorkbookWriter.h"

#include "export/CsvWriter.h"
#include "export/FileReplace.h"
#include "export/XlsWriter.h"
#include "export/XlsxWriter.h"

#include <stdexcept>

namespace exporter {

// The three writers share their cell calls, not a base class.
class BuiltInWorkbookWriter::Book {
  public:
    virtual ~Book() = default;
    virtual void SetCell(int row, int col, const std::wstring& text) = 0;
    virtual void SetNumber(int row, int col, double value) = 0;
    virtual void SaveToFile(const std::wstring& file) const = 0;
};

namespace {

template <class Writer> class BookOf final : public BuiltInWorkbookWriter::Book {
  public:
    template <class... Args> explicit BookOf(Args&&... args) : w_(std::forward<Args>(args)...) {}
    void SetCell(int row, int col, const std::wstring& text) override {
        w_.SetCell(row, col, text);
    }
    void SetNumber(int row, int col, double value) override { w_.SetNumber(row, col, value); }
    void SaveToFile(const std::wstring& file) const override {
        w_.SaveToFile(xls::PathFromWide(file));
    }

  private:
    Writer w_;
};

} // namespace

BuiltInWorkbookWriter::BuiltInWorkbookWriter(FileFormat format, std::wstring title)
    : format_(format), title_(std::move(title)) {}

BuiltInWorkbookWriter::~BuiltInWorkbookWriter() = default;

SheetSink& BuiltInWorkbookWriter::AddWorkbook() {
    if (!connected_) throw std::logic_error("workbook writer: not connected");
    switch (format_) {
    case FileFormat::Xlsx:
        workbook_ = std::make_unique<BookOf<xlsx::XlsxWorkbook>>(SheetNameFromTitle(title_));
        break;
    case FileFormat::Csv:
        workbook_ = std::make_unique<BookOf<csv::CsvTable>>();
        break;
    case FileFormat::Xls:
        workbook_ = std::make_unique<BookOf<xls::XlsWorkbook>>();
        break;
    }
    return *this;
}

BuiltInWorkbookWriter::Book& BuiltInWorkbookWriter::Workbook() {
    // The same mistakes fail over automation too: there is no workbook.
    if (!workbook_) throw std::logic_error("workbook writer: no workbook open");
    return *workbook_;
}

void BuiltInWorkbookWriter::PutCellText(int row1, int col1, const std::wstring& text) {
    Workbook().SetCell(row1 - 1, col1 - 1, text);
}

void BuiltInWorkbookWriter::PutCellNumber(int row1, int col1, const std::wstring&, double value) {
    Workbook().SetNumber(row1 - 1, col1 - 1, value);
}

void BuiltInWorkbookWriter::CloseWithoutSaving() {
    workbook_.reset();
}

void BuiltInWorkbookWriter::SaveCopyAs(const std::wstring& file) {
    Workbook().SaveToFile(file);
}

} // namespace exporter
