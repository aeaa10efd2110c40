// Exporting a schedule grid to a workbook file: the save dialog, the choice
// of back end, the overwrite question, writing the cells and replacing the
// chosen file only once the new workbook is complete.
#pragma once

#include "export/GridCells.h"
#include "export/WorkbookWriter.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace exporter {

struct SaveDialogRequest {
    std::wstring fileName;   // proposed name: the table's title
    std::wstring defaultExt; // "xls"
    std::wstring title;      // "导出 " + title + " 至Excel文件"
    std::wstring filter;     // kExportFilter
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

// .xls first, so that it stays the format of a name typed without extension.
inline constexpr const wchar_t* kExportFilter =
    L"Excel files (*.xls)|*.xls|Excel 工作簿 (*.xlsx)|*.xlsx|CSV 文件 (*.csv)|*.csv";

enum ExportResult : int { kExportFailed = 0, kExportDone = 1, kExportNothing = 2 };

// Creates the back end of an .xls export; throws when none can be had.
// .xlsx and .csv files always go through the built-in writers: Excel's
// "save a copy" cannot choose a format.
using WriterFactory = std::function<std::unique_ptr<WorkbookWriter>()>;

// Excel when it is installed and answers, our own file writer otherwise.
std::unique_ptr<WorkbookWriter> CreateBestWriter();

// 1 when every cell was written and the file replaced, 0 when writing or
// saving failed (the chosen file is then as it was before), 2 when nothing
// was exported.
int ExportGrid(const GridSource& grid, const std::wstring& title, const std::wstring& exeDir,
               ExportUi& ui, const WriterFactory& createWriter = CreateBestWriter);

} // namespace exporter
