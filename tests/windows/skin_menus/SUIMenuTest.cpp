// Skinned menus: each item drawn by its menu's handler into a bitmap (as the
// system has it drawn) and probed where the skin fixes the pixels; the main
// menu meeting the window frame; real popups for the screens and GDI count.

#include "../support/GdiObjects.h"
#include "../support/HostForm.h"
#include "../support/MenuItems.h"
#include "../support/TestFormFrame.h"

#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIMainMenu.h"

#include "framework/FormReader.h"
#include "framework/Screenshot.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr TColor kBlueGlassBar = 0xCED3D6;
constexpr TColor kBlueGlassBack = 0xE7E7E7;
constexpr TColor kBlueGlassSelected = 0xEC5E5E;

// A menu in a style, owned by nobody.
template <class M> TOwned<M> NewMenu(TsuiUIStyle style) {
    TOwned<M> menu(new M(nullptr));
    menu->SetUIStyle(style);
    return menu;
}

// The item as its menu measures and draws it into a bitmap of the given width.
std::unique_ptr<TBitmap> Drawn(TMenuItem* item, TOwnerDrawState state = {}, int width = 200) {
    TMemoryCanvas measure;
    int w = 0, h = 0;
    item->MeasureItem(measure, w, h);
    auto b = std::make_unique<TBitmap>(width, h);
    b->Fill(clFuchsia);
    item->AdvancedDrawItem(b->Canvas(), RECT{0, 0, width, h}, state, false);
    return b;
}

int Count(const TBitmap& b, RECT area, const std::function<bool(TColor)>& which) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (which(b.Pixel(x, y))) ++n;
    return n;
}
// Text ink, smoothed edges or not.
int Channel(TColor c, int shift) {
    return int((c >> shift) & 0xFF);
}
bool Dark(TColor c) {
    return Channel(c, 0) < 0x60 && Channel(c, 8) < 0x60 && Channel(c, 16) < 0x60;
}
bool Light(TColor c) {
    return Channel(c, 0) > 0xC0 && Channel(c, 8) > 0xC0 && Channel(c, 16) > 0xC0;
}
bool Grey(TColor c) {
    for (int shift : {0, 8, 16})
        if (Channel(c, shift) < 0x70 || Channel(c, shift) > 0xB8) return false;
    return true;
}

TEST(SkinnedMenu, BlueGlassItemsShowBarSelectionSeparatorAndDisabledLooks) {
    auto menu = NewMenu<TsuiPopupMenu>(TsuiUIStyle::BlueGlass);
    auto* plain = NewItem(menu->Items(), L"Compute (&J)", ShortCut('J', {ssCtrl}));
    auto* line = NewItem(menu->Items(), L"-");
    auto* off = NewItem(menu->Items(), L"Unavailable");
    auto* bold = NewItem(menu->Items(), L"Compute (&J)");
    off->SetEnabled(false);
    bold->SetDefault(true);
    menu->InstallItemHandlers();
    const RECT text{30, 0, 130, 21};

    auto normal = Drawn(plain);
    ASSERT_EQ(normal->Height(), 21);
    EXPECT_EQ(normal->Pixel(0, 10), kBlueGlassBar);
    EXPECT_EQ(normal->Pixel(25, 10), kBlueGlassBar);
    EXPECT_EQ(normal->Pixel(26, 10), kBlueGlassBack);
    EXPECT_EQ(normal->Pixel(199, 20), kBlueGlassBack);
    EXPECT_GT(Count(*normal, text, Dark), 20);
    // The shortcut text ends 16 pixels from the right edge.
    EXPECT_GT(Count(*normal, RECT{150, 0, 184, 21}, Dark), 10);
    EXPECT_EQ(Count(*normal, RECT{184, 0, 200, 21}, Dark), 0);

    auto selected = Drawn(plain, {odSelected});
    for (POINT p : {POINT{0, 0}, POINT{5, 10}, POINT{199, 20}, POINT{100, 1}})
        EXPECT_EQ(selected->Pixel(p.x, p.y), kBlueGlassSelected) << p.x << "," << p.y;
    EXPECT_GT(Count(*selected, text, Light), 20);
    EXPECT_EQ(Count(*selected, text, Dark), 0);

    // Disabled: never highlighted, grey text, even when reported selected.
    auto disabled = Drawn(off, {odSelected, odDisabled});
    EXPECT_EQ(disabled->Pixel(5, 10), kBlueGlassBar);
    EXPECT_EQ(disabled->Pixel(199, 10), kBlueGlassBack);
    EXPECT_GT(Count(*disabled, text, Grey), 20);
    EXPECT_EQ(Count(*disabled, text, Dark), 0);
    EXPECT_EQ(
        Count(*disabled, RECT{0, 0, 200, 21}, [](TColor p) { return p == kBlueGlassSelected; }), 0);

    // Separator: 5 high, the line 2 below the top from 30 to 2 short of the right.
    auto sep = Drawn(line, {odSelected});
    ASSERT_EQ(sep->Height(), 5);
    EXPECT_EQ(sep->Pixel(5, 2), kBlueGlassBar);
    EXPECT_EQ(sep->Pixel(29, 2), kBlueGlassBack);
    EXPECT_EQ(sep->Pixel(30, 2), TColor(0x848284));
    EXPECT_EQ(sep->Pixel(197, 2), TColor(0x848284));
    EXPECT_EQ(sep->Pixel(198, 2), kBlueGlassBack);

    // The default item is bold: more ink for the same caption.
    auto heavy = Drawn(bold);
    EXPECT_GT(Count(*heavy, text, Dark), Count(*normal, text, Dark));
}

