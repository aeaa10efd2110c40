// The skinned scrolling controls: combo box, list box, memo and string grid.
// Each keeps its framework base's behaviour and adds a style, the style's
// colours and a one-pixel frame in BorderColor over the window edge.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Grids.h"
#include "framework/StdCtrls.h"

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

// What the list box and the memo share: a style, a theme file and a
// two-pixel frame in BorderColor in place of the system's border.
template <class Base> class TsuiFramedControl : public TsuiStyled<Base> {
  public:
    explicit TsuiFramedControl(TComponent* owner);

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);

  protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void ApplyStyle() override;

  private:
    TColor borderColor_ = clBlack;
};

extern template class TsuiFramedControl<TListBox>;
extern template class TsuiFramedControl<TMemo>;

class TsuiScrollBar;

// A list box that can lay a skinned scroll bar over its own vertical one:
// the bar is placed on every move and resize, follows the list's scrolling,
// and scrolls the list when the user moves it.
class TsuiListBox : public TsuiFramedControl<TListBox> {
  public:
    explicit TsuiListBox(TComponent* owner) : TsuiFramedControl(owner) {}
    ~TsuiListBox() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Not owned; cleared when the bar goes away.
    TsuiScrollBar* VScrollBar() const { return vBar_; }
    void SetVScrollBar(TsuiScrollBar* bar);

  protected:
    void ApplyStyle() override;
    void WndProc(TMessage& m) override;
    void ApplyBounds(int left, int top, int width, int height) override;
    void EnabledChanged() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    void PlaceBar();
    void SyncBar();
    void BarChanged();

    TsuiScrollBar* vBar_ = nullptr;
    bool syncing_ = false;
    bool mouseDown_ = false;
    // While the list's redraw is off its own bar is not kept up to date.
    bool redrawOff_ = false;
    // Set while the list scrolls to the bar's position.
    bool fromBar_ = false;
};

// A memo that can lay a skinned scroll bar over each of its own; its own
// bars are shown for the directions that are linked.
class TsuiMemo : public TsuiFramedControl<TMemo> {
  public:
    explicit TsuiMemo(TComponent* owner) : TsuiFramedControl(owner) {}
    ~TsuiMemo() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiScrollBar* VScrollBar() const { return vBar_; }
    void SetVScrollBar(TsuiScrollBar* bar);
    TsuiScrollBar* HScrollBar() const { return hBar_; }
    void SetHScrollBar(TsuiScrollBar* bar);

  protected:
    void ApplyStyle() override;
    void WndProc(TMessage& m) override;
    void ApplyBounds(int left, int top, int width, int height) override;
    void EnabledChanged() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    void Link(TsuiScrollBar*& slot, TsuiScrollBar* bar, bool vertical);
    void PlaceBars();
    void PaintCorner();
    void SyncBars();
    void BarChanged(bool vertical);
    void FollowLinks();

    TsuiScrollBar* vBar_ = nullptr;
    TsuiScrollBar* hBar_ = nullptr;
    bool syncing_ = false;
    bool scrolling_ = false;
    bool mouseDown_ = false;
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
