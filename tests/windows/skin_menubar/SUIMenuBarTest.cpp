// The menu bar as a person sees it: one button per top-level item with its
// caption, the hot and pressed items filled and framed in the menu's
// selection colours, the submenu dropping under the button it belongs to,
// and the bar following the menu's later changes.

#include "../support/HostForm.h"
#include "../support/MenuItems.h"
#include "../support/Painted.h"
#include "../support/Rects.h"
#include "../support/TestFormFrame.h"

#include "skin/SUIThemes.h"
#include "skin/controls/SUIMainMenu.h"
#include "skin/controls/SUIMenuBar.h"

#include "framework/Screenshot.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr TColor kBarColor = 0xE7E7E7;

// While a popup menu shows, asks check on every tick whether to close it;
// gives up after two seconds. Returns whether a menu showed.
struct MenuWatch {
    static inline std::function<bool(HWND)> check;
    static inline bool seen = false;
    static inline int ticks = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        HWND popup = FindWindowW(L"#32768", nullptr);
        const bool showing = popup && IsWindowVisible(popup);
        seen = seen || showing;
        if (ticks > 100 || (showing && ticks > 3 && (!check || check(popup)))) EndMenu();
    }
};

bool WhileMenuOpen(const std::function<void()>& open, std::function<bool(HWND)> check = {}) {
    MenuWatch::check = std::move(check);
    MenuWatch::seen = false;
    MenuWatch::ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &MenuWatch::Tick);
    open();
    // A bar that opens nothing returns at once: let the timer give up.
    PumpUntil([] { return MenuWatch::seen || MenuWatch::ticks > 25; }, 3000);
    KillTimer(nullptr, timer);
    MenuWatch::check = nullptr;
    return MenuWatch::seen;
}

// Wraps the item's draw handler to log its caption each time it is drawn
// (only drawn selected, with selectedOnly), once per run of draws.
void LogDrawn(TMenuItem* item, std::vector<std::wstring>& log, bool selectedOnly) {
    auto draw = item->OnAdvancedDrawItem;
    item->OnAdvancedDrawItem = [=, &log](TObject* s, TCanvas& c, const RECT& r,
                                         TOwnerDrawState st) {
        draw(s, c, r, st);
        if ((st.Contains(odSelected) || !selectedOnly) &&
            (log.empty() || log.back() != item->Caption()))
            log.push_back(item->Caption());
    };
}

// The smallest rectangle round the pixels inside r near colour ink (text
// with smoothed edges).
RECT InkIn(const TBitmap& b, const RECT& r, TColor ink) {
    auto alike = [](TColor a, TColor c) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((a >> shift) & 0xFF) - int((c >> shift) & 0xFF)) > 0x50) return false;
        return true;
    };
    RECT out{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (alike(b.Pixel(x, y), ink))
                out = RECT{std::min<LONG>(out.left, x), std::min<LONG>(out.top, y),
                           std::max<LONG>(out.right, x + 1), std::max<LONG>(out.bottom, y + 1)};
    return out;
}

class SUIMenuBarTest : public testing::Test {
  protected:
    void SetUp() override {
        frame = FillWithTestFrame(host.get(), TsuiUIStyle::BlueGlass);
        menu = new TsuiMainMenu(host.get());
        file = NewItem(menu->Items(), L"文件(&F)");
        open = NewItem(file, L"打开(&O)");
        NewItem(file, L"退出(&X)");
        edit = NewItem(menu->Items(), L"Edit");
        NewItem(edit, L"Copy");
        edit->SetEnabled(false);
        help = NewItem(menu->Items(), L"帮助信息(&H)");
        NewItem(help, L"关于(&A)");
        menu->InstallItemHandlers();
        bar = new TsuiMenuBar(host.get());
        bar->SetParent(frame);
        bar->SetBarColor(kBarColor);
        bar->SetLook(TsuiUIStyle::BlueGlass, nullptr);
        bar->SetMenu(menu);
        host.Show();
    }

    RECT Rect(int i) { return bar->ButtonRect(bar->Buttons(i)); }
    void Hot(int i) { SendMessageW(bar->Handle(), TB_SETHOTITEM, WPARAM(i), 0); }
    void Press(int i, bool down) {
        SendMessageW(bar->Handle(), TB_PRESSBUTTON, WPARAM(bar->Buttons(i)->CommandId()),
                     MAKELPARAM(down, 0));
    }