TEST(SkinnedMenu, CheckMarkAndItemImagesSitAtTheirPlaces) {
    TBitmap mark;
    mark.LoadFromResourceName(MainInstance(), L"MENU_CHECKED");
    ASSERT_EQ(mark.Width(), 16);
    // The check mark's own pixels at (4, 3), its white left out.
    auto markMisses = [&](TMenuItem* item) {
        auto c = Drawn(item);
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                TColor want = mark.Pixel(x, y) == 0xFFFFFF ? kBlueGlassBar : mark.Pixel(x, y);
                if (c->Pixel(4 + x, 3 + y) != want) ++wrong;
            }
        return wrong;
    };
    auto popup = NewMenu<TsuiPopupMenu>(TsuiUIStyle::BlueGlass);
    auto main = NewMenu<TsuiMainMenu>(TsuiUIStyle::BlueGlass);
    auto* popupChecked = NewItem(popup->Items(), L"保存");
    auto* mainChecked = NewItem(main->Items(), L"保存");
    auto* pictured = NewItem(popup->Items(), L"导出");
    for (TMenuItem* item : {popupChecked, mainChecked, pictured})
        item->SetChecked(true);
    popup->InstallItemHandlers();
    main->InstallItemHandlers();
    EXPECT_EQ(markMisses(popupChecked), 0);
    EXPECT_EQ(markMisses(mainChecked), 0);

    // With an image: a black frame filled in the selection colour, the image inside.
    TImageList images(16, 16);
    TBitmap green(16, 16);
    green.Fill(0x00A000);
    images.Add(green, nullptr);
    popup->SetImages(&images);
    pictured->SetImageIndex(0);
    auto p = Drawn(pictured);
    EXPECT_EQ(p->Pixel(2, 1), TColor(0x000000));
    EXPECT_EQ(p->Pixel(20, 19), TColor(0x000000));
    EXPECT_EQ(p->Pixel(3, 2), kBlueGlassSelected);
    EXPECT_EQ(p->Pixel(4, 3), TColor(0x00A000));
    EXPECT_EQ(p->Pixel(19, 18), TColor(0x00A000));
    EXPECT_EQ(p->Pixel(21, 20), kBlueGlassBar);
    pictured->SetEnabled(false);
    EXPECT_NE(Drawn(pictured)->Pixel(10, 10), TColor(0x00A000)) << "greyed when disabled";

    // The main menu's own list reads as no images; clearing real ones brings it back.
    EXPECT_EQ(main->Images(), nullptr);
    main->SetImages(&images);
    EXPECT_EQ(main->Images(), &images);
    main->SetImages(nullptr);
    EXPECT_EQ(main->Images(), nullptr);
    EXPECT_EQ(markMisses(mainChecked), 0);
}

