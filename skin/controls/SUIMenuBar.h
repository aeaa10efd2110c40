// The menu bar a skinned window frame shows under its title bar: a flat tool
// bar with one auto-sized button per top-level item of a main menu. A hot or
// pressed item is drawn in the menu's selection colours; pressing it drops
// the item's submenu under it, drawn by the menu's own skin.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Menus.h"
#include "framework/ToolBar.h"

class TsuiMainMenu;

class TsuiMenuBar : public TsuiStyled<TToolBar> {
  public:
    // Flat, captions shown, no edges.
    explicit TsuiMenuBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // One button per top-level item, in menu order; nullptr: none. The menu
    // is not owned.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Captions, enabled states and the font from the menu again (the buttons
    // are made anew when items came or went).
    void UpdateFromMenu();

    // The bar's and every button's height.
    void SetBarHeight(int h);
    void SetBarColor(TColor c);
    // The window frame's style and theme; a skinned main menu's own win.
    void SetLook(TsuiUIStyle style, TsuiFileTheme* theme);

    // Drops the submenu of the top-level item at index under its button and
    // returns when it closed; an item without one is clicked. While it is
    // open, the mouse sliding onto another item, or Left and Right, drop
    // that item's submenu instead.
    void DropDown(int index);
    // A message of the open submenu's loop; true when the bar took it.
    bool MenuLoopMessage(const MSG& msg);

  protected:
    // Everything is read when drawn: only repaint.
    void ApplyStyle() override;
    void WndProc(TMessage& m) override;
    // Alt and an item's '&' letter drop that item.
    bool DialogChar(wchar_t ch, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    TsuiMainMenu* SkinnedMenu() const;
    // The look's style as drawn (FromThemeFile read from a theme: not MacOS).
    bool MacLook() const;
    TColor LookColor(int element) const;
    void UpdateFont();
    void MakeButtons();
    int ButtonAt(POINT p);
    bool CanDrop(int index) const;
    // One submenu open until it closes: the command picked, or 0.
    UINT TrackSubmenu(int index);
    bool DrawBar(TCanvas& canvas);
    bool DrawItem(TToolButton* button, TCanvas& canvas, const RECT& r, TToolButtonDrawState state);

    TMainMenu* menu_ = nullptr;
    int trackedIndex_ = -1;
    HMENU trackedPopup_ = nullptr;
    int nextDrop_ = -1; // the item whose submenu opens when this one closed
    bool selectFirst_ = false;
};
