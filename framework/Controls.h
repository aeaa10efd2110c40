#pragma once

// Controls: TControl (bounds, alignment, anchors, colours, fonts, mouse),
// TGraphicControl (windowless, painted by its parent), TWinControl (an HWND,
// children, tab order, focus, keyboard, a replaceable window procedure),
// TCustomControl (a canvas and Paint), and the panel.
//
// A message reaches a control like this: Windows calls one static window
// procedure, which finds the object bound to the HWND and calls its
// WindowProc() (replaceable: another component may install its own and chain
// to the previous one); the default WindowProc is the virtual WndProc, and what
// WndProc leaves alone goes to DefaultHandler (the system's procedure).

#include "framework/Component.h"
#include "framework/Graphics.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TForm;

// The window procedure of every control's window class.
LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Messages

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

// Button and move messages; the wheel goes to the focus, not to the point.
inline bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL &&
           msg != WM_MOUSEHWHEEL;
}

// Notifications between controls, sent through WindowProc so a replaced
// window procedure sees them too.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
constexpr UINT CM_COLORCHANGED = CM_BASE + 2;
constexpr UINT CM_FONTCHANGED = CM_BASE + 3;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 4;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 5;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 6;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 7;
constexpr UINT CM_MOUSEENTER = CM_BASE + 8;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 9;
constexpr UINT CM_DIALOGKEY = CM_BASE + 10;    // WParam key; Result 1 = handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 11;   // WParam char; Result 1 = handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 12; // LParam the newly focused TWinControl*
constexpr UINT CM_RELEASE = CM_BASE + 13;
constexpr UINT CM_MODALSTARTED = CM_BASE + 14;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 15;
// Messages Windows sends a parent about a child, reflected to the child as CN_BASE + msg.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;

// ---------------------------------------------------------------------------
// Types

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateKind { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// Panels use bsNone and bsSingle only.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

// Cursor identifiers: crDefault leaves the choice to the window below.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crNo = -12, crHSplit = -14, crVSplit = -15, crHandPoint = -21,
                  crSizeAll = -22;

enum TControlStyleKind {
    csAcceptsControls, // may parent other controls
    csCaptureMouse,    // captures the mouse while a button is held
    csClickEvents,     // a press and release inside makes a Click
    csDoubleClicks,    // double clicks are told apart (else they are two presses)
    csOpaque,          // paints its whole area: no background erase on Invalidate
};
using TControlStyle = TSet<TControlStyleKind>;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            POINT MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// Minimum and maximum size; 0 = no limit.
class TSizeConstraints {
  public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    void Apply(int& width, int& height) const;
    static const TClassInfo& StaticClass();

    std::function<void()> OnChange;

  private:
    void Changed() {
        if (OnChange) OnChange();
    }
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// Property tables of the sub-objects written dotted in descriptions.
const TClassInfo& FontPropertyClass();

// Enumerations by name, for the builders of later classes.
const TEnumInfo& AlignEnum();
const TEnumInfo& AnchorsEnum();
const TEnumInfo& AlignmentEnum();
const TEnumInfo& BevelCutEnum();
const TEnumInfo& BorderStyleEnum(); // bsNone, bsSingle
const TEnumInfo& FormBorderStyleEnum();
const TEnumInfo& CursorEnum();
const TEnumInfo& FontStylesEnum();
const TEnumInfo& FontCharsetEnum();

// Shift state of a key message and of the keyboard now.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardShiftState();

// True if caption marks ch as its accelerator: "&S" for 's' or 'S' ("&&" is a literal '&').
bool IsAccel(wchar_t ch, const std::wstring& caption);
// The caption without its accelerator marks.
std::wstring StripAccel(const std::wstring& caption);

// ---------------------------------------------------------------------------

class TControl : public TComponent {
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    virtual void SetClientWidth(int v);
    virtual void SetClientHeight(int v);
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // Screen position of the client area's top-left corner.
    virtual POINT ClientOrigin() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors a);
    TSizeConstraints& Constraints() { return constraints_; }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent too.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    void SetFont(const TFont& f) { font_->Assign(f); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& h) { hint_ = h; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }

    // Caption and Text are one string; a change sends CM_TEXTCHANGED.
    virtual std::wstring Text() const;
    void SetText(const std::wstring& text);
    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& text) { SetText(text); }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle s) { controlStyle_ = s; }

    // Sends a message straight to WindowProc; returns its Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The procedure messages go through. To hook it, keep the old one and
    // chain to it from the new one; put the old one back when done.
    const TWndMethod& WindowProc() const { return windowProc_; }
    void SetWindowProc(TWndMethod proc);

    virtual void Invalidate();
    void Update();
    void Repaint();
    void BringToFront();

    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;

    // What the tab and dialog-key logic calls on every control; true = handled.
    // Buttons answer Enter/Escape here, and their '&' letter in DialogChar.
    virtual bool DialogKey(WORD key, TShiftState shift);
    virtual bool DialogChar(wchar_t ch, TShiftState shift);

  protected:
    virtual void WndProc(TMessage& m);
    // Messages WndProc does not handle. TControl: nothing; TWinControl: Windows.
    virtual void DefaultHandler(TMessage& m);

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool DoMouseWheel(TShiftState shift, int delta, POINT pos);
    virtual void Resize();

    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();

    // The bounds after the constraints; subclasses may restrict further.
    virtual void ConstrainedResize(int& width, int& height);
    // Tells the parent to lay out again (an aligned child moved or changed).
    void RequestAlign();
    // Records the distances the anchors keep from the parent's edges.
    void UpdateAnchorRules();

    // Stored text without asking the window.
    const std::wstring& StoredText() const { return text_; }
    void StoreText(const std::wstring& t) { text_ = t; }
    // Called by the parent's layout: bounds without new anchor rules.
    void SetBoundsByLayout(int left, int top, int width, int height);
    virtual void ApplyBounds(int left, int top, int width, int height);
    void MarkDestroying() { Destroying_(); }

  private:
    friend class TWinControl;
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    void HandleMouse(TMessage& m);
    void FontWasChanged();
    void SetColorInternal(TColor c);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    RECT anchorOrigin_{};
    SIZE anchorParentSize_{};
    bool anchorValid_ = false;
    TSizeConstraints constraints_;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool copyingParentFont_ = false;
    TCursor cursor_ = crDefault;
    std::wstring hint_;
    bool showHint_ = false;
    std::wstring text_;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csDoubleClicks};
    TWndMethod windowProc_;
    bool clicking_ = false;
};

