#include "export/BuiltInWorkbookWriter.h"

#include "export/FileReplace.h"

#include <stdexcept>

namespace exporter {

SheetSink& BuiltInWorkbookWriter::AddWorkbook() {
    if (!connected_) throw std::logic_error("workbook writer: not connected");
    workbook_ = std::make_unique<xls::XlsWorkbook>();
    return *this;
}

xls::XlsWorkbook& BuiltInWorkbookWriter::Workbook() {
    // The same mistakes fail over automation too: there is no workbook.
    if (!workbook_) throw std::logic_error("workbook writer: no workbook open");
    return *workbook_;
}

void BuiltInWorkbookWriter::PutCellText(int row1, int col1, const std::wstring& text) {
    Workbook().SetCell(row1 - 1, col1 - 1, text);
}

void BuiltInWorkbookWriter::SaveCopyAs(const std::wstring& file) {
    Workbook().SaveToFile(xls::PathFromWide(file));
}

} // namespace exporter
