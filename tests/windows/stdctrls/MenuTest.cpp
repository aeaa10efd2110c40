// Menus: shortcuts and their texts, the system menu built from the items,
// commands reaching the items, and an owner-drawn popup driven by keys
// posted from a timer while its loop runs.

#include "../support/HostForm.h"
#include "../support/MenuItems.h"

#include "framework/FormReader.h"
#include "framework/Menus.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::wstring MenuText(HMENU menu, int pos) {
    wchar_t buf[128]{};
    GetMenuStringW(menu, UINT(pos), buf, 128, MF_BYPOSITION);
    return buf;
}

TEST(ShortCut, TextsBothWays) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), L"Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F10, {ssShift})), L"Shift+F10");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssAlt, ssCtrl})), L"Ctrl+Alt+Del");
    EXPECT_EQ(ShortCutToText(ShortCut('7', {})), L"7");
    EXPECT_EQ(ShortCutToText(scNone), L"");
    for (const wchar_t* text : {L"Ctrl+S", L"Shift+F10", L"Ctrl+Alt+Del", L"Enter", L"F1"})
        EXPECT_EQ(ShortCutToText(TextToShortCut(text)), text);
    EXPECT_EQ(TextToShortCut(L"ctrl+s"), ShortCut('S', {ssCtrl}));
    EXPECT_EQ(TextToShortCut(L"Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut(L"Hyper+S"), scNone);
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(ShortCut('O', {ssCtrl, ssShift}), key, shift);
    EXPECT_EQ(key, 'O');
    EXPECT_TRUE(shift.Contains(ssCtrl) && shift.Contains(ssShift) && !shift.Contains(ssAlt));
}

TEST(MainMenu, BarFollowsItemsAndCommandsClickEnabledItems) {
    HostForm form;
    auto* menu = new TMainMenu(form.get());
    auto* file = NewItem(menu->Items(), L"文件(&F)");
    auto* open = NewItem(file, L"打开(&O)", ShortCut('O', {ssCtrl}));
    auto* save = NewItem(file, L"保存(&S)", ShortCut('S', {ssCtrl}));
    NewItem(menu->Items(), L"帮助(&H)");
    save->SetEnabled(false);
    open->SetChecked(true);
    std::vector<TObject*> clicked;
    open->OnClick = save->OnClick = [&](TObject* s) { clicked.push_back(s); };
    SetFormMenu(form.get(), menu);
    form.Show();

    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, menu->Handle());
    EXPECT_EQ(FormMenu(form.get()), menu);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_EQ(sub, file->Handle());
    EXPECT_EQ(MenuText(sub, 0), L"打开(&O)\tCtrl+O");
    EXPECT_TRUE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);

    SendMessageW(form->Handle(), WM_COMMAND, open->Command(), 0);
    SendMessageW(form->Handle(), WM_COMMAND, save->Command(), 0);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], open);

    EXPECT_EQ(menu->FindItem(ShortCut('S', {ssCtrl})), save);
    EXPECT_EQ(menu->FindCommand(open->Command()), open);
    EXPECT_TRUE(menu->IsShortCut('O', {ssCtrl}));
    EXPECT_FALSE(menu->IsShortCut('S', {ssCtrl}));
    EXPECT_FALSE(menu->IsShortCut('O', {}));
    EXPECT_EQ(clicked.size(), 2u);

    // Changes rebuild the bar; freed items leave it.
    open->SetCaption(L"打开文件(&O)");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), L"打开文件(&O)\tCtrl+O");
    UINT command = save->Command();
    save->Free();
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 1);
    EXPECT_EQ(menu->FindCommand(command), nullptr);
    SendMessageW(form->Handle(), WM_COMMAND, command, 0);
    EXPECT_EQ(clicked.size(), 2u);

    SetFormMenu(form.get(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST(MainMenu, FormShortCutsFromAKeyHandlerReachBarThenPopupItems) {
    HostForm form;
    auto* bar = new TMainMenu(form.get());
    auto* popup = new TPopupMenu(form.get());
    auto* save = NewItem(NewItem(bar->Items(), L"文件"), L"保存", ShortCut('S', {ssCtrl}));
    auto* undo = NewItem(popup->Items(), L"撤销", ShortCut('Z', {ssCtrl}));
    std::vector<TObject*> clicked;
    save->OnClick = undo->OnClick = [&](TObject* s) { clicked.push_back(s); };
    SetFormMenu(form.get(), bar);
    auto* edit = Make<TEdit>(form.get(), 10, 10, 100, 22);
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState shift) {
        if (IsFormShortCut(form.get(), key, shift)) key = 0;
    };
    form.Show();
    edit->SetFocus();
    SendKey(edit->Handle(), 'S', false, true);
    SendKey(edit->Handle(), 'Z', false, true);
    SendKey(edit->Handle(), 'Q', false, true);
    ASSERT_EQ(clicked.size(), 2u);
    EXPECT_EQ(clicked[0], save);
    EXPECT_EQ(clicked[1], undo);
}

TEST(Menu, ItemsFromADescriptionCollection) {
    HostForm form;
    ReadComponentText(*form.get(), LR"(object HostForm: TForm
  object PopupMenu1: TPopupMenu
    OwnerDraw = True
    Items = <
      item
        Caption = '计算(&J)'
        ShortCut = 'Ctrl+J'
        Default = True
      end
      item
        Caption = '-'
      end
      item
        Caption = '更多'
        Items = <
          item
            Caption = '关于'
            ShortCut = 112
          end>
      end>
  end
end)",
                      L"test");
    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent(L"PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->OwnerDraw());
    ASSERT_EQ(menu->Items()->Count(), 3);
    EXPECT_TRUE(menu->Items()->Items(0)->Default());
    EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
    TMenuItem* about = menu->Items()->Items(2)->Items(0);
    EXPECT_EQ(about->ShortCut(), VK_F1);
    EXPECT_EQ(about->GetParentMenu(), menu);
    EXPECT_EQ(menu->FindItem(TextToShortCut(L"Ctrl+J")), menu->Items()->Items(0));
    EXPECT_EQ(GetMenuItemCount(menu->Handle()), 3);
}

TEST(Menu, ImageListNamedByADescriptionMakesTheMenuOwnerDrawnUntilItGoes) {
    HostForm form;
    ReadComponentText(*form.get(), LR"(object HostForm: TForm
  object ImageList1: TCustomImageList
    Width = 32
    Height = 32
    Bitmaps = ('TB_JS' 'TB_DC')
  end
  object PopupMenu1: TPopupMenu
    Images = ImageList1
    Items = <
      item
        Caption = '计算'
        ImageIndex = 0
      end>
  end
end)",
                      L"test");
    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent(L"PopupMenu1"));
    auto* list = dynamic_cast<TCustomImageList*>(form->FindComponent(L"ImageList1"));
    ASSERT_TRUE(menu && list);
    EXPECT_EQ(menu->Images(), &list->Images());
    EXPECT_TRUE(menu->IsOwnerDraw());
    EXPECT_TRUE(GetMenuState(menu->Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW);
    // Items sized for the pictures.
    TMemoryCanvas canvas;
    int w = 0, h = 0;
    menu->Items()->Items(0)->MeasureItem(canvas, w, h);
    EXPECT_GE(h, 36);
    list->Free();
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_FALSE(menu->IsOwnerDraw());
    EXPECT_FALSE(GetMenuState(menu->Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW);
}

// Drives an open popup from a thread timer: the menu loop dispatches it.
struct PopupDriver {
    static PopupDriver* current;
    HWND keysTo = nullptr;
    int ticks = 0;
    int step = 0;
    std::function<bool()> readyForDown, readyForEnter;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        PopupDriver* d = current;
        if (!d) return;
        ++d->ticks;
        if (d->step == 0 && d->readyForDown()) {
            PostMessageW(d->keysTo, WM_KEYDOWN, VK_DOWN, 1);
            d->step = 1;
        } else if (d->step == 1 && d->readyForEnter()) {
            PostMessageW(d->keysTo, WM_KEYDOWN, VK_RETURN, 1);
            d->step = 2;
        } else if (d->ticks > 150) {
            EndMenu(); // never leave the test waiting
        }
    }
};
PopupDriver* PopupDriver::current = nullptr;

