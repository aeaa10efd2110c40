// The skinned status bar as a person sees it: the style's colour, the grip
// in the bottom-right corner only where the window may be resized by it, the
// sizing cursor over it, and the window following a drag of it.

#include "../support/HostForm.h"
#include "../support/Painted.h"
#include "../support/Rects.h"
#include "../support/TestFormFrame.h"

#include "skin/SUIThemes.h"
#include "skin/controls/SUIStatusBar.h"

#include "framework/Screenshot.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

namespace {

class SUIStatusBarTest : public testing::Test {
  protected:
    void SetUp() override {
        frame = FillWithTestFrame(host.get(), TsuiUIStyle::BlueGlass);
        frame->SetSizeGripAllowed(true);
        bar = new TsuiStatusBar(host.get());
        bar->SetParent(frame);
        bar->Panels().Add().SetWidth(300);
        bar->Panels().Add().SetText(L"欢迎");
        grip.LoadFromResourceName(MainInstance(), L"STATUSBAR_HANDLE");
        host.Show();
    }

    // Pixels of the grip bitmap (its key colour left out) that the painted
    // bar, or the bar on screen, does not show at the grip's place.
    int GripMisses(TsuiStatusBar& b, bool onScreen = false) {
        auto shot = Painted(b);
        if (onScreen) {
            b.Invalidate();
            CaptureWindow(b.Handle(), *shot, true);
        }
        const int x0 = b.Width() - grip.Width() - 1, y0 = b.Height() - grip.Height() - 1;
        const TColor key = grip.Pixel(0, grip.Height() - 1);
        int misses = 0;
        for (int y = 0; y < grip.Height(); ++y)
            for (int x = 0; x < grip.Width(); ++x)
                if (grip.Pixel(x, y) != key && shot->Pixel(x0 + x, y0 + y) != grip.Pixel(x, y))
                    ++misses;
        return misses;
    }
    int GripPixels() {
        const TColor key = grip.Pixel(0, grip.Height() - 1);
        int n = 0;
        for (int y = 0; y < grip.Height(); ++y)
            for (int x = 0; x < grip.Width(); ++x)
                n += grip.Pixel(x, y) != key;
        return n;
    }
    LRESULT Mouse(UINT msg, WPARAM keys, int x, int y) {
        return SendMessageW(bar->Handle(), msg, keys, MAKELPARAM(x, y));
    }

    HostForm host{400, 300};
    TestFormFrame* frame = nullptr;
    TsuiStatusBar* bar = nullptr;
    TBitmap grip;
};

TEST_F(SUIStatusBarTest, TakesTheFramesStyleAndPaintsInTheStyleColour) {
    EXPECT_EQ(bar->UIStyle(), TsuiUIStyle::BlueGlass);
    for (TsuiUIStyle style : {TsuiUIStyle::BlueGlass, TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                              TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein}) {
        SCOPED_TRACE(int(style));
        bar->SetUIStyle(style);
        const TColor expected = GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor);
        EXPECT_EQ(bar->PanelColor(), expected);
        auto shot = Painted(*bar);
        EXPECT_EQ(shot->Pixel(150, bar->Height() / 2), ColorToRGB(expected));
        EXPECT_EQ(shot->Pixel(360, bar->Height() / 2), ColorToRGB(expected));
    }
}

