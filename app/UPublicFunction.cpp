#include "app/UPublicFunction.h"

#include "framework/Dialogs.h"
#include "framework/Exceptions.h"
#include "framework/Grids.h"
#include "framework/Utils.h"

#include <windows.h>

#include <optional>

namespace {

// 2 047 characters and the terminating NUL, as the settings have always
// been read.
constexpr DWORD kSettingBufferSize = 2048;

bool IsBlankOrControl(wchar_t c) {
    return c <= L' ';
}

// The executable's folder as the dialog wants it: no trailing separator,
// except after a drive ("C:\"), where dropping it would mean another folder.
std::wstring ExeFolderForDialog() {
    std::wstring dir = ExeDirectory();
    if (dir.size() > 1 && (dir.back() == L'\\' || dir.back() == L'/') &&
        dir[dir.size() - 2] != L':')
        dir.pop_back();
    return dir;
}

// The export's questions as the user sees them: the common save dialog and
// the standard message boxes, all through the modal seam.
class DialogExportUi final : public exporter::ExportUi {
  public:
    std::optional<std::wstring> ChooseFile(const exporter::SaveDialogRequest& request) override {
        TOwned<TSaveDialog> dialog(new TSaveDialog(nullptr));
        dialog->SetFileName(request.fileName);
        dialog->SetDefaultExt(request.defaultExt);
        dialog->SetTitle(request.title);
        dialog->SetFilter(request.filter);
        dialog->SetInitialDir(request.initialDir);
        if (!dialog->Execute()) return std::nullopt;
        return dialog->FileName();
    }
    void ShowCannotOpen() override {
        ShowMessageBox(L"无法打开xls文件﹐请确定已经安裝了Excel.", L"消息", MB_ICONERROR | MB_OK);
    }
    bool ConfirmReplace(const std::wstring&) override {
        return ShowMessageBox(L"文件已经存在，是否替换该文件？", L"消息",
                              MB_ICONERROR | MB_OKCANCEL) == IDOK;
    }
    void RestoreCursor() override { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }
};

} // namespace

std::wstring TrimSettingText(std::wstring_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return std::wstring(text.substr(first, last - first));
}

std::wstring GetSettingsFileName() {
    return ExeDirectory() + L"percents.ini";
}

std::wstring ReadSetting(const std::wstring& section, const std::wstring& key,
                         const std::wstring& defaultValue) {
    wchar_t buffer[kSettingBufferSize];
    const DWORD length =
        GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                 kSettingBufferSize, GetSettingsFileName().c_str());
    return TrimSettingText(std::wstring_view(buffer, length));
}

void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const std::wstring file = GetSettingsFileName();
    const std::wstring text = TrimSettingText(value);
    // Windows refuses to write a read-only file; Wine run by root does not
    // (root writes past the permission bits Wine maps the attribute to), so
    // the attribute is checked here as Windows would.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw Exception(L"Unable to write to " + file + L": " +
                        SystemErrorMessage(ERROR_ACCESS_DENIED));
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), text.c_str(), file.c_str())) {
        const DWORD error = GetLastError(); // before anything else can change it
        throw Exception(L"Unable to write to " + file + L": " + SystemErrorMessage(error));
    }
}

int TGridExportSource::ColCount() const {
    return grid_.ColCount();
}

int TGridExportSource::RowCount() const {
    return grid_.RowCount();
}

std::wstring TGridExportSource::Cell(int col, int row) const {
    return grid_.Cells(col, row);
}

// The calculations write amounts with the locale's separator.
wchar_t TGridExportSource::DecimalSeparator() const {
    return ::DecimalSeparator();
}

int ExportGridToExcel(TStringGrid& grid, const std::wstring& title) {
    return ExportGridToExcel(grid, title, exporter::CreateBestWriter);
}

int ExportGridToExcel(TStringGrid& grid, const std::wstring& title,
                      const exporter::WriterFactory& createWriter) {
    const TGridExportSource source(grid);
    DialogExportUi ui;
    return exporter::ExportGrid(source, title, ExeFolderForDialog(), ui, createWriter);
}
