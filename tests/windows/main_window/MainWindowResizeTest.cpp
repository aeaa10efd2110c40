// Maximizing and restoring the main window as a person sees it: the screen
// is read from another thread while the window changes size, until it shows
// the window painted whole, and no reading may show a block of black where
// the painted window has none. A click on the title bar right after the
// size changed acts.

#include "../support/MainWindow.h"

#include "framework/Screenshot.h"
#include "skin/controls/SUIForm.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

using namespace main_window_test;

namespace {

using Clock = std::chrono::steady_clock;

// Reads the screen every few milliseconds, from the start of a size change
// until it shows the painted window.
class ScreenSampler {
  public:
    ScreenSampler(const RECT& area, const TBitmap& painted) : area_(area), painted_(painted) {
        CaptureScreenArea(area_, before_);
        thread_ = std::thread([this] { Run(); });
    }
    ~ScreenSampler() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool Whole() const { return wholeMs_ >= 0; }
    double WholeMs() const { return wholeMs_; }
    // The most 16 x 16 blocks of pure black one reading showed where neither
    // the painted window nor the screen before the change had them.
    int BlackBlocks() const { return blackBlocks_; }

  private:
    static constexpr int kBlock = 16;

    void Run() {
        TBitmap now;
        const int w = before_.Width(), h = before_.Height();
        auto rgb = [](std::uint32_t pixel) { return pixel & 0xFFFFFF; };
        while (!stop_ && !Whole()) {
            CaptureScreenArea(area_, now);
            // Rows follow each other: pixel i of each picture.
            const std::uint32_t *n = now.ScanLine(0), *p = painted_.ScanLine(0),
                                *b = before_.ScanLine(0);
            int differing = 0, blocks = 0;
            for (int i = 0; i < w * h; ++i)
                differing += rgb(n[i]) != rgb(p[i]);
            for (int y0 = 0; y0 + kBlock <= h; y0 += kBlock)
                for (int x0 = 0; x0 + kBlock <= w; x0 += kBlock) {
                    bool black = true, blackBefore = true;
                    for (int y = y0; y < y0 + kBlock; ++y)
                        for (int i = y * w + x0; i < y * w + x0 + kBlock; ++i) {
                            black = black && rgb(n[i]) == 0;
                            blackBefore = blackBefore && (rgb(p[i]) == 0 || rgb(b[i]) == 0);
                        }
                    blocks += black && !blackBefore;
                }
            blackBlocks_ = std::max(blackBlocks_, blocks);
            // The caret may blink in the focused edit.
            if (differing <= w * h / 500)
                wholeMs_ = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
            Sleep(5);
        }
    }

    const RECT area_;
    const TBitmap& painted_;
    TBitmap before_;
    const Clock::time_point start_ = Clock::now();
    std::atomic<bool> stop_{false};
    std::atomic<double> wholeMs_{-1};
    int blackBlocks_ = 0;
    std::thread thread_;
};

void Settle() {
    PumpUntil([] { return false; }, 300);
}

void SetZoomed(HWND wnd, bool zoomed) {
    ShowWindow(wnd, zoomed ? SW_MAXIMIZE : SW_RESTORE);
    Settle();
}

// A press and release of the real mouse at p on the screen.
void RealClick(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

} // namespace

TEST(MainWindowResize, PaintedWholeWithoutBlackAfterMaximizeAndRestore) {
    MainWindow w;
    TsuiTitleBar& bar = w->suiForm1->TitleBar();
    const HWND wnd = w->Handle();
    // The restored window must look as it did when it was first painted.
    Settle();
    const RECT normalArea = WindowRectOf(wnd);
    TBitmap normal, maximized;
    CaptureScreenArea(normalArea, normal);
    SetZoomed(wnd, true);
    const RECT maximizedArea = WindowRectOf(wnd);
    CaptureScreenArea(maximizedArea, maximized);
    for (const bool toMaximized : {false, true}) {
        SCOPED_TRACE(toMaximized ? "maximize" : "restore");
        ScreenSampler sampler(toMaximized ? maximizedArea : normalArea,
                              toMaximized ? maximized : normal);
        const POINT button = ButtonCentre(bar, suiMax);
        ClickAt(bar.Handle(), button.x, button.y);
        PumpUntil([&] { return sampler.Whole(); }, 5000);
        sampler.Stop();
        std::printf("%s: painted whole after %.0f ms, %d blocks of black\n",
                    toMaximized ? "maximize" : "restore from maximized", sampler.WholeMs(),
                    sampler.BlackBlocks());
        EXPECT_EQ(toMaximized, IsZoomed(wnd) != FALSE);
        EXPECT_TRUE(sampler.Whole());
        EXPECT_EQ(0, sampler.BlackBlocks());
        Settle();
    }
}

// A person clicks the restore button the moment the window is maximized, or
// the maximize button the moment it is restored; the window system routes
// the click by the window's shape at that moment.
TEST(MainWindowResize, TitleBarClickRightAfterTheSizeChangedActs) {
    MainWindow w;
    TsuiTitleBar& bar = w->suiForm1->TitleBar();
    const HWND wnd = w->Handle();
    const POINT atNormal = bar.ClientToScreen(ButtonCentre(bar, suiMax));
    SetZoomed(wnd, true);
    const POINT atMaximized = bar.ClientToScreen(ButtonCentre(bar, suiMax));
    SetZoomed(wnd, false);
    for (const bool fromMaximized : {false, true})
        for (const int delayMs : {50, 100}) {
            SCOPED_TRACE(std::string(fromMaximized ? "restore" : "maximize") + ", then after " +
                         std::to_string(delayMs) + " ms");
            SetZoomed(wnd, fromMaximized);
            std::atomic<bool> clicked{false};
            std::thread hand([&] {
                RealClick(fromMaximized ? atMaximized : atNormal);
                for (int ms = 0; ms < 3000 && (IsZoomed(wnd) != FALSE) == fromMaximized; ++ms)
                    Sleep(1);
                Sleep(DWORD(delayMs));
                RealClick(fromMaximized ? atNormal : atMaximized);
                clicked = true;
            });
            PumpUntil([&] { return clicked.load(); }, 5000);
            hand.join();
            EXPECT_TRUE(PumpUntil([&] { return (IsZoomed(wnd) != FALSE) == fromMaximized; }, 3000));
        }
    SetZoomed(wnd, false);
}
