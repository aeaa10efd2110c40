// Maximizing and restoring the main window as a person sees it: the screen
// is read from another thread while the window changes size, until it shows
// the window painted whole, and no reading may show a block of black where
// the painted window has none. A click on the title bar right after the
// size changed acts.

#include "../support/MainWindow.h"

#include "framework/GdiHandles.h"
#include "skin/controls/SUIForm.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

using namespace main_window_test;

namespace {

using Pixels = std::vector<std::uint32_t>;
using Clock = std::chrono::steady_clock;

// What the display shows inside r.
Pixels CaptureScreen(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    WindowDC screen(nullptr);
    MemoryDC memory(CreateCompatibleDC(screen.Get()));
    BitmapHandle dib(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !dib) return {};
    {
        ObjectSelection select(memory.Get(), dib.Get());
        BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY | CAPTUREBLT);
    }
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    Pixels out(p, p + size_t(w) * size_t(h));
    for (auto& px : out)
        px &= 0xFFFFFF;
    return out;
}

// Reads the screen every few milliseconds, from the start of a size change
// until it matches the painted window.
class ScreenSampler {
  public:
    ScreenSampler(const RECT& area, Pixels painted)
        : width_(area.right - area.left), area_(area), painted_(std::move(painted)),
          before_(CaptureScreen(area)), thread_([this] { Run(); }) {}
    ~ScreenSampler() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool Whole() const { return wholeMs_ >= 0; }
    double WholeMs() const { return wholeMs_; }
    int Samples() const { return samples_; }
    // The most 16 x 16 blocks of pure black one reading showed where neither
    // the painted window nor the screen before the change had them.
    int BlackBlocks() const { return blackBlocks_; }

  private:
    static constexpr int kBlock = 16;

    void Run() {
        while (!stop_ && !Whole()) {
            const Pixels now = CaptureScreen(area_);
            if (now.size() != painted_.size() || now.size() != before_.size()) break;
            ++samples_;
            blackBlocks_ = std::max(blackBlocks_, CountBlackBlocks(now));
            size_t differing = 0;
            for (size_t i = 0; i < now.size(); ++i)
                differing += now[i] != painted_[i];
            // The caret may blink in the focused edit.
            if (differing <= now.size() / 500)
                wholeMs_ = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
            Sleep(5);
        }
    }
    int CountBlackBlocks(const Pixels& now) const {
        const int height = int(now.size()) / width_;
        int blocks = 0;
        for (int y0 = 0; y0 + kBlock <= height; y0 += kBlock)
            for (int x0 = 0; x0 + kBlock <= width_; x0 += kBlock) {
                bool black = true, blackBefore = true;
                for (int y = y0; y < y0 + kBlock && black; ++y)
                    for (int x = x0; x < x0 + kBlock; ++x) {
                        const size_t i = size_t(y) * size_t(width_) + size_t(x);
                        black = black && now[i] == 0;
                        blackBefore = blackBefore && (painted_[i] == 0 || before_[i] == 0);
                    }
                blocks += black && !blackBefore;
            }
        return blocks;
    }

    const int width_;
    const RECT area_;
    const Pixels painted_;
    const Pixels before_;
    const Clock::time_point start_ = Clock::now();
    std::atomic<bool> stop_{false};
    std::atomic<double> wholeMs_{-1};
    int samples_ = 0;
    int blackBlocks_ = 0;
    std::thread thread_;
};

RECT WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

void Settle() {
    PumpUntil([] { return false; }, 300);
}

// The maximize (or restore) button, in the bar's coordinates.
POINT MaxButton(TsuiTitleBar& bar) {
    for (const auto& place : bar.Layout().buttons)
        if (bar.Buttons(place.index).ButtonType() == suiMax)
            return POINT{(place.rect.left + place.rect.right) / 2,
                         (place.rect.top + place.rect.bottom) / 2};
    ADD_FAILURE() << "no maximize button";
    return POINT{};
}

void ClickMax(TsuiTitleBar& bar) {
    const POINT p = MaxButton(bar);
    ClickAt(bar.Handle(), p.x, p.y);
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
    for (const bool toMaximized : {true, false}) {
        SCOPED_TRACE(toMaximized ? "maximize" : "restore");
        SetZoomed(wnd, toMaximized);
        const RECT area = WindowRectOf(wnd);
        const Pixels painted = CaptureScreen(area);
        SetZoomed(wnd, !toMaximized);
        ScreenSampler sampler(area, painted);
        ClickMax(bar);
        PumpUntil([&] { return sampler.Whole(); }, 5000);
        sampler.Stop();
        std::printf("%s: painted whole after %.0f ms (%d readings of the screen), "
                    "%d blocks of black\n",
                    toMaximized ? "maximize" : "restore from maximized", sampler.WholeMs(),
                    sampler.Samples(), sampler.BlackBlocks());
        EXPECT_EQ(toMaximized, IsZoomed(wnd) != FALSE);
        EXPECT_TRUE(sampler.Whole());
        EXPECT_EQ(0, sampler.BlackBlocks());
    }
}

// A person clicks the restore button the moment the window is maximized, or
// the maximize button the moment it is restored; the window system routes
// the click by the window's shape at that moment.
TEST(MainWindowResize, TitleBarClickRightAfterTheSizeChangedActs) {
    MainWindow w;
    TsuiTitleBar& bar = w->suiForm1->TitleBar();
    const HWND wnd = w->Handle();
    const POINT atNormal = bar.ClientToScreen(MaxButton(bar));
    SetZoomed(wnd, true);
    const POINT atMaximized = bar.ClientToScreen(MaxButton(bar));
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
