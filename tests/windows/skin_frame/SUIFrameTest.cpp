// The skinned frame on real windows: where the title bar puts its buttons
// and caption, what the mouse does on it, maximizing onto the work area, the
// resize zones, the window region and the pictures kept by a custom bar.

#include "../support/HostForm.h"
#include "../support/MessagePump.h"
#include "../support/Painted.h"
#include "../support/Rects.h"

#include "skin/SUIThemes.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIMainMenu.h"
#include "skin/controls/SUIMenuBar.h"

#include "framework/Screenshot.h"

#include "framework/GdiHandles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// A shown window of client size 400 x 300 with its frame in style.
struct FramedForm {
    explicit FramedForm(TsuiUIStyle style = TsuiUIStyle::BlueGlass,
                        TFormBorderStyle border = bsSizeable) {
        host->SetBorderStyle(border);
        frame = new TsuiForm(host.get());
        frame->SetParent(host.get());
        frame->SetUIStyle(style);
        frame->SetCaption(L"Frame");
        host->SetClientWidth(400);
        host->SetClientHeight(300);
        host.Show();
        UpdateWindow(host->Handle());
    }
    HWND Handle() const { return host->Handle(); }
    TsuiTitleBar& Bar() const { return frame->TitleBar(); }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(host->Handle(), &r);
        return r;
    }

    HostForm host;
    TsuiForm* frame = nullptr;
};

std::map<TsuiTitleBarBtnType, RECT> ButtonRects(const TsuiTitleBar& bar) {
    std::map<TsuiTitleBarBtnType, RECT> out;
    for (const auto& place : bar.Layout().buttons)
        out[bar.Buttons(place.index).ButtonType()] = place.rect;
    return out;
}

POINT Centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int CountColour(const TBitmap& b, const RECT& area, TColor colour) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += b.Pixel(x, y) == colour;
    return n;
}

bool gMenuSeen = false;

// Notes whether a menu is open, then closes it, so no test waits on a menu.
void CALLBACK NoteAndEndMenu(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE))
        gMenuSeen = true;
    EndMenu();
}

} // namespace

TEST(TitleBar, BlueGlassPutsButtonsAndCaptionWhereTheStyleSays) {
    FramedForm f;
    TsuiTitleBar& bar = f.Bar();
    const int W = bar.ClientWidth();
    EXPECT_EQ(398, W); // the window less its one-pixel border on each side
    EXPECT_EQ(33, bar.Height());
    EXPECT_EQ(1, f.frame->Left());
    EXPECT_EQ(0, f.frame->Top());
    EXPECT_EQ(299, f.frame->Height());

    auto rects = ButtonRects(bar);
    const struct {
        TsuiTitleBarBtnType type;
        int left;
    } want[] = {{suiClose, W - 22}, {suiMax, W - 42}, {suiMin, W - 62}, {suiControlBox, 4}};
    for (const auto& w : want) {
        SCOPED_TRACE(int(w.type));
        ASSERT_TRUE(rects.count(w.type));
        EXPECT_EQ(RECT(w.left, 6, w.left + 19, 25), rects[w.type]);
    }
    EXPECT_EQ(28, bar.Layout().captionLeft);

    // The close button is painted from its picture, the border round the window in black.
    auto painted = Painted(bar);
    const TsuiTitleBarButton& close = bar.Buttons(1);
    ASSERT_EQ(suiClose, close.ButtonType());
    const TBitmap* pic = dynamic_cast<const TBitmap*>(close.PicNormal().Graphic());
    ASSERT_NE(nullptr, pic);
    EXPECT_EQ(pic->Pixel(9, 9), painted->Pixel(W - 22 + 9, 6 + 9));
    // Hot while the mouse messages say it is over the button, wherever the pointer is.
    auto* over = dynamic_cast<const TBitmap*>(bar.Buttons(1).PicMouseOn().Graphic());
    ASSERT_TRUE(over && over->Pixel(4, 4) != pic->Pixel(4, 4));
    SetCursorPos(0, 0);
    const std::pair<UINT, const TBitmap*> moves[] = {
        {WM_MOUSEMOVE, over}, {WM_NULL, over}, {WM_MOUSELEAVE, pic}};
    for (const auto& [message, shown] : moves) {
        bar.Perform(message, 0, MAKELPARAM(W - 22 + 4, 6 + 4));
        EXPECT_EQ(shown->Pixel(4, 4), Painted(bar)->Pixel(W - 22 + 4, 6 + 4));
    }
    HDC dc = GetDC(f.Handle());
    EXPECT_EQ(0u, GetPixel(dc, 0, 150));
    EXPECT_EQ(0u, GetPixel(dc, 399, 150));
    EXPECT_EQ(0u, GetPixel(dc, 200, 299));
    ReleaseDC(f.Handle(), dc);
}

