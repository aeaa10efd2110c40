#include "skin/controls/SUIMenuBar.h"

#include "skin/SUIThemes.h"
#include "skin/controls/SUIMainMenu.h"

#include "framework/Callbacks.h"
#include "framework/Utils.h"

#include <windowsx.h>

namespace {

void StretchResource(TCanvas& canvas, const RECT& r, const wchar_t* name) {
    TBitmap strip;
    strip.LoadFromResourceName(MainInstance(), name);
    canvas.StretchDraw(r, strip);
}

} // namespace

const TClassInfo& TsuiMenuBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiMenuBar>(L"TsuiMenuBar", &TToolBar::StaticClass()).Build();
    return info;
}

TsuiMenuBar::TsuiMenuBar(TComponent* owner) : TsuiStyled(owner) {
    OnCustomDraw = [this](TToolBar*, TCanvas& canvas, const RECT&) { return DrawBar(canvas); };
    OnCustomDrawButton = [this](TToolBar*, TToolButton* b, TCanvas& canvas, const RECT& r,
                                TToolButtonDrawState state) {
        return DrawItem(b, canvas, r, state);
    };
    SetFlat(true);
    SetShowCaptions(true);
    SetEdgeInner(esNone);
    SetEdgeOuter(esNone);
    SetBarHeight(22);
}

void TsuiMenuBar::ApplyStyle() {
    Invalidate();
}

void TsuiMenuBar::SetLook(TsuiUIStyle style, TsuiFileTheme* theme) {
    SetFileTheme(theme);
    SetUIStyle(style);
}

void TsuiMenuBar::SetBarHeight(int h) {
    SetButtonHeight(h);
    SetHeight(h);
}

void TsuiMenuBar::SetBarColor(TColor c) {
    SetColor(c);
    Invalidate();
}

TsuiMainMenu* TsuiMenuBar::SkinnedMenu() const {
    return dynamic_cast<TsuiMainMenu*>(menu_);
}

bool TsuiMenuBar::MacLook() const {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (const TsuiMainMenu* skinned = SkinnedMenu())
        return !ResolveThemeSource(skinned->FileTheme(), skinned->UIStyle(), effective) &&
               effective == TsuiUIStyle::MacOS;
    return !StyleLink().Resolve(effective) && effective == TsuiUIStyle::MacOS;
}

TColor TsuiMenuBar::LookColor(int element) const {
    const TsuiMainMenu* skinned = SkinnedMenu();
    if (!skinned) return StyleLink().Color(element);
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (ResolveThemeSource(skinned->FileTheme(), skinned->UIStyle(), effective))
        return skinned->FileTheme()->GetColor(element);
    return GetBuiltInThemeColor(effective, element);
}

// ----- the buttons

void TsuiMenuBar::SetMenu(TMainMenu* menu) {
    if (menu != menu_) {
        if (menu_) menu_->RemoveFreeNotification(this);
        menu_ = menu;
        if (menu_) menu_->FreeNotification(this);
    }
    MakeButtons();
}

void TsuiMenuBar::MakeButtons() {
    while (ButtonCount() > 0)
        Buttons(ButtonCount() - 1)->Free();
    if (menu_) {
        UpdateFont();
        TMenuItem* items = menu_->Items();
        for (int i = 0; i < items->Count(); ++i) {
            const TMenuItem* item = items->Items(i);
            auto* b = new TToolButton(this);
            b->SetAutoSize(true);
            b->SetGrouped(true);
            b->SetCaption(item->Caption());
            b->SetEnabled(item->Enabled());
            b->SetVisible(item->Visible());
            b->OnClick = [this, i](TObject*) { DropDown(i); };
            b->SetParent(this); // last: the bar takes the button as it is now
        }
    }
    Invalidate();
}

void TsuiMenuBar::UpdateFromMenu() {
    if (!menu_ || menu_->Items()->Count() != ButtonCount()) {
        MakeButtons();
        return;
    }
    UpdateFont();
    for (int i = 0; i < ButtonCount(); ++i) {
        const TMenuItem* item = menu_->Items()->Items(i);
        TToolButton* b = Buttons(i);
        b->SetCaption(item->Caption());
        b->SetEnabled(item->Enabled());
        b->SetVisible(item->Visible());
    }
}

