#include "export/GridExport.h"

#include "export/BuiltInWorkbookWriter.h"
#include "export/ExcelAutomation.h"

#include <windows.h>

namespace exporter {

namespace {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A new, empty file beside the target: the workbook is written there first so
// that a failure never touches the file the user chose.
std::wstring CreateTempBeside(const std::wstring& target) {
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(FolderOf(target).c_str(), L"lnx", 0, name) == 0)
        throw Exception(L"Cannot create a file in " + FolderOf(target));
    return name;
}

// Removes the temporary file unless it has been moved over the target.
class TempFile {
  public:
    explicit TempFile(std::wstring path) : path_(std::move(path)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }
    void MoveOver(const std::wstring& target) {
        // Windows refuses to replace a read-only file; Wine run by root would
        // not, so the rule is kept here for every host.
        const DWORD attrs = GetFileAttributesW(target.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
            throw Exception(L"Cannot replace the read-only file " + target);
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw Exception(L"Cannot replace " + target);
        path_.clear();
    }

  private:
    std::wstring path_;
};

} // namespace

std::unique_ptr<WorkbookWriter> CreateBestWriter() {
    if (ExcelWorkbookWriter::ExcelRegistered()) {
        try {
            // Reaching Excel here, before any question is asked, lets a
            // broken installation fall back to the file writer.
            auto application = std::make_shared<DispatchRef>(ExcelWorkbookWriter::ConnectToExcel());
            return std::make_unique<ExcelWorkbookWriter>(
                [application] { return std::move(*application); });
        } catch (const std::exception&) {
        }
    }
    return std::make_unique<BuiltInWorkbookWriter>();
}

int ExportGrid(const GridSource& grid, const std::wstring& title, const std::wstring& exeDir,
               ExportUi& ui, const WriterFactory& createWriter) {
    SaveDialogRequest request{FileNameFromTitle(title), L"xls", L"导出 " + title + L" 至Excel文件",
                              kExportFilter, exeDir};
    const std::optional<std::wstring> file = ui.ChooseFile(request);
    if (!file) return kExportNothing;

    const FileFormat format = FormatOfFile(*file);
    std::unique_ptr<WorkbookWriter> writer;
    try {
        writer = format == FileFormat::Xls ? createWriter()
                                           : std::make_unique<BuiltInWorkbookWriter>(format, title);
    } catch (const std::exception&) {
    }
    if (!writer) {
        ui.ShowCannotOpen();
        return kExportNothing;
    }

    // The old file stays until the new one is complete.
    if (FileExists(*file) && !ui.ConfirmReplace(*file)) return kExportNothing;

    int result = kExportFailed;
    try {
        writer->Connect();
        SheetSink& sheet = writer->AddWorkbook();
        WriteGridCells(grid, sheet);
        result = kExportDone;
    } catch (const std::exception&) {
        result = kExportFailed;
    }

    // Closing part: a complete workbook replaces the chosen file; a failure
    // anywhere here is reported like a failure to write.
    try {
        if (result == kExportDone) {
            TempFile temp(CreateTempBeside(*file));
            writer->SaveCopyAs(temp.Path());
            temp.MoveOver(*file);
        }
    } catch (const std::exception&) {
        result = kExportFailed;
    }
    try {
        writer->CloseWithoutSaving();
    } catch (const std::exception&) {
        result = kExportFailed;
    }
    try {
        writer->Disconnect();
    } catch (const std::exception&) {
        result = kExportFailed;
    }
    ui.RestoreCursor();
    return result;
}

} // namespace exporter
