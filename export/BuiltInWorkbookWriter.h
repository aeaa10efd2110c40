// The back end used when Excel is not installed: the workbook lives in memory
// and is written by our own .xls writer. Portable.
#pragma once

#include "export/WorkbookWriter.h"
#include "export/XlsWriter.h"

#include <memory>

namespace exporter {

class BuiltInWorkbookWriter final : public WorkbookWriter, private SheetSink {
  public:
    void Connect() override { connected_ = true; }
    SheetSink& AddWorkbook() override;
    void SaveCopyAs(const std::wstring& file) override;
    void CloseWithoutSaving() override { workbook_.reset(); }
    void Disconnect() override { connected_ = false; }

  private:
    void PutCellText(int row1, int col1, const std::wstring& text) override;
    xls::XlsWorkbook& Workbook();

    bool connected_ = false;
    std::unique_ptr<xls::XlsWorkbook> workbook_;
};

} // namespace exporter