// A skinned menu's item font; the system menu font for any other menu.
void TsuiMenuBar::UpdateFont() {
    TFont font;
    font.Assign(Font());
    if (const TsuiMainMenu* skinned = SkinnedMenu())
        skinned->ItemFont(font);
    else
        GetMenuFont(font);
    Font().Assign(font); // the bar lays its buttons out again only when it differs
}

void TsuiMenuBar::Notification(TComponent* component, TOperation operation) {
    TsuiStyled::Notification(component, operation);
    if (operation != TOperation::opRemove || component != menu_) return;
    menu_ = nullptr;
    if (!Destroying()) MakeButtons();
}

// ----- dropping a submenu

namespace {

// The bar whose submenu is open, while it is.
TsuiMenuBar* gTrackingBar = nullptr;

BOOL CALLBACK CountMenuWindow(HWND wnd, LPARAM counter) {
    return GuardedCall(nullptr, FALSE, [=] {
        wchar_t name[16];
        if (IsWindowVisible(wnd) && GetClassNameW(wnd, name, 16) && lstrcmpW(name, L"#32768") == 0)
            ++*reinterpret_cast<int*>(counter);
        return TRUE;
    });
}

// Whether the open popup's selected item would open a submenu of its own.
bool SelectionHasSubmenu(HMENU popup) {
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
        if (GetMenuState(popup, UINT(i), MF_BYPOSITION) & MF_HILITE)
            return GetSubMenu(popup, i) != nullptr;
    return false;
}

} // namespace

bool TsuiMenuBar::CanDrop(int index) const {
    if (!menu_ || index < 0 || index >= ButtonCount() || index >= menu_->Items()->Count())
        return false;
    const TMenuItem* item = menu_->Items()->Items(index);
    return Buttons(index)->Enabled() && Buttons(index)->Visible() && item->Enabled() &&
           item->Visible();
}

void TsuiMenuBar::DropDown(int index) {
    if (!CanDrop(index) || !HandleAllocated() || gTrackingBar) return;
    TMenuItem* item = menu_->Items()->Items(index);
    if (item->Count() == 0) {
        item->Click();
        return;
    }
    UINT command = 0;
    while (index >= 0 && !command && menu_ && HandleAllocated() && !Destroying()) {
        nextDrop_ = -1;
        command = TrackSubmenu(index);
        index = nextDrop_;
    }
    selectFirst_ = false;
    if (command && menu_) menu_->DispatchCommand(command);
}

UINT TsuiMenuBar::TrackSubmenu(int index) {
    TToolButton* button = Buttons(index);
    (void)menu_->Handle(); // the system menus, the item's popup among them
    HMENU popup = menu_->Items()->Items(index)->Handle();
    if (!popup) return 0;

    RECT r = ButtonRect(button);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    // The menu opens below the button, or above it, never over it.
    TPMPARAMS keepClear{sizeof keepClear, r};
    const WPARAM id = WPARAM(button->CommandId());
    SendMessageW(Handle(), TB_PRESSBUTTON, id, MAKELPARAM(TRUE, 0));
    UpdateWindow(Handle());
    UINT command = 0;
    {
        // The menu loop's messages pass us first, so the mouse and the arrow
        // keys can move the open menu along the bar.
        TThreadHook filter(WH_MSGFILTER, [this](int code, WPARAM, LPARAM lParam) {
            return code == MSGF_MENU && MenuLoopMessage(*reinterpret_cast<MSG*>(lParam));
        });
        trackedIndex_ = index;
        trackedPopup_ = popup;
        gTrackingBar = this;
        // A menu opened from the keyboard starts with its first item selected.
        if (selectFirst_) PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_DOWN, 0);
        command = UINT(TrackPopupMenuEx(
            popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON | TPM_RETURNCMD,
            r.left, r.bottom, PopupListWindow(), &keepClear));
    }
    gTrackingBar = nullptr;
    trackedPopup_ = nullptr;
    PostMessageW(PopupListWindow(), WM_NULL, 0, 0);
    if (!HandleAllocated() || Destroying()) return command;
    SendMessageW(Handle(), TB_PRESSBUTTON, id, MAKELPARAM(FALSE, 0));
    // The click that closed the menu on its own button only closes it.
    MSG pending;
    if (nextDrop_ < 0 &&
        PeekMessageW(&pending, Handle(), WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE) &&
        ButtonAt(POINT{GET_X_LPARAM(pending.lParam), GET_Y_LPARAM(pending.lParam)}) == index)
        PeekMessageW(&pending, Handle(), WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
    UpdateHotFromCursor();
    return command;
}