    HostForm host{420, 200};
    TestFormFrame* frame = nullptr;
    TsuiMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr, *edit = nullptr, *help = nullptr;
    TsuiMenuBar* bar = nullptr;
};

TEST_F(SUIMenuBarTest, OneButtonPerItemSizedToItsCaptionInMenuOrder) {
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_EQ(bar->Top(), 0);
    const wchar_t* captions[] = {L"文件(&F)", L"Edit", L"帮助信息(&H)"};
    TMemoryCanvas measure;
    measure.Font().Assign(bar->Font());
    int right = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bar->Buttons(i)->Caption(), captions[i]);
        const RECT r = Rect(i);
        EXPECT_EQ(r.bottom - r.top, 22);
        EXPECT_GE(r.left, right);
        right = r.right;
        // As wide as the caption and a little margin, not one width for all.
        const int text = measure.TextWidth(StripAccel(captions[i]));
        EXPECT_GE(r.right - r.left, text);
        EXPECT_LE(r.right - r.left, text + 24);
    }
    EXPECT_TRUE(bar->Buttons(0)->Enabled());
    EXPECT_FALSE(bar->Buttons(1)->Enabled());
    // The font of the skinned menu's items.
    TFont itemFont;
    menu->ItemFont(itemFont);
    EXPECT_EQ(bar->Font().Name(), itemFont.Name());
    EXPECT_EQ(bar->Font().Height(), itemFont.Height());
}

TEST_F(SUIMenuBarTest, HotAndPressedItemsInTheMenusSelectionColours) {
    struct Case {
        TsuiUIStyle style;
        bool pressed;
    };
    const Case cases[] = {{TsuiUIStyle::BlueGlass, false},
                          {TsuiUIStyle::BlueGlass, true},
                          {TsuiUIStyle::WinXP, false},
                          {TsuiUIStyle::WinXP, true}};
    const int i = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.style)) + (c.pressed ? " pressed" : " hot"));
        menu->SetUIStyle(c.style);
        const TColor frameColour = GetBuiltInThemeColor(c.style, 18);
        const TColor fill = GetBuiltInThemeColor(c.style, 19);
        const TColor text = GetBuiltInThemeColor(c.style, 20);
        Hot(i);
        Press(i, c.pressed);
        auto shot = Painted(*bar);
        const RECT r = Rect(i);
        const int right = c.pressed ? r.right - 2 : r.right; // a pressed item is 2 narrower
        EXPECT_EQ(shot->Pixel(r.left, r.top + 5), frameColour);
        EXPECT_EQ(shot->Pixel(right - 1, r.bottom - 1), frameColour);
        EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), fill);
        EXPECT_EQ(shot->Pixel(right - 2, r.bottom - 2), fill);
        if (c.pressed) {
            EXPECT_EQ(shot->Pixel(r.right - 1, r.top + 5), kBarColor);
        }
        // The caption centred in the item, two pixels below the middle (and
        // two further right when pressed): where the bar's font puts it when
        // centred in that place.
        TBitmap expected(bar->Width(), bar->Height());
        expected.Fill(fill);
        expected.Canvas().Font().Assign(bar->Font());
        expected.Canvas().Font().SetColor(text);
        RECT place{r.left + (c.pressed ? 2 : 0), r.top + 2, right + (c.pressed ? 2 : 0),
                   r.bottom + 2};
        expected.Canvas().DrawText(L"帮助信息(H)", place,
                                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        const RECT inside{r.left + 1, r.top + 1, right - 1, r.bottom - 1};
        const RECT ink = InkIn(*shot, inside, text), want = InkIn(expected, inside, text);
        ASSERT_GT(ink.right - ink.left, 30);
        // Smoothing may differ by a pixel at the edges; a misplaced caption is off by two.
        EXPECT_NEAR(ink.left, want.left, 1);
        EXPECT_NEAR(ink.right, want.right, 1);
        EXPECT_NEAR(ink.top, want.top, 1);
        EXPECT_NEAR(ink.bottom, want.bottom, 1);
        // The other items are left to the bar.
        const RECT other = Rect(0);
        EXPECT_EQ(shot->Pixel(other.left + 1, other.top + 1), kBarColor);
        EXPECT_EQ(shot->Pixel(other.right - 2, other.bottom - 2), kBarColor);
        Press(i, false);
    }
}

