// Exporting a schedule grid to a workbook file: the save dialog, the choice
// of back end, the overwrite question, writing the cells and replacing the
// chosen file only once the new workbook is complete.
#pragma once

#include "export/WorkbookWriter.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace exporter {

// What the export reads of a string grid.
class GridSource {
  public:
    virtual ~GridSource() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual std::wstring Cell(int col, int row) const = 0;
};

struct SaveDialogRequest {
    std::wstring fileName;   // proposed name: the table's title
    std::wstring defaultExt; // "xls"
    std::wstring title;      // "导出 " + title + " 至Excel文件"
    std::wstring filter;     // "Excel files (*.xls)|*.xls"
    std::wstring initialDir; // the executable's folder, no trailing separator
};

// The dialogs the export asks its caller to show.
class ExportUi {
  public:
    virtual ~ExportUi() = default;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<std::wstring> ChooseFile(const SaveDialogRequest& request) = 0;
    // "无法打开xls文件﹐请确定已经安裝了Excel."
    virtual void ShowCannotOpen() = 0;
    // "文件已经存在，是否替换该文件？"; true for OK.
    virtual bool ConfirmReplace(const std::wstring& file) = 0;
    virtual void RestoreCursor() = 0;
};

enum ExportResult : int { kExportFailed = 0, kExportDone = 1, kExportNothing = 2 };

// Creates the back end for one export; throws when none can be had.
using WriterFactory = std::function<std::unique_ptr<WorkbookWriter>()>;

// Excel when it is installed and answers, our own file writer otherwise.
std::unique_ptr<WorkbookWriter> CreateBestWriter();

// 1 when every cell was written and the file replaced, 0 when writing or
// saving failed (the chosen file is then as it was before), 2 when nothing
// was exported.
int ExportGrid(const GridSource& grid, const std::wstring& title, const std::wstring& exeDir,
               ExportUi& ui, const WriterFactory& createWriter = CreateBestWriter);

} // namespace exporter