TEST(SkinnedMenu, StyleSetsHeightsAndMacOSDrawsItsStrips) {
    auto menu = NewMenu<TsuiPopupMenu>(TsuiUIStyle::MacOS);
    auto* item = NewItem(menu->Items(), L"关于", ShortCut(VK_F1, {}));
    auto* line = NewItem(menu->Items(), L"-");
    menu->InstallItemHandlers();
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    EXPECT_EQ(menu->SeparatorHeight(), 12);
    menu->SetMenuItemHeight(40);
    menu->SetSeparatorHeight(30);
    EXPECT_EQ(Drawn(item)->Height(), 20);
    EXPECT_EQ(Drawn(line)->Height(), 12);

    // The selected item is the select strip's top 20 rows, the others the bar strip's.
    TBitmap select, bar;
    select.LoadFromResourceName(MainInstance(), L"MACOS_MENU_SELECT");
    bar.LoadFromResourceName(MainInstance(), L"MACOS_MENU_BAR");
    auto on = Drawn(item, {odSelected});
    auto off = Drawn(item);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(on->Pixel(2, y), select.Pixel(0, y)) << y;
        EXPECT_EQ(off->Pixel(2, y), bar.Pixel(0, y)) << y;
    }
    EXPECT_EQ(Drawn(line)->Pixel(100, 11), bar.Pixel(0, 11));

    menu->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    EXPECT_EQ(menu->SeparatorHeight(), 5);
    menu->SetMenuItemHeight(30);
    EXPECT_EQ(Drawn(item)->Height(), 30);

    // A font of its own when told.
    TMemoryCanvas canvas;
    int w = 0, h = 0, systemWidth = 0;
    item->MeasureItem(canvas, systemWidth, h);
    menu->SetUseSystemFont(false);
    menu->SetFontName(L"Arial");
    menu->SetFontSize(24);
    item->MeasureItem(canvas, w, h);
    EXPECT_GT(w, systemWidth + 20);
}

// A frame that records what the main menu tells it.
struct RecordingFrame : TestFormFrame {
    using TestFormFrame::TestFormFrame;
    void SetMenu(TMainMenu* m) override { menu = m; }
    void MenuChanged() override { ++changes; }
    TMainMenu* menu = nullptr;
    int changes = 0;
};

TEST(SkinnedMainMenu, TakesTheFormsMenuBarToTheFrameAndReportsChanges) {
    HostForm form;
    auto* frame = Make<RecordingFrame>(form.get(), form.get());
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    auto* system = new TMainMenu(form.get());
    NewItem(system->Items(), L"文件");
    SetFormMenu(form.get(), system);
    form.Show();
    ASSERT_NE(GetMenu(form->Handle()), nullptr);

    auto* menu = new TsuiMainMenu(form.get());
    EXPECT_EQ(FormMenu(form.get()), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(frame->menu, menu);
    EXPECT_EQ(menu->Frame(), frame);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::BlueGlass);
    EXPECT_EQ(menu->BarColor(), kBlueGlassBar);

    const int before = frame->changes;
    auto* later = NewItem(menu->Items(), L"帮助");
    EXPECT_GT(frame->changes, before);
    menu->SetUseSystemFont(false);
    EXPECT_GT(frame->changes, before + 1);
    // Items added later get the skin's handlers through one call.
    EXPECT_FALSE(later->OnAdvancedDrawItem);
    menu->InstallItemHandlers();
    EXPECT_TRUE(later->OnAdvancedDrawItem);

    frame->Free();
    EXPECT_EQ(menu->Frame(), nullptr);
    NewItem(menu->Items(), L"退出"); // no frame to tell any more
}

TEST(SkinnedMainMenu, LoadedFromADescriptionWithTheWindowFrame) {
    HostForm form;
    ReadComponentText(*form.get(), LR"(object HostForm: TForm
  object suiForm1: TsuiForm
    UIStyle = BlueGlass
    Menu = suiMainMenu1
  end
  object suiMainMenu1: TsuiMainMenu
    UIStyle = MacOS
    MenuItemHeight = 40
    Items = <
      item
        Caption = '文件'
        Items = <
          item
            Caption = '打开'
          end>
      end>
  end
  object suiPopupMenu1: TsuiPopupMenu
    OwnerDraw = False
  end
end)",
                      L"test");
    auto* frame = dynamic_cast<TsuiForm*>(form->FindComponent(L"suiForm1"));
    auto* menu = dynamic_cast<TsuiMainMenu*>(form->FindComponent(L"suiMainMenu1"));
    auto* popup = dynamic_cast<TsuiPopupMenu*>(form->FindComponent(L"suiPopupMenu1"));
    ASSERT_TRUE(frame && menu && popup);
    EXPECT_EQ(frame->Menu(), menu);
    EXPECT_EQ(menu->Frame(), static_cast<IsuiFormFrame*>(frame));
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    EXPECT_TRUE(menu->Items()->Items(0)->Items(0)->OnAdvancedDrawItem);
    EXPECT_TRUE(popup->OwnerDraw());
    menu->Free();
    EXPECT_EQ(frame->Menu(), nullptr);
}

// ---------------------------------------------------------------------------
// Real popups