TEST(TitleBar, LongCaptionEndsInDotsAndLeavesTheButtonsAlone) {
    FramedForm f;
    TsuiTitleBar& bar = f.Bar();
    auto before = Painted(bar);
    f.frame->SetCaption(std::wstring(200, L'长'));
    auto after = Painted(bar);
    for (const auto& place : bar.Layout().buttons) {
        const RECT& r = place.rect;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                ASSERT_EQ(before->Pixel(x, y), after->Pixel(x, y)) << x << "," << y;
    }

    TBitmap scratch(10, 10);
    TCanvas& canvas = scratch.Canvas();
    canvas.SetFont(bar.Font());
    const TsuiTitleBar::TLayout layout = bar.Layout();
    const int available = layout.captionRight - layout.captionLeft;
    const std::wstring shown = bar.ShownCaption(canvas, available);
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(L"...", shown.substr(shown.size() - 3));
    EXPECT_LE(canvas.TextWidth(shown), available);
    // No room even for the dots: they are shown, clipped.
    EXPECT_EQ(L"...", bar.ShownCaption(canvas, 2));
    EXPECT_EQ(L"Frame", (f.frame->SetCaption(L"Frame"), bar.ShownCaption(canvas, available)));
}

TEST(TitleBar, InactiveCaptionTakesTheSystemColourUntilReactivated) {
    FramedForm f;
    TsuiTitleBar& bar = f.Bar();
    f.frame->SetCaption(L"WWWWWWWW");
    const RECT caption{28, 6, 200, 25};
    const TColor inactive = ColorToRGB(TColor(0xFF000003));

    SendMessageW(f.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(bar.FormActive());
    auto off = Painted(bar);
    EXPECT_GT(CountColour(*off, caption, inactive), 10);
    EXPECT_EQ(0, CountColour(*off, caption, clWhite));

    SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(bar.FormActive());
    auto on = Painted(bar);
    EXPECT_GT(CountColour(*on, caption, clWhite), 10);
}

TEST(TitleBarMouse, DoubleClicksMaximizeRestoreAndClose) {
    FramedForm f;
    TsuiTitleBar& bar = f.Bar();
    const RECT normal = f.WindowRect();
    const RECT work = GetWorkArea();

    DoubleClickAt(bar.Handle(), 200, 15);
    ASSERT_TRUE(IsZoomed(f.Handle()));
    EXPECT_EQ(work, f.WindowRect());
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(ERROR, GetWindowRgn(f.Handle(), region.Get())); // square while maximized
    // The maximize button shows the restore glyph.
    TBitmap restore;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::TitleBarButtonImage, &restore, 10,
                          18);
    const TBitmap* shown = dynamic_cast<const TBitmap*>(bar.Buttons(2).PicNormal().Graphic());
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(restore.Pixel(9, 9), shown->Pixel(9, 9));
    {
        // A held button on the caption of a maximized window moves nothing.
        HeldKeys held(false, false);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_LBUTTON] = 0x80;
        SetKeyboardState(keys);
        ClickAt(bar.Handle(), 200, 15);
    }
    EXPECT_EQ(work, f.WindowRect());

    DoubleClickAt(bar.Handle(), 200, 15);
    EXPECT_FALSE(IsZoomed(f.Handle()));
    EXPECT_EQ(normal, f.WindowRect());

    bool closed = false;
    f.host->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    const POINT box = Centre(ButtonRects(bar)[suiControlBox]);
    DoubleClickAt(bar.Handle(), box.x, box.y);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
}