TEST(PopupMenu, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStatesAndKeysPickOne) {
    HostForm form;
    auto* menu = new TPopupMenu(form.get());
    menu->SetOwnerDraw(true);
    auto* open = NewItem(menu->Items(), L"打开(&O)", ShortCut('O', {ssCtrl}));
    auto* save = NewItem(menu->Items(), L"保存(&S)");
    auto* line = NewItem(menu->Items(), L"-");
    auto* off = NewItem(menu->Items(), L"不可用");
    save->SetChecked(true);
    save->SetDefault(true);
    off->SetEnabled(false);

    std::map<TObject*, TOwnerDrawState> last;
    std::map<TObject*, int> heights;
    bool openSelected = false;
    int popups = 0, clicks = 0;
    for (TMenuItem* item : {open, save, line, off}) {
        item->OnMeasureItem = [&](TObject* s, TCanvas& canvas, int& w, int& h) {
            h = static_cast<TMenuItem*>(s)->IsLine() ? 5 : 21;
            w = canvas.TextWidth(static_cast<TMenuItem*>(s)->Caption()) + 60;
            heights[s] = h;
        };
        item->OnAdvancedDrawItem = [&](TObject* s, TCanvas& canvas, const RECT& r,
                                       TOwnerDrawState state) {
            last[s] = state;
            if (s == open && state.Contains(odSelected)) openSelected = true;
            canvas.Brush().SetColor(state.Contains(odSelected) ? clNavy : clWhite);
            canvas.FillRect(r);
        };
    }
    menu->OnPopup = [&](TObject*) { ++popups; };
    open->OnClick = [&](TObject*) { ++clicks; };
    form.Show();

    PopupDriver driver;
    driver.keysTo = form->Handle();
    driver.readyForDown = [&] { return last.size() >= 3; };
    driver.readyForEnter = [&] { return openSelected; };
    PopupDriver::current = &driver;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &PopupDriver::Tick);
    POINT at = form->ClientToScreen({20, 20});
    menu->Popup(at.x, at.y);
    KillTimer(nullptr, timer);
    PopupDriver::current = nullptr;

    EXPECT_EQ(popups, 1);
    EXPECT_EQ(driver.step, 2) << "the menu closed before the keys were sent";
    EXPECT_TRUE(openSelected);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(heights[line], 5);
    EXPECT_EQ(heights[open], 21);
    ASSERT_TRUE(last.count(save));
    EXPECT_TRUE(last[save].Contains(odChecked));
    EXPECT_TRUE(last[save].Contains(odDefault));
    EXPECT_FALSE(last[save].Contains(odDisabled));
    ASSERT_TRUE(last.count(off));
    EXPECT_TRUE(last[off].Contains(odDisabled) || last[off].Contains(odGrayed));
}

TEST(PopupMenu, ClosedWithoutAPickClicksNothing) {
    HostForm form;
    auto* menu = new TPopupMenu(form.get());
    auto* item = NewItem(menu->Items(), L"项目");
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    POINT at = form->ClientToScreen({20, 20});
    menu->Popup(at.x, at.y);
    KillTimer(nullptr, timer);
    EXPECT_EQ(clicks, 0);
}

} // namespace