// Drives an open popup from a thread timer: selects the first item, then
// runs atSelected (with the menu still open) and closes the menu.
struct PopupRun {
    static PopupRun* current;
    HWND keysTo = nullptr;
    int ticks = 0;
    bool keySent = false;
    bool selectedDrawn = false;
    bool drawn = false;
    bool selectFirst = true;
    std::function<void()> atSelected;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        PopupRun* r = current;
        if (!r) return;
        ++r->ticks;
        if (!r->selectFirst) {
            if (r->drawn || r->ticks > 100) EndMenu();
        } else if (!r->keySent && r->drawn) {
            PostMessageW(r->keysTo, WM_KEYDOWN, VK_DOWN, 1);
            r->keySent = true;
        } else if (r->selectedDrawn || r->ticks > 150) {
            if (r->selectedDrawn && r->atSelected) r->atSelected();
            EndMenu();
        }
    }
};
PopupRun* PopupRun::current = nullptr;

// Wraps every top item's draw handler to tell run what was drawn.
void Watch(TMenu& menu, PopupRun& run) {
    for (int i = 0; i < menu.Items()->Count(); ++i) {
        TMenuItem* item = menu.Items()->Items(i);
        auto draw = item->OnAdvancedDrawItem;
        item->OnAdvancedDrawItem = [&run, draw, i](TObject* s, TCanvas& c, const RECT& r,
                                                   TOwnerDrawState st) {
            draw(s, c, r, st);
            run.drawn = true;
            if (i == 0 && st.Contains(odSelected)) run.selectedDrawn = true;
        };
    }
}

void Open(TsuiPopupMenu& menu, TForm& form, PopupRun& run, int interval = 30) {
    run.keysTo = form.Handle();
    PopupRun::current = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, UINT(interval), &PopupRun::Tick);
    POINT at = form.ClientToScreen({20, 20});
    menu.Popup(at.x, at.y);
    KillTimer(nullptr, timer);
    PopupRun::current = nullptr;
}

TEST(SkinnedPopupMenu, OpensOnScreenInTheStyleAndLeavesNoGdiObjectsBehind) {
    HostForm form;
    form->SetColor(0x808040);
    auto* menu = new TsuiPopupMenu(form.get());
    NewItem(menu->Items(), L"计算(&J)", ShortCut('J', {ssCtrl}))->SetDefault(true);
    NewItem(menu->Items(), L"保存(&S)")->SetChecked(true);
    NewItem(menu->Items(), L"-");
    NewItem(menu->Items(), L"不可用")->SetEnabled(false);
    NewItem(menu->Items(), L"关于(&A)", ShortCut(VK_F1, {}));
    form.Show();

    struct Look {
        TsuiUIStyle style;
        const wchar_t* screen;
        TColor selected;
    };
    for (const Look& look : {Look{TsuiUIStyle::BlueGlass, L"menu-popup-blueglass", 0xEC5E5E},
                             Look{TsuiUIStyle::MacOS, L"menu-popup-macos", clNone}}) {
        SCOPED_TRACE(look.screen);
        menu->SetUIStyle(look.style);
        menu->InstallItemHandlers();
        PopupRun run;
        Watch(*menu, run);
        TColor onScreen = clNone;
        run.atSelected = [&] {
            TBitmap screen;
            CaptureWindow(GetDesktopWindow(), screen);
            SaveScreenshot(screen, look.screen);
            RECT r{};
            if (GetMenuItemRect(nullptr, menu->Handle(), 0, &r))
                onScreen = screen.Pixel(r.left + 1, r.bottom - 2);
        };
        Open(*menu, *form, run);
        EXPECT_TRUE(run.selectedDrawn) << "the first item was never drawn selected";
        if (look.selected != clNone) {
            EXPECT_EQ(onScreen, look.selected);
        }
    }

    // Pop-ups closed as soon as they are drawn: the GDI objects stay level.
    menu->SetUIStyle(TsuiUIStyle::BlueGlass);
    menu->InstallItemHandlers();
    auto popupOnce = [&] {
        PopupRun run;
        run.selectFirst = false;
        Watch(*menu, run);
        Open(*menu, *form, run, 5);
        menu->InstallItemHandlers();
        return run.drawn;
    };
    popupOnce();
    const DWORD before = GdiObjects();
    HBRUSH probe = CreateSolidBrush(0x123456);
    EXPECT_EQ(GdiObjects(), before + 1) << "the count misses new objects";
    DeleteObject(probe);
    int drawnCount = 0;
    const DWORD start = GetTickCount();
    for (int i = 0; i < 100; ++i)
        drawnCount += popupOnce() ? 1 : 0;
    const DWORD elapsed = GetTickCount() - start;
    Pump();
    const DWORD after = GdiObjects();
    std::printf("100 skinned pop-ups (%d drawn) in %lu ms: GDI objects %lu before, %lu after\n",
                drawnCount, static_cast<unsigned long>(elapsed), static_cast<unsigned long>(before),
                static_cast<unsigned long>(after));
    EXPECT_EQ(drawnCount, 100);
    EXPECT_LE(after, before + 2);
}

} // namespace
