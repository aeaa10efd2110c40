// The main window in its skinned frame: its size without a system border,
// the title it shows, maximizing onto the work area and back, the inactive
// caption, and the pictures of each for a person to look at.

#include "../support/MainWindow.h"

#include "../support/Rects.h"
#include "framework/Screenshot.h"
#include "skin/SUIThemes.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIStatusBar.h"
#include "skin/controls/SUIToolBar.h"

using namespace main_window_test;

TEST(MainWindowFrame, NormalMaximizedAndInactive) {
    MainWindow w;
    TsuiForm& frame = *w->suiForm1;
    TsuiTitleBar& bar = frame.TitleBar();
    const RECT normal = WindowRectOf(w->Handle());
    // No system border: the window is as large as its client area.
    EXPECT_EQ(913, normal.right - normal.left);
    EXPECT_EQ(718, normal.bottom - normal.top);
    EXPECT_EQ(913, w->ClientWidth());
    EXPECT_EQ((RECT{1, 0, 912, 717}), frame.BoundsRect());
    EXPECT_EQ(33, bar.Height());
    EXPECT_EQ(L"蓝桉房贷按揭计算器V1.0", bar.Caption());
    // The tool bar sits right under the title bar.
    EXPECT_EQ(33, w->suiToolBar1->Top());
    UpdateWindow(w->Handle());
    SaveWindowScreenshot(w->Handle(), L"main-window-frame");
    // The status bar's grip shows in the corner of the sizeable window ...
    TsuiStatusBar& status = *w->suiStatusBar1;
    const RECT grip = status.GripRect();
    EXPECT_EQ(status.Width(), grip.right);
    EXPECT_EQ(status.Height(), grip.bottom);
    EXPECT_LT(grip.left, grip.right);

    POINT p = ButtonCentre(bar, suiMax);
    ClickAt(bar.Handle(), p.x, p.y);
    Pump();
    ASSERT_TRUE(IsZoomed(w->Handle()));
    const RECT work = GetWorkArea();
    EXPECT_EQ(work, WindowRectOf(w->Handle()));
    UpdateWindow(w->Handle());
    SaveWindowScreenshot(w->Handle(), L"main-window-maximized");
    // ... but not on the maximized one.
    const RECT none = status.GripRect();
    EXPECT_TRUE(IsRectEmpty(&none));
    p = ButtonCentre(bar, suiMax);
    ClickAt(bar.Handle(), p.x, p.y);
    Pump();
    EXPECT_FALSE(IsZoomed(w->Handle()));
    EXPECT_EQ(normal, WindowRectOf(w->Handle()));
    UpdateWindow(w->Handle());
    EXPECT_EQ(grip, status.GripRect());

    SendMessageW(w->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(bar.FormActive());
    UpdateWindow(w->Handle());
    SaveWindowScreenshot(w->Handle(), L"main-window-inactive");
    SendMessageW(w->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(bar.FormActive());
}