TEST(TitleBarMouse, ButtonsMinimizeMaximizeAndClose) {
    FramedForm f;
    TsuiTitleBar& bar = f.Bar();
    POINT p = Centre(ButtonRects(bar)[suiMax]);
    ClickAt(bar.Handle(), p.x, p.y);
    EXPECT_TRUE(IsZoomed(f.Handle()));
    p = Centre(ButtonRects(bar)[suiMax]);
    ClickAt(bar.Handle(), p.x, p.y);
    EXPECT_FALSE(IsZoomed(f.Handle()));

    p = Centre(ButtonRects(bar)[suiMin]);
    ClickAt(bar.Handle(), p.x, p.y);
    EXPECT_TRUE(IsIconic(f.Handle()));
    ShowWindow(f.Handle(), SW_RESTORE);
    Pump();
    EXPECT_FALSE(IsIconic(f.Handle()));
    // Restored from the task bar's side, the frame is whole again.
    EXPECT_EQ(398, bar.ClientWidth());

    p = Centre(ButtonRects(bar)[suiClose]);
    ClickAt(bar.Handle(), p.x, p.y);
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
}

TEST(TitleBarMouse, DraggingTheCaptionMovesTheWindow) {
    FramedForm f;
    const RECT before = f.WindowRect();
    POINT start = f.Bar().ClientToScreen(POINT{200, 15});
    SetCursorPos(start.x, start.y);
    Pump();
    INPUT in[3] = {};
    for (auto& i : in)
        i.type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_MOVE;
    in[1].mi.dx = 40;
    in[1].mi.dy = 30;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
    PumpUntil([&] { return f.WindowRect().left != before.left; }, 3000);
    Pump();
    // The window follows the pointer, however far the system's acceleration took it.
    const RECT after = f.WindowRect();
    POINT end{};
    GetCursorPos(&end);
    EXPECT_GT(end.x, start.x);
    EXPECT_EQ(end.x - start.x, after.left - before.left);
    EXPECT_EQ(end.y - start.y, after.top - before.top);
}

TEST(FrameZones, SizeableWindowsHaveThemDialogsAndMaximizedWindowsDoNot) {
    FramedForm f;
    const struct {
        POINT p;
        LRESULT zone;
    } cases[] = {{{1, 150}, HTLEFT},       {{398, 150}, HTRIGHT},       {{200, 1}, HTTOP},
                 {{200, 298}, HTBOTTOM},   {{4, 4}, HTTOPLEFT},         {{396, 4}, HTTOPRIGHT},
                 {{1, 298}, HTBOTTOMLEFT}, {{398, 298}, HTBOTTOMRIGHT}, {{200, 150}, HTCLIENT}};
    for (const auto& c : cases) {
        POINT s = c.p;
        ClientToScreen(f.Handle(), &s);
        SCOPED_TRACE(std::to_string(c.p.x) + "," + std::to_string(c.p.y));
        EXPECT_EQ(c.zone, SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
        // The children covering a zone let the window answer there.
        HWND child = WindowFromPoint(s);
        if (c.zone != HTCLIENT) {
            EXPECT_EQ(f.Handle(), child);
        } else {
            EXPECT_NE(f.Handle(), child);
        }
    }
    ShowWindow(f.Handle(), SW_MAXIMIZE);
    Pump();
    POINT edge{1, 150};
    ClientToScreen(f.Handle(), &edge);
    EXPECT_EQ(HTCLIENT, SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)));

    FramedForm dialog(TsuiUIStyle::BlueGlass, bsDialog);
    POINT d{1, 150};
    ClientToScreen(dialog.Handle(), &d);
    EXPECT_EQ(HTCLIENT, SendMessageW(dialog.Handle(), WM_NCHITTEST, 0, MAKELPARAM(d.x, d.y)));
}

