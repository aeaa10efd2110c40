#include "framework/Screenshot.h"

#include "framework/GraphicsInternal.h"
#include "framework/PngEncoder.h"

#include <system_error>

namespace fs = std::filesystem;

fs::path FindScreensDirectory(const fs::path& startFolder) {
    std::error_code ec;
    for (fs::path p = startFolder; !p.empty(); p = p.parent_path()) {
        if (fs::is_directory(p / L"build", ec)) return p / L"build" / L"screens";
        if (p == p.parent_path()) break;
    }
    return startFolder / L"screens";
}

fs::path ScreensDirectory() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
        if (n == 0) throw EGraphicError(L"Cannot find the executable's folder");
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    fs::path dir = FindScreensDirectory(fs::path(exe).parent_path());
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec))
        throw EGraphicError(L"Cannot create folder \"" + dir.wstring() + L"\"");
    return dir;
}

static SIZE WindowImageSize(HWND wnd, bool clientOnly) {
    RECT r{};
    if (clientOnly)
        ::GetClientRect(wnd, &r);
    else
        ::GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CaptureWindow(HWND wnd, TBitmap& target, bool clientOnly) {
    if (!::IsWindow(wnd)) throw EGraphicError(L"Invalid window handle");
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const SIZE s = WindowImageSize(wnd, clientOnly);
    target.SetSize(s.cx, s.cy);
    if (target.Empty()) return;
    WindowDC dc(wnd, !clientOnly);
    if (!dc) throw EGraphicError(L"Canvas does not allow drawing");
    ::BitBlt(target.Canvas().Handle(), 0, 0, s.cx, s.cy, dc.Get(), 0, 0, SRCCOPY | CAPTUREBLT);
    target.Modified();
}

void CaptureScreenArea(const RECT& r, TBitmap& target) {
    target.SetSize(r.right - r.left, r.bottom - r.top);
    if (target.Empty()) return;
    WindowDC screen(nullptr);
    if (!screen) throw EGraphicError(L"Canvas does not allow drawing");
    ::BitBlt(target.Canvas().Handle(), 0, 0, target.Width(), target.Height(), screen.Get(), r.left,
             r.top, SRCCOPY | CAPTUREBLT);
    target.Modified();
}

void PrintWindowImage(HWND wnd, TBitmap& target, bool clientOnly) {
    if (!::IsWindow(wnd)) throw EGraphicError(L"Invalid window handle");
    const SIZE s = WindowImageSize(wnd, clientOnly);
    target.SetSize(s.cx, s.cy);
    if (target.Empty()) return;
    target.Fill(clBtnFace);
    ::PrintWindow(wnd, target.Canvas().Handle(), clientOnly ? PW_CLIENTONLY : 0);
    target.Modified();
}

std::vector<std::uint8_t> EncodeBitmapPng(const TBitmap& bitmap) {
    if (bitmap.Empty()) throw EGraphicError(L"Invalid image size");
    // Rows of a DIB section are contiguous: the first scan line starts them all.
    return EncodePng(bitmap.Width(), bitmap.Height(), bitmap.ScanLine(0), false);
}

void SaveBitmapPng(const TBitmap& bitmap, const fs::path& file) {
    WriteFileBytes(file.wstring(), EncodeBitmapPng(bitmap));
}

void SaveBitmapBmp(const TBitmap& bitmap, const fs::path& file) {
    bitmap.SaveToFile(file.wstring());
}

fs::path SaveScreenshot(const TBitmap& bitmap, const std::wstring& name, const fs::path& folder) {
    fs::path dir = folder.empty() ? ScreensDirectory() : folder;
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::path file = dir / (name + L".png");
    SaveBitmapPng(bitmap, file);
    return file;
}

fs::path SaveWindowScreenshot(HWND wnd, const std::wstring& name, const fs::path& folder) {
    TBitmap image;
    CaptureWindow(wnd, image);
    return SaveScreenshot(image, name, folder);
}