TEST_F(SUIStatusBarTest, GripShowsOnlyOnAFrameThatAllowsIt) {
    ASSERT_EQ(grip.Width(), 11);
    ASSERT_GT(GripPixels(), 10);
    const int w = bar->Width(), h = bar->Height();
    const RECT hot{w - 5 - 2, h - 5 - 2, w, h};

    EXPECT_EQ(GripMisses(*bar), 0);
    EXPECT_EQ(GripMisses(*bar, true), 0);
    EXPECT_EQ(bar->GripRect(), hot);

    // Maximized (or designed with a fixed border): no grip, and its old
    // corner no longer reacts.
    frame->SetSizeGripAllowed(false);
    EXPECT_EQ(GripMisses(*bar), GripPixels());
    EXPECT_EQ(bar->GripRect(), (RECT{0, 0, 0, 0}));
    Mouse(WM_MOUSEMOVE, 0, w - 2, h - 2);
    EXPECT_EQ(bar->Cursor(), crDefault);

    frame->SetSizeGripAllowed(true);
    EXPECT_EQ(GripMisses(*bar), 0);

    // Straight on a form the bar never shows one.
    auto* plain = Make<TsuiStatusBar>(host.get(), host.get());
    plain->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(GripMisses(*plain), GripPixels());
    EXPECT_EQ(plain->GripRect(), (RECT{0, 0, 0, 0}));
}

TEST_F(SUIStatusBarTest, SizingCursorOverTheGripOnly) {
    Painted(*bar);
    const int w = bar->Width(), h = bar->Height();
    struct Case {
        POINT at;
        TCursor cursor;
    };
    const Case cases[] = {{{w - 1, h - 1}, crSizeNWSE}, {{w - 7, h - 7}, crSizeNWSE},
                          {{w - 8, h - 2}, crDefault},  {{w - 2, h - 8}, crDefault},
                          {{w / 2, h / 2}, crDefault},  {{w - 4, h - 4}, crSizeNWSE}};
    for (const Case& c : cases) {
        Mouse(WM_MOUSEMOVE, 0, c.at.x, c.at.y);
        EXPECT_EQ(bar->Cursor(), c.cursor) << c.at.x << "," << c.at.y;
    }
    // The cursor the system shows is the diagonal one.
    POINT screen = bar->ClientToScreen(POINT{w - 4, h - 4});
    SetCursorPos(screen.x, screen.y);
    SendMessageW(bar->Handle(), WM_SETCURSOR, WPARAM(bar->Handle()), MAKELPARAM(HTCLIENT, 0));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    SetCursorPos(0, 0);
}

TEST_F(SUIStatusBarTest, DraggingTheGripResizesTheWindowDownToItsMinimum) {
    host->Constraints().SetMinWidth(250);
    host->Constraints().SetMinHeight(180);
    Painted(*bar);
    const int left = host->Left(), top = host->Top();
    POINT start{bar->Width() - 3, bar->Height() - 3};
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, start.x, start.y);

    // The window's bottom-right corner follows the pointer, 5 pixels beyond.
    const POINT moves[] = {{start.x + 60, start.y + 40}, {start.x - 30, start.y - 20}};
    for (POINT to : moves) {
        const POINT screen = bar->ClientToScreen(to);
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, to.x, to.y);
        EXPECT_EQ(host->Width(), screen.x - left + 5);
        EXPECT_EQ(host->Height(), screen.y - top + 5);
        EXPECT_EQ(host->Left(), left);
        EXPECT_EQ(host->Top(), top);
    }
    // Far up and left: the minimum size holds.
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, -600, -600);
    EXPECT_EQ(host->Width(), 250);
    EXPECT_EQ(host->Height(), 180);

    // Released: moving no longer resizes.
    Mouse(WM_LBUTTONUP, 0, bar->Width() - 3, bar->Height() - 3);
    Mouse(WM_MOUSEMOVE, 0, bar->Width() + 100, bar->Height() + 100);
    EXPECT_EQ(host->Width(), 250);
    EXPECT_EQ(GetCapture(), nullptr);

    // A drag that starts beside the grip does not resize either.
    Painted(*bar);
    Mouse(WM_MOUSEMOVE, 0, 20, 5);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 20, 5);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, bar->Width() + 80, bar->Height() + 80);
    Mouse(WM_LBUTTONUP, 0, 20, 5);
    EXPECT_EQ(host->Width(), 250);
    EXPECT_EQ(host->Height(), 180);
}

} // namespace