bool TsuiMenuBar::MenuLoopMessage(const MSG& msg) {
    if (msg.message == WM_MOUSEMOVE) {
        // Sliding onto another item drops its menu instead.
        POINT p = msg.pt;
        ::ScreenToClient(Handle(), &p);
        const int index = ButtonAt(p);
        if (index >= 0 && index != trackedIndex_ && CanDrop(index) &&
            menu_->Items()->Items(index)->Count() > 0) {
            nextDrop_ = index;
            selectFirst_ = false;
            EndMenu();
        }
        return false;
    }
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_LEFT && msg.wParam != VK_RIGHT))
        return false;
    // Left and right walk the bar while no deeper submenu is open or wanted.
    int open = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountMenuWindow, reinterpret_cast<LPARAM>(&open));
    if (open > 1 || (msg.wParam == VK_RIGHT && SelectionHasSubmenu(trackedPopup_))) return false;
    const int step = msg.wParam == VK_RIGHT ? 1 : ButtonCount() - 1;
    for (int i = (trackedIndex_ + step) % ButtonCount(); i != trackedIndex_;
         i = (i + step) % ButtonCount()) {
        if (!CanDrop(i) || menu_->Items()->Items(i)->Count() == 0) continue;
        nextDrop_ = i;
        selectFirst_ = true;
        EndMenu();
        return true;
    }
    return true;
}

int TsuiMenuBar::ButtonAt(POINT p) {
    for (int i = 0; i < ButtonCount(); ++i) {
        RECT r = ButtonRect(Buttons(i));
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void TsuiMenuBar::WndProc(TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
        // A menu drops while the button is held, as a system menu bar's does.
        const int index = ButtonAt(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        if (index >= 0 && menu_ && index < menu_->Items()->Count() &&
            menu_->Items()->Items(index)->Count() > 0) {
            DropDown(index);
            m.Result = 0;
            return;
        }
    }
    TsuiStyled::WndProc(m);
}

bool TsuiMenuBar::DialogChar(wchar_t ch, TShiftState shift) {
    if (shift.Contains(ssAlt) && menu_) {
        for (int i = 0; i < ButtonCount() && i < menu_->Items()->Count(); ++i) {
            const TMenuItem* item = menu_->Items()->Items(i);
            if (!CanDrop(i) || !IsAccel(ch, item->Caption())) continue;
            selectFirst_ = true; // opened from the keyboard
            DropDown(i);
            selectFirst_ = false;
            return true;
        }
    }
    return TsuiStyled::DialogChar(ch, shift);
}

// ----- drawing

bool TsuiMenuBar::DrawBar(TCanvas& canvas) {
    if (!MacLook()) return false; // the framework fills with the bar colour
    StretchResource(canvas, ClientRect(), L"MACOS_MENU_BAR");
    return true;
}

bool TsuiMenuBar::DrawItem(TToolButton* button, TCanvas& canvas, const RECT& r,
                           TToolButtonDrawState state) {
    const bool pressed = state.Contains(cdsPressed);
    if (state.Contains(cdsDisabled) || (!pressed && !state.Contains(cdsHot))) return false;
    RECT box = r;
    RECT text = r;
    if (MacLook()) {
        StretchResource(canvas, box, L"MACOS_MENU_SELECT");
    } else {
        if (pressed) box.right -= 2;
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(LookColor(ThemeElement::MenuSelectedBackgroundColor));
        canvas.FillRect(box);
        canvas.Brush().SetColor(LookColor(ThemeElement::MenuSelectedBorderColor));
        canvas.FrameRect(box);
        text = box;
        if (pressed) OffsetRect(&text, 2, 0);
    }
    // Centred on one line, two pixels below the middle.
    OffsetRect(&text, 0, 2);
    canvas.Font().SetColor(LookColor(ThemeElement::MenuSelectedFontColor));
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(StripAccel(button->Caption()), text,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return true;
}