TEST_F(SUIMenuBarTest, ScreenshotOfABlueGlassBarWithAHotItem) {
    const RECT r = Rect(0);
    POINT centre = bar->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    SetCursorPos(centre.x, centre.y);
    bar->UpdateHotFromCursor();
    PumpUntil([&] { return bar->HotButton() == bar->Buttons(0); });
    TBitmap screen;
    CaptureWindow(bar->Handle(), screen, true);
    SaveScreenshot(screen, L"menubar-blueglass-hot");
    EXPECT_EQ(screen.Pixel(r.left + 2, r.top + 2), TColor(0xEC5E5E));
    EXPECT_EQ(screen.Pixel(Rect(2).left + 2, 2), kBarColor);
    SetCursorPos(0, 0);
}

TEST_F(SUIMenuBarTest, PressingAnItemDropsItsSubmenuUnderTheButton) {
    int opened = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    std::vector<std::wstring> drawn;
    LogDrawn(open, drawn, false);
    RECT menuRect{};
    const RECT r = Rect(0);
    EXPECT_TRUE(WhileMenuOpen([&] { ClickAt(bar->Handle(), r.left + 4, r.top + 4); },
                              [&](HWND popup) { return GetWindowRect(popup, &menuRect); }));
    EXPECT_FALSE(drawn.empty()) << "the submenu is drawn by the menu's skin";
    const POINT below = bar->ClientToScreen(POINT{r.left, r.bottom});
    EXPECT_EQ(menuRect.left, below.x);
    EXPECT_EQ(menuRect.top, below.y);
    EXPECT_EQ(opened, 0);

    // A pick in the dropped menu clicks its item.
    EXPECT_TRUE(WhileMenuOpen([&] { bar->Buttons(0)->Click(); },
                              [posted = false](HWND popup) mutable {
                                  if (!posted) {
                                      PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
                                      PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
                                  }
                                  posted = true;
                                  return false;
                              }));
    PumpUntil([&] { return opened == 1; });
    EXPECT_EQ(opened, 1);

    // A disabled item drops nothing.
    const RECT off = Rect(1);
    EXPECT_FALSE(WhileMenuOpen([&] { ClickAt(bar->Handle(), off.left + 4, off.top + 4); }));

    // Alt and the item's letter drop it too, its first item selected.
    std::vector<std::wstring> selected;
    LogDrawn(help->Items(0), selected, true);
    EXPECT_TRUE(WhileMenuOpen(
        [&] { host->Perform(CM_DIALOGCHAR, L'h', LPARAM(TShiftState{ssAlt}.Bits())); }));
    EXPECT_EQ(selected, std::vector<std::wstring>{L"关于(&A)"});
}

TEST_F(SUIMenuBarTest, TheMouseOrTheArrowsMoveAnOpenMenuAlongTheBar) {
    std::vector<std::wstring> selected, shown;
    for (TMenuItem* item : {open, help->Items(0)}) {
        LogDrawn(item, selected, true);
        LogDrawn(item, shown, false);
    }

    // Sliding from the first item onto the third (past the disabled one).
    int step = 0;
    const RECT r = Rect(2);
    EXPECT_TRUE(WhileMenuOpen([&] { bar->DropDown(0); },
                              [&](HWND popup) {
                                  if (step++ == 0) {
                                      POINT over = bar->ClientToScreen(
                                          POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                                      SetCursorPos(over.x, over.y);
                                      PostMessageW(popup, WM_MOUSEMOVE, 0, 0);
                                  }
                                  return shown.size() >= 2 || step > 40;
                              }));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"打开(&O)", L"关于(&A)"}));
    SetCursorPos(0, 0);
    Pump();

    // Right from the last item wraps round to the first, left goes back;
    // the disabled item is passed over and each menu opens with its first
    // item selected.
    selected.clear();
    step = 0;
    EXPECT_TRUE(WhileMenuOpen([&] { bar->DropDown(2); },
                              [&](HWND popup) {
                                  ++step;
                                  if (step == 1) PostMessageW(popup, WM_KEYDOWN, VK_RIGHT, 0);
                                  if (step == 10) PostMessageW(popup, WM_KEYDOWN, VK_LEFT, 0);
                                  return step > 20;
                              }));
    EXPECT_EQ(selected, (std::vector<std::wstring>{L"打开(&O)", L"关于(&A)"}));
}

