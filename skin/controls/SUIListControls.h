// The skinned scrolling controls: combo box, list box, memo and string grid.
// Each keeps its framework base's behaviour and adds a style, the style's
// colours and a one-pixel frame in BorderColor over the window edge.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Grids.h"
#include "framework/StdCtrls.h"

#include <functional>

class TsuiComboBox : public TsuiStyled<TComboBox> {
  public:
    explicit TsuiComboBox(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(TColor v);
    TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(TColor v);

  protected:
    void ApplyStyle() override;
    void WndProc(TMessage& m) override;
    void EnabledChanged() override;

  private:
    // The frame, button and arrow over what the system painted, on dc or,
    // without one, on a DC of the window.
    void PaintSkin(HDC dc);

    TColor borderColor_ = clBlack;
    TColor arrowColor_ = clBlack;
    TColor buttonColor_ = clBtnFace;
    // The MacOS and WinXP styles' button picture; empty in the others.
    TBitmap buttonPicture_;
};

class TsuiScrollBar;

// Skinned bars laid over a control's own scroll bars, one per direction:
// placed over the control's edge, following its scrolling, and scrolling it
// when the user moves them. The bars are not owned.
class TsuiScrollBarLink {
  public:
    // scroll moves the control to a bar's position.
    TsuiScrollBarLink(TWinControl& control,
                      std::function<void(bool vertical, int position)> scroll);
    ~TsuiScrollBarLink();
    TsuiScrollBarLink(const TsuiScrollBarLink&) = delete;
    TsuiScrollBarLink& operator=(const TsuiScrollBarLink&) = delete;

    TsuiScrollBar* Bar(bool vertical) const { return bars_[vertical]; }
    // Hands back the bar linked before and takes bar; false when it is
    // linked already.
    bool SetBar(bool vertical, TsuiScrollBar* bar, const TsuiStyleLink& style);
    // A linked bar looks like the control it lies on.
    void Style(const TsuiStyleLink& style);
    // Over the control's right and bottom edges, inside its frame.
    void Place();
    // Range, position, thumb and state from the control's own bars.
    void Sync();
    // After the control has handled m: the messages that may move its bars.
    void Follow(const TMessage& m);
    // True when component was a linked bar; the link forgets it.
    bool Forget(const TComponent* component);

  private:
    void SyncBar(bool vertical);
    void ShowBars();
    void BarChanged(bool vertical);

    TWinControl& control_;
    std::function<void(bool, int)> scroll_;
    TsuiScrollBar* bars_[2] = {}; // horizontal, vertical
    // Whether the control shows its own bar, as last read.
    bool systemShown_[2] = {true, true};
    bool syncing_ = false;
    bool scrolling_ = false;
    bool mouseDown_ = false;
    // While the control's redraw is off its own bars are not kept up to date.
    bool redrawOff_ = false;
};

// What the list box and the memo share: a style, a theme file, a two-pixel
// frame in BorderColor in place of the system's border, and the scroll-bar
// link.
template <class Base> class TsuiFramedControl : public TsuiStyled<Base> {
  public:
    explicit TsuiFramedControl(TComponent* owner);

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);

  protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void ApplyStyle() override;
    void ApplyBounds(int left, int top, int width, int height) override;
    void EnabledChanged() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Moves the control to a linked bar's position.
    virtual void ScrollTo(bool vertical, int position) = 0;
    // After a bar was linked or went away.
    virtual void BarsChanged() {}
    TsuiScrollBar* LinkedBar(bool vertical) const { return link_.Bar(vertical); }
    void LinkBar(bool vertical, TsuiScrollBar* bar);

  private:
    TColor borderColor_ = clBlack;
    TsuiScrollBarLink link_;
};

extern template class TsuiFramedControl<TListBox>;
extern template class TsuiFramedControl<TMemo>;

// A list box that can lay a skinned scroll bar over its own vertical one.
class TsuiListBox : public TsuiFramedControl<TListBox> {
  public:
    explicit TsuiListBox(TComponent* owner) : TsuiFramedControl(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Not owned; cleared when the bar goes away.
    TsuiScrollBar* VScrollBar() const { return LinkedBar(true); }
    void SetVScrollBar(TsuiScrollBar* bar) { LinkBar(true, bar); }

  protected:
    void ScrollTo(bool vertical, int position) override;
};

// A memo that can lay a skinned scroll bar over each of its own; its own
// bars are shown for the directions that are linked.
class TsuiMemo : public TsuiFramedControl<TMemo> {
  public:
    explicit TsuiMemo(TComponent* owner) : TsuiFramedControl(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiScrollBar* VScrollBar() const { return LinkedBar(true); }
    void SetVScrollBar(TsuiScrollBar* bar) { LinkBar(true, bar); }
    TsuiScrollBar* HScrollBar() const { return LinkedBar(false); }
    void SetHScrollBar(TsuiScrollBar* bar) { LinkBar(false, bar); }

  protected:
    void WndProc(TMessage& m) override;
    void ScrollTo(bool vertical, int position) override;
    void BarsChanged() override;

  private:
    void PaintCorner();
};

class TsuiPopupMenu;

class TsuiStringGrid : public TsuiStyled<TStringGrid> {
  public:
    explicit TsuiStringGrid(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    // The current cell while the grid has the focus.
    TColor FocusedColor() const { return focusedColor_; }
    void SetFocusedColor(TColor v);
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor v);
    TColor FixedFontColor() const { return fixedFontColor_; }
    void SetFixedFontColor(TColor v);
    // Other names for Color, FixedColor and Font.Color.
    TColor BGColor() const { return Color(); }
    void SetBGColor(TColor v) { SetColor(v); }
    TColor FixedBGColor() const { return FixedColor(); }
    void SetFixedBGColor(TColor v) { SetFixedColor(v); }
    TColor FontColor() const { return Font().Color(); }
    void SetFontColor(TColor v);
    bool Ctl3D() const { return false; }
    void SetCtl3D(bool) {}

    // The right-click menu, 复制 (the selection) and 复制全部 (header and
    // every row), made on first use in the grid's style.
    TsuiPopupMenu& CopyMenu();

  protected:
    void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    // Border, fixed cells, background and both font colours from the style.
    void ApplyStyle() override;

  private:
    // At a screen point; (-1, -1), as the menu key sends it, opens it at the
    // focus cell.
    void ShowCopyMenu(POINT at);

    TsuiPopupMenu* copyMenu_ = nullptr; // owned as a component
    TColor borderColor_ = clBlack;
    TColor focusedColor_ = 0x00FF00;
    TColor selectedColor_ = 0x00FFFF;
    TColor fixedFontColor_ = clWindowText;
    bool painting_ = false;
};
