// Screenshots: where they go, what they hold, and that the files are PNG.

#include "framework/Screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& b, size_t at) {
    return (std::uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// A top-level window whose client area is one solid colour.
class SolidWindow {
  public:
    SolidWindow(TColor colour, int w, int h) {
        static const wchar_t* cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"GraphicsScreenshotTestWindow";
            ::RegisterClassW(&wc);
            return wc.lpszClassName;
        }();
        brush_ = ::CreateSolidBrush(colour);
        wnd_ = ::CreateWindowExW(0, cls, L"截图", WS_OVERLAPPEDWINDOW, 10, 10, w, h, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetClassLongPtrW(wnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
        ::ShowWindow(wnd_, SW_SHOWNORMAL);
        ::UpdateWindow(wnd_);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
    SolidWindow(const SolidWindow&) = delete;
    SolidWindow& operator=(const SolidWindow&) = delete;
    ~SolidWindow() {
        ::DestroyWindow(wnd_);
        ::DeleteObject(brush_);
    }
    HWND Handle() const { return wnd_; }

  private:
    HWND wnd_;
    HBRUSH brush_;
};

} // namespace

TEST(Screenshot, FolderIsBuildScreensAboveTheExecutable) {
    const fs::path dir = ScreensDirectory();
    EXPECT_EQ(dir.filename(), L"screens");
    EXPECT_EQ(dir.parent_path().filename(), L"build");
    EXPECT_TRUE(fs::is_directory(dir));

    const fs::path root = fs::temp_directory_path() / L"gfx-screens-test";
    fs::remove_all(root);
    fs::create_directories(root / L"build" / L"x" / L"bin");
    EXPECT_EQ(FindScreensDirectory(root / L"build" / L"x" / L"bin"), root / L"build" / L"screens");
    EXPECT_EQ(FindScreensDirectory(root / L"build" / L"x" / L"bin").parent_path().parent_path(),
              root);
    fs::remove_all(root);
}

TEST(Screenshot, BitmapIsWrittenAsAValidPng) {
    TBitmap b(7, 3);
    b.Fill(clNavy);
    const fs::path dir = fs::temp_directory_path() / L"gfx-screens-png";
    fs::remove_all(dir);
    const fs::path file = SaveScreenshot(b, L"navy", dir);
    EXPECT_EQ(file, dir / L"navy.png");
    const auto bytes = ReadAll(file);
    ASSERT_GE(bytes.size(), 33u);
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), bytes.begin()));
    EXPECT_EQ(BigEndian32(bytes, 8), 13u);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndian32(bytes, 16), 7u);
    EXPECT_EQ(BigEndian32(bytes, 20), 3u);
    EXPECT_EQ(std::string(bytes.end() - 8, bytes.end() - 4), "IEND");

    SaveBitmapBmp(b, dir / L"navy.bmp");
    TBitmap back;
    back.LoadFromFile((dir / L"navy.bmp").wstring());
    EXPECT_EQ(back.Pixel(6, 2), clNavy);
    fs::remove_all(dir);
    EXPECT_THROW(EncodeBitmapPng(TBitmap()), EGraphicError);
}

TEST(Screenshot, WindowCaptureShowsWhatIsOnScreen) {
    SolidWindow w(clMaroon, 200, 150);
    TBitmap client;
    CaptureWindow(w.Handle(), client, true);
    RECT rc;
    ::GetClientRect(w.Handle(), &rc);
    ASSERT_EQ(client.Width(), rc.right);
    ASSERT_EQ(client.Height(), rc.bottom);
    EXPECT_EQ(client.Pixel(rc.right / 2, rc.bottom / 2), clMaroon);

    TBitmap whole;
    CaptureWindow(w.Handle(), whole);
    RECT wr;
    ::GetWindowRect(w.Handle(), &wr);
    EXPECT_EQ(whole.Width(), wr.right - wr.left);
    EXPECT_GT(whole.Height(), client.Height()) << "the frame is included";

    // The picture for people to look at goes to build/screens.
    const fs::path file = SaveWindowScreenshot(w.Handle(), L"graphics-solid-window");
    EXPECT_EQ(file.parent_path(), ScreensDirectory());
    EXPECT_GT(fs::file_size(file), 50u);

    // Painted by the window itself rather than read from the screen.
    TBitmap printed;
    PrintWindowImage(w.Handle(), printed, true);
    ASSERT_EQ(printed.Width(), rc.right);
    EXPECT_EQ(printed.Pixel(rc.right / 2, rc.bottom / 2), clMaroon);

    EXPECT_THROW(CaptureWindow(nullptr, client), EGraphicError);
}