TEST_F(SUIMenuBarTest, FollowsTheMenusCaptionsStatesAndItems) {
    file->SetCaption(L"档案(&D)");
    edit->SetEnabled(true);
    help->SetVisible(false);
    bar->UpdateFromMenu();
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(0)->Caption(), L"档案(&D)");
    EXPECT_TRUE(bar->Buttons(1)->Enabled());
    const RECT hidden = Rect(2);
    EXPECT_TRUE(IsRectEmpty(&hidden));

    NewItem(menu->Items(), L"More");
    bar->UpdateFromMenu();
    ASSERT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(bar->Buttons(3)->Caption(), L"More");

    bar->SetMenu(nullptr);
    EXPECT_EQ(bar->ButtonCount(), 0);
    auto shot = Painted(*bar);
    EXPECT_EQ(shot->Pixel(10, 10), kBarColor);

    // A freed menu leaves an empty bar as well.
    bar->SetMenu(menu);
    EXPECT_EQ(bar->ButtonCount(), 4);
    menu->Free();
    EXPECT_EQ(bar->Menu(), nullptr);
    EXPECT_EQ(bar->ButtonCount(), 0);
}

TEST_F(SUIMenuBarTest, MacOSLookStretchesItsStrips) {
    TBitmap barStrip, select;
    barStrip.LoadFromResourceName(MainInstance(), L"MACOS_MENU_BAR");
    select.LoadFromResourceName(MainInstance(), L"MACOS_MENU_SELECT");
    ASSERT_EQ(barStrip.Height(), 22);
    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        Hot(0);
        auto shot = Painted(*bar);
        const RECT hot = Rect(0), plain = Rect(1);
        for (int y = 0; y < 22; ++y)
            EXPECT_EQ(shot->Pixel(bar->Width() - 3, y), barStrip.Pixel(0, y)) << y;
        EXPECT_EQ(shot->Pixel(plain.left + 1, 1), barStrip.Pixel(0, 1));
        EXPECT_EQ(shot->Pixel(hot.left + 1, hot.top), select.Pixel(0, 0));
        EXPECT_EQ(shot->Pixel(hot.right - 1, hot.bottom - 1), select.Pixel(0, select.Height() - 1));
    };
    // The skinned menu's own style wins over the window's.
    menu->SetUIStyle(TsuiUIStyle::MacOS);
    check("skinned menu in MacOS");

    // Any other menu takes the window's style.
    TOwned<TMainMenu> plainMenu(new TMainMenu(nullptr));
    NewItem(NewItem(plainMenu->Items(), L"File"), L"Open");
    NewItem(NewItem(plainMenu->Items(), L"View"), L"Zoom");
    bar->SetMenu(plainMenu.get());
    bar->SetLook(TsuiUIStyle::MacOS, nullptr);
    check("window in MacOS");
    bar->SetLook(TsuiUIStyle::BlueGlass, nullptr);
    Hot(0);
    auto shot = Painted(*bar);
    EXPECT_EQ(shot->Pixel(Rect(0).left + 1, 1), TColor(0xEC5E5E));
    EXPECT_EQ(shot->Pixel(bar->Width() - 3, 1), kBarColor);
    bar->SetMenu(nullptr);
}

TEST_F(SUIMenuBarTest, RestylingAndRebuildingLeavesNoGdiObjects) {
    const TsuiUIStyle styles[] = {TsuiUIStyle::BlueGlass, TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                                  TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein};
    auto round = [&](int i) {
        const TsuiUIStyle s = styles[i % 5];
        bar->SetLook(s, nullptr);
        menu->SetUIStyle(s);
        menu->SetUseSystemFont(i % 2 == 0);
        bar->SetMenu(i % 3 == 0 ? nullptr : menu);
        bar->UpdateFromMenu();
        if (bar->ButtonCount()) Hot(0);
        Painted(*bar);
    };
    for (int i = 0; i < 5; ++i)
        round(i);
    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 50; ++i)
        round(i);
    EXPECT_LE(ProcessGdiObjectCount(), before + 2);
}

} // namespace