TEST(FrameRegion, TopCornersRoundBottomCornersSquare) {
    FramedForm f;
    EXPECT_EQ(11, f.frame->RoundCorner());
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetWindowRgn(f.Handle(), region.Get()));
    const struct {
        POINT p;
        bool inside;
    } probes[] = {{{0, 0}, false},  {{399, 0}, false},  {{1, 1}, false},
                  {{200, 0}, true}, {{0, 150}, true},   {{6, 6}, true},
                  {{0, 299}, true}, {{399, 299}, true}, {{399, 150}, true}};
    for (const auto& probe : probes)
        EXPECT_EQ(probe.inside, PtInRegion(region.Get(), probe.p.x, probe.p.y) != FALSE)
            << probe.p.x << "," << probe.p.y;

    // A square style sets no region at all.
    f.frame->SetUIStyle(TsuiUIStyle::DeepBlue);
    EXPECT_EQ(0, f.frame->RoundCorner());
    EXPECT_EQ(ERROR, GetWindowRgn(f.Handle(), region.Get()));
}

TEST(TitleBarStyles, CustomBarKeepsTheUsersPicturesAcrossStyles) {
    FramedForm f;
    f.frame->SetTitleBarCustom(true);
    f.frame->ClearTitleBarSections();
    TsuiTitleBarSection& s = f.frame->AddTitleBarSection();
    s.Picture().Bitmap().SetSize(10, 33);
    s.Picture().Bitmap().Fill(clRed);
    s.SetAlign(suiClient);
    TBitmap green(19, 19);
    green.Fill(clLime);
    f.frame->TitleBarButtons(1).PicNormal().SetGraphic(&green);

    for (TsuiUIStyle style : {TsuiUIStyle::WinXP, TsuiUIStyle::MacOS, TsuiUIStyle::BlueGlass}) {
        f.frame->SetUIStyle(style);
        ASSERT_EQ(1, f.frame->TitleBarSectionCount());
        auto painted = Painted(f.Bar());
        EXPECT_EQ(clRed, painted->Pixel(100, 20));
        const TBitmap* pic =
            dynamic_cast<const TBitmap*>(f.frame->TitleBarButtons(1).PicNormal().Graphic());
        ASSERT_NE(nullptr, pic);
        EXPECT_EQ(clLime, pic->Pixel(5, 5));
    }
    f.frame->SetTitleBarCustom(false);
    f.frame->SetUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(3, f.frame->TitleBarSectionCount());
}

TEST(TitleBarMenu, ItemsFollowTheButtonsPresent) {
    FramedForm f;
    f.frame->ClearTitleBarButtons();
    f.frame->AddTitleBarButton(suiControlBox);
    f.frame->AddTitleBarButton(suiClose);
    TsuiTitleBarPopupMenu& menu = f.Bar().SystemMenu();
    ASSERT_EQ(4, menu.Items()->Count());
    EXPECT_EQ(L"Mi&nimize", menu.Items()->Items(0)->Caption());
    EXPECT_EQ(L"Ma&ximize/Restore", menu.Items()->Items(1)->Caption());
    EXPECT_EQ(L"&Close", menu.Items()->Items(3)->Caption());
    // Alt+Space opens it, as the keyboard expects of a window.
    gMenuSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, NoteAndEndMenu);
    SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(gMenuSeen);
    EXPECT_FALSE(menu.Items()->Items(0)->Enabled());
    EXPECT_FALSE(menu.Items()->Items(1)->Enabled());
    EXPECT_TRUE(menu.Items()->Items(3)->Enabled());

    menu.Items()->Items(3)->Click();
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
}