// ---------------------------------------------------------------------------

// Windowless: painted by its parent into the parent's DC, mouse through the parent.
class TGraphicControl : public TControl {
  public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Valid while Paint runs.
    TCanvas& Canvas() { return canvas_; }
    // Paints into dc, whose origin is this control's top-left corner.
    void PaintTo(HDC dc);

  protected:
    virtual void Paint();

  private:
    TCanvas canvas_;
};

// ---------------------------------------------------------------------------

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // The Win32 window class: its name (the C++ class name by default) and,
    // for a control built on a system control, the system class it superclasses.
    std::wstring WinClassName;
    std::wstring SystemClassName;
    UINT ClassStyle = CS_DBLCLKS;
    HBRUSH Background = nullptr;
};

class TWinControl : public TControl {
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The window, created on first use (and with its parent's).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    // Destroys the window (the object stays; a new window comes on demand).
    void DestroyHandle();
    // Destroys and creates the window again, e.g. after a style change.
    void RecreateWnd();

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(size_t(index)); }
    bool ContainsControl(const TControl* c) const;
    // The topmost visible, enabled graphic child at a client point (or nullptr).
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;

    void Realign();
    // The rectangle aligned children share (the client area, less borders).
    virtual void AdjustClientRect(RECT& r) const;

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    // Focusable controls in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // Moves the focus to the next (or previous) control after current among
    // this control's descendants; checkTabStop skips controls without TabStop.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void SetParent(TWinControl* parent) override;
    std::wstring Text() const override;
    void Invalidate() override;
    void Loaded() override;

    bool DialogKey(WORD key, TShiftState shift) override;
    bool DialogChar(wchar_t ch, TShiftState shift) override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The control a window belongs to (nullptr for windows not ours).
    static TWinControl* FindControl(HWND wnd);

  protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: children's windows, font, text.
    virtual void CreateHandleDone();
    // Whether CreateHandleDone makes the children's windows at once; a
    // container nobody sees yet may leave them for later.
    virtual bool CreatesChildrenAtOnce() const { return true; }
    // Creates the windows of all children that have none yet.
    void CreateChildHandles();
    // A system control to superclass under our own class name.
    static void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);

    void WndProc(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;

    // WM_PAINT: the DC is wParam's (when given) or BeginPaint's.
    void PaintHandler(TMessage& m);
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc);
    // Fills the background with Color.
    virtual void EraseBackground(HDC dc);

    virtual void AlignControls(RECT& rect);
    void ApplyBounds(int left, int top, int width, int height) override;

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void DoEnter();
    virtual void DoExit();
    // Sets the font of a system control's window.
    void SendFontToWindow();

    void ColorChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void ParentColorChanged() override;
    void ParentFontChanged() override;

    // True while the window is one of the system's (EDIT, LISTBOX, ...).
    bool IsSystemControl() const { return defWndProc_ != nullptr && defWndProc_ != DefWindowProcW; }
    HBRUSH ColorBrush();

  private:
    friend class TControl;
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class TApplication;
    friend class TForm;
    // The focus went to another window; the form's focus stays here.
    bool exitDeferred_ = false;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void CreateHandle();
    void UpdateBoundsFromWindow();
    void FixupTabList();
    bool DoKeyDown(WORD& key, TShiftState shift);
    bool DoKeyPress(wchar_t& key);
    bool DoKeyUp(WORD& key, TShiftState shift);
    // The steps of WndProc; each returns true when it handled the message.
    bool RouteMouseToChild(TMessage& m);
    bool HitTestMessage(TMessage& m);
    bool MouseStateMessage(TMessage& m);
    bool PaintMessage(TMessage& m);
    bool ReflectNotification(TMessage& m);
    bool MenuMessage(TMessage& m);
    bool ReflectedColorMessage(TMessage& m);
    bool KeyMessage(TMessage& m);
    bool FocusMessage(TMessage& m);
    bool SizeMessage(TMessage& m);
    bool DestroyMessage(TMessage& m);
    bool OfferToMenus(TMessage& m);
    void FocusReceived();
    void FocusLost(HWND to);
    void ReflectToChild(TMessage& m, HWND child);
    void TrackMouse(TMessage& m);
    bool SetCursorFor(TMessage& m);
    void AnchorChildren();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = DefWindowProcW;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    int tabOrderWanted_ = -1;
    bool tabStop_ = false;
    bool aligning_ = false;
    bool alignPending_ = false;
    TControl* alignRequester_ = nullptr;
    bool trackingMouse_ = false;
    BrushHandle colorBrush_;
    TColor colorBrushColor_ = clNone;
    int controlId_ = 0;
};

// ---------------------------------------------------------------------------

// A window that paints itself: Canvas and Paint.
class TCustomControl : public TWinControl {
  public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // While Paint runs, the paint DC; otherwise a DC of the window, given back
    // after the current message.
    TCanvas& Canvas();

    TNotifyEvent OnPaint;

  protected:
    virtual void Paint();
    void PaintWindow(HDC dc) override;

  private:
    friend void ReleaseCanvasDCs();
    TCanvas canvas_;
    WindowDC borrowedDC_;
    bool painting_ = false;
};

// Gives back the window DCs that Canvas() borrowed outside painting.
void ReleaseCanvasDCs();

// ---------------------------------------------------------------------------

class TCustomPanel : public TCustomControl {
  public:
    explicit TCustomPanel(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);

    void AdjustClientRect(RECT& r) const override;

  protected:
    void Paint() override;
    void CreateParams(TCreateParams& params) override;
    void TextChanged() override;

  private:
    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
};

class TPanel : public TCustomPanel {
  public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

// Draws a 3-D frame width pixels wide and shrinks r by it.
void Frame3D(TCanvas& canvas, RECT& r, TColor topLeft, TColor bottomRight, int width);

// The form a control sits on (nullptr if none).
TForm* GetParentForm(const TControl* control);

// Menus take WM_COMMAND without a control, WM_DRAWITEM and WM_MEASUREITEM of
// ODT_MENU, WM_INITMENUPOPUP and WM_MENUCHAR through this handler.
using TMenuMessageHandler = std::function<bool(TWinControl& window, TMessage& m)>;
void SetMenuMessageHandler(TMenuMessageHandler handler);
