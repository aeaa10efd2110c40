#pragma once

// Main and popup menus over the system's menus. The items are our objects;
// the menu builds its HMENU from them again after every change. With
// OwnerDraw (or an image list) each item is measured and drawn by us, through
// hooks on the item that a skin can take over.

#include "framework/StdCtrls.h"
#include "framework/ToolBar.h"

#include <functional>
#include <string>
#include <vector>

class TForm;
class TMenu;

// A key with its modifiers: scShift, scCtrl, scAlt or'ed with the virtual key.
using TShortCut = WORD;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Ctrl+S", "Shift+F10", "Alt+Del"; empty for scNone.
std::wstring ShortCutToText(TShortCut shortCut);
// The reverse; scNone for a text that names no key.
TShortCut TextToShortCut(const std::wstring& text);

// The system menu font in clMenuText; font is left alone when the system
// does not answer.
void GetMenuFont(TFont& font);

using TMenuMeasureItemEvent =
    std::function<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas& ACanvas, const RECT& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas,
                                                      const RECT& ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
  public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // '&' marks the accelerator; "-" makes a separator line.
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& c);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut sc);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // Shown in bold; Enter on the menu picks it.
    bool Default() const { return default_; }
    void SetDefault(bool v);
    // An image of the menu's Images; -1 = none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& h) { hint_ = h; }
    bool IsLine() const { return caption_ == L"-"; }

    // Sub-items, owned by this item.
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(size_t(index)); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes item out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the sub-item at index, or all of them.
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }
    // The menu this item belongs to (through its parents), or nullptr.
    TMenu* GetParentMenu() const;
    // The WM_COMMAND identifier of the item.
    UINT Command() const { return command_; }
    // The system's popup menu of the sub-items while the menu exists.
    HMENU Handle() const { return subMenu_; }

    // What a pick does: OnClick.
    virtual void Click();
    // Called by the menu for owner-drawn items; the defaults call the hooks
    // and draw the ordinary look when there are none.
    virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state,
                                  bool topLevel);

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  protected:
    void Changed();

  private:
    friend class TMenu;
    void DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state, bool topLevel);

    std::wstring caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    int imageIndex_ = -1;
    std::wstring hint_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on the root item only
    UINT command_ = 0;
    HMENU subMenu_ = nullptr;
};

class TMenu : public TComponent {
  public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The root item: its sub-items are the menu's entries.
    TMenuItem* Items() const { return items_; }
    HMENU Handle();
    bool OwnerDraw() const { return ownerDraw_; }
    virtual void SetOwnerDraw(bool v);
    // Images for the items' ImageIndex (not owned); an image list makes the
    // menu owner-drawn, as the system cannot show them.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // The same from an image-list component, which a description names.
    TCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TCustomImageList* list);
    // Items are measured and drawn by us.
    bool IsOwnerDraw() const { return ownerDraw_ || images_ != nullptr; }

    // The item with that WM_COMMAND identifier, or with that shortcut (enabled
    // or not), searching every level; nullptr if none.
    TMenuItem* FindCommand(UINT command) const;
    TMenuItem* FindItem(TShortCut shortCut) const;
    // Clicks the enabled item with the shortcut of key and shift; true if one did.
    bool IsShortCut(WORD key, TShiftState shift);
    // Clicks the item with that identifier; true if there is one.
    bool DispatchCommand(UINT command);

    // Builds the system menu again from the items (done after every change).
    void Rebuild();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void Loaded() override;

    TNotifyEvent OnChange;

  protected:
    virtual HMENU CreateMenuHandle() = 0;
    virtual void MenuChanged();
    void Notification(TComponent* component, TOperation operation) override;
    bool IsTopLevelBar() const { return topLevelBar_; }
    // The system destroyed the menu (with the window it belonged to).
    void ForgetHandle() { handle_ = nullptr; }
    void SetTopLevelBar(bool v) { topLevelBar_ = v; }

  private:
    friend class TMenuItem;
    void Fill(HMENU menu, TMenuItem* parent, bool topLevel);
    TMenuItem* items_;
    HMENU handle_ = nullptr;
    bool ownerDraw_ = false;
    TImageList* images_ = nullptr;
    TCustomImageList* imageList_ = nullptr;
    int updateCount_ = 0;
    bool topLevelBar_ = false;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
  public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The form whose menu bar this is (nullptr: none).
    TForm* Window() const { return window_; }

  protected:
    HMENU CreateMenuHandle() override;
    void MenuChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    friend void SetFormMenu(TForm* form, TMainMenu* menu);
    TForm* window_ = nullptr;
};

// Shows menu as the form's menu bar (nullptr removes it). The form has no Menu
// property of its own, so this sets the window's menu directly.
void SetFormMenu(TForm* form, TMainMenu* menu);
TMainMenu* FormMenu(const TForm* form);
// The form's shortcut handling: the menu bar's items first, then those of
// the popup menus the form owns. True if an item took the key. The form does
// not ask by itself: call it from a key handler (with KeyPreview on).
bool IsFormShortCut(TForm* form, WORD key, TShiftState shift);

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  public:
    explicit TPopupMenu(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment a) { alignment_ = a; }

    // Shows the menu at a screen point and returns when it closes; the item
    // picked (if any) is clicked before this returns.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

  protected:
    HMENU CreateMenuHandle() override;

  private:
    TPopupAlignment alignment_ = paLeft;
};

// The hidden window that owns every popup menu while it is open.
HWND PopupListWindow();