TEST(FrameMenuBar, MenuShownUnderTheTitleBarWithItsShortcutsAndGoneWithIt) {
    FramedForm f;
    f.host->SetCaption(L"菜单");
    auto* menu = new TsuiMainMenu(f.host.get());
    auto add = [&](TMenuItem* parent, const wchar_t* caption) {
        auto* item = new TMenuItem(f.host.get());
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    TMenuItem* file = add(menu->Items(), L"文件(&F)");
    TMenuItem* fresh = add(file, L"新建(&N)");
    fresh->SetShortCut(ShortCut('N', TShiftState{ssCtrl}));
    int clicks = 0;
    fresh->OnClick = [&](TObject*) { ++clicks; };
    TMenuItem* edit = add(menu->Items(), L"编辑(&E)");
    add(edit, L"复制(&C)");
    edit->SetEnabled(false);
    add(add(menu->Items(), L"帮助(&H)"), L"关于(&A)");
    menu->InstallItemHandlers();

    ASSERT_EQ(menu, f.frame->Menu());
    TsuiMenuBar* bar = f.frame->MenuBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(33, bar->Top());
    EXPECT_EQ(22, bar->Height());
    ASSERT_EQ(3, bar->ButtonCount());
    EXPECT_FALSE(bar->Buttons(1)->Enabled());
    UpdateWindow(f.Handle());
    auto painted = Painted(*bar);
    EXPECT_EQ(TColor(0xE7E7E7), painted->Pixel(bar->Width() - 5, 10));
    SaveWindowScreenshot(f.Handle(), L"frame-menubar-blueglass");

    // Its shortcuts work through the window.
    {
        HeldKeys ctrl(false, true);
        SendMessageW(f.Handle(), WM_KEYDOWN, 'N', 1);
    }
    EXPECT_EQ(1, clicks);

    f.frame->SetMenu(nullptr);
    EXPECT_EQ(nullptr, f.frame->MenuBar());
}

// A child that shows the frame through gets the frame's tiles where they
// lie on the frame, not restarted at the child's corner.
TEST(FrameBackground, PatternTilesLineUpUnderAChild) {
    for (TsuiUIStyle style : {TsuiUIStyle::MacOS, TsuiUIStyle::Protein}) {
        FramedForm f(style);
        auto* child = Make<TPanel>(f.host.get(), f.frame, 37, 45, 16, 16);
        const auto whole = Painted(*f.frame);
        TBitmap part(16, 16);
        PaintParentBackground(part.Canvas(), *child);
        int mismatches = 0;
        bool patterned = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                mismatches += part.Pixel(x, y) != whole->Pixel(37 + x, 45 + y);
                patterned |= part.Pixel(x, y) != part.Pixel(0, 0);
            }
        EXPECT_TRUE(patterned);
        EXPECT_EQ(0, mismatches) << int(style);
    }
}

TEST(FrameGdi, NoGrowthAfterResizesAndStyleChanges) {
    FramedForm f;
    const TsuiUIStyle styles[] = {TsuiUIStyle::WinXP, TsuiUIStyle::MacOS, TsuiUIStyle::DeepBlue,
                                  TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass};
    auto resizes = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            f.host->SetBounds(80, 80, 400 + (i % 7) * 13, 300 + (i % 5) * 11);
            UpdateWindow(f.Handle());
        }
    };
    auto restyles = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            f.frame->SetUIStyle(styles[i % 5]);
            UpdateWindow(f.Handle());
        }
    };
    resizes(5);
    restyles(5);
    Pump();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD start = GetTickCount();
    resizes(100);
    const DWORD resizing = GetTickCount() - start;
    start = GetTickCount();
    restyles(100);
    const DWORD restyling = GetTickCount() - start;
    Pump();
    std::printf("100 resizes: %lu ms, 100 style changes: %lu ms, each repainted\n",
                static_cast<unsigned long>(resizing), static_cast<unsigned long>(restyling));
    EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}
