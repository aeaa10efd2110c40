#include "framework/Controls.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <map>
#include <utility>

namespace {

const wchar_t kControlProp[] = L"LananControl";
thread_local TWinControl* gCreating = nullptr;
TControl* gMouseControl = nullptr;
TControl* gCaptureControl = nullptr;
std::vector<TCustomControl*> gBorrowedCanvases;
TMenuMessageHandler gMenuHandler;
int gDispatchDepth = 0;
int gNextControlId = 100;

void SetMouseControl(TControl* c) {
    if (c == gMouseControl) return;
    TControl* old = gMouseControl;
    gMouseControl = c;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (c && gMouseControl == c) c->Perform(CM_MOUSEENTER);
}

bool IsGraphic(const TControl* c) {
    return dynamic_cast<const TWinControl*>(c) == nullptr;
}

LPCWSTR CursorResource(TCursor c) {
    switch (c) {
    case crArrow:
        return IDC_ARROW;
    case crCross:
        return IDC_CROSS;
    case crIBeam:
        return IDC_IBEAM;
    case crSizeNESW:
        return IDC_SIZENESW;
    case crSizeNS:
        return IDC_SIZENS;
    case crSizeNWSE:
        return IDC_SIZENWSE;
    case crSizeWE:
        return IDC_SIZEWE;
    case crUpArrow:
        return IDC_UPARROW;
    case crHourGlass:
        return IDC_WAIT;
    case crNo:
        return IDC_NO;
    case crHSplit:
        return IDC_SIZEWE;
    case crVSplit:
        return IDC_SIZENS;
    case crHandPoint:
        return IDC_HAND;
    case crSizeAll:
        return IDC_SIZEALL;
    default:
        return nullptr;
    }
}

TEnumInfo MakeEnum(const wchar_t* type,
                   std::initializer_list<std::pair<std::wstring, int>> values) {
    TEnumInfo e;
    e.typeName = type;
    e.values = values;
    return e;
}

bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL &&
            msg != WM_MOUSEHWHEEL);
}

// Window classes we registered, with the procedure of the system class each
// one superclasses (DefWindowProcW for our own).
WNDPROC RegisterWinClass(const TCreateParams& p) {
    static std::map<std::wstring, WNDPROC> registered;
    auto it = registered.find(p.WinClassName);
    if (it != registered.end()) return it->second;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WNDPROC base = DefWindowProcW;
    if (!p.SystemClassName.empty()) {
        WNDCLASSEXW sys{};
        sys.cbSize = sizeof sys;
        if (!GetClassInfoExW(nullptr, p.SystemClassName.c_str(), &sys)) {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
            InitCommonControlsEx(&icc);
            if (!GetClassInfoExW(nullptr, p.SystemClassName.c_str(), &sys))
                throw EInvalidOperation(L"System window class " + p.SystemClassName +
                                        L" not found");
        }
        wc = sys;
        wc.cbSize = sizeof wc;
        wc.style &= ~UINT(CS_GLOBALCLASS);
        base = sys.lpfnWndProc;
    } else {
        wc.style = p.ClassStyle;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = p.Background;
        wc.hIcon = LoadIconW(MainInstance(), L"MAINICON");
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = MainInstance();
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EInvalidOperation(L"Cannot register window class " + p.WinClassName + L": " +
                                SystemErrorMessage(GetLastError()));
    registered[p.WinClassName] = base;
    return base;
}

} // namespace

// ---------------------------------------------------------------------------
// The one window procedure of every control.

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* c = static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
    if (!c) {
        // Bind at the first message (WM_GETMINMAXINFO comes before WM_NCCREATE).
        c = gCreating;
        if (!c && msg == WM_NCCREATE)
            c = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (!c) return DefWindowProcW(wnd, msg, wParam, lParam);
        gCreating = nullptr;
        c->handle_ = wnd;
        SetPropW(wnd, kControlProp, c);
    }
    TMessage m{msg, wParam, lParam, 0};
    ++gDispatchDepth;
    try {
        c->windowProc_(m);
    } catch (const std::exception& e) {
        // No exception may cross Windows' own code.
        if (Application) Application->HandleException(c, e);
    } catch (...) {
        if (Application) Application->HandleException(c, Exception(L"Unknown error"));
    }
    --gDispatchDepth;
    if (msg == WM_NCDESTROY) {
        RemovePropW(wnd, kControlProp);
        if (c->handle_ == wnd) c->handle_ = nullptr;
    }
    if (gDispatchDepth == 0) ReleaseCanvasDCs();
    return m.Result;
}

// ---------------------------------------------------------------------------
// Helpers

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

bool IsAccel(wchar_t ch, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        wchar_t a = caption[i + 1], b = ch;
        CharUpperBuffW(&a, 1);
        CharUpperBuffW(&b, 1);
        return a == b;
    }
    return false;
}

std::wstring StripAccel(const std::wstring& caption) {
    std::wstring out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent())
        c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void SetMenuMessageHandler(TMenuMessageHandler handler) {
    gMenuHandler = std::move(handler);
}

TControl* MouseControl() {
    return gMouseControl;
}

void Frame3D(TCanvas& canvas, RECT& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width && r.right - r.left > 0 && r.bottom - r.top > 0; ++i) {
        canvas.Brush().SetColor(topLeft);
        canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1});
        canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1});
        canvas.Brush().SetColor(bottomRight);
        canvas.FillRect({r.right - 1, r.top, r.right, r.bottom});
        canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
        InflateRect(&r, -1, -1);
    }
}

// ---------------------------------------------------------------------------
// Enumerations and sub-object tables

const TEnumInfo& AlignEnum() {
    static const TEnumInfo e = MakeEnum(L"TAlign", {{L"alNone", alNone},
                                                    {L"alTop", alTop},
                                                    {L"alBottom", alBottom},
                                                    {L"alLeft", alLeft},
                                                    {L"alRight", alRight},
                                                    {L"alClient", alClient}});
    return e;
}
const TEnumInfo& AnchorsEnum() {
    static const TEnumInfo e = MakeEnum(
        L"TAnchors",
        {{L"akLeft", akLeft}, {L"akTop", akTop}, {L"akRight", akRight}, {L"akBottom", akBottom}});
    return e;
}
const TEnumInfo& AlignmentEnum() {
    static const TEnumInfo e = MakeEnum(L"TAlignment", {{L"taLeftJustify", taLeftJustify},
                                                        {L"taRightJustify", taRightJustify},
                                                        {L"taCenter", taCenter}});
    return e;
}
const TEnumInfo& BevelCutEnum() {
    static const TEnumInfo e = MakeEnum(L"TBevelCut", {{L"bvNone", bvNone},
                                                       {L"bvLowered", bvLowered},
                                                       {L"bvRaised", bvRaised},
                                                       {L"bvSpace", bvSpace}});
    return e;
}
const TEnumInfo& BorderStyleEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TBorderStyle", {{L"bsNone", bsNone}, {L"bsSingle", bsSingle}});
    return e;
}
const TEnumInfo& FormBorderStyleEnum() {
    static const TEnumInfo e = MakeEnum(L"TFormBorderStyle", {{L"bsNone", bsNone},
                                                              {L"bsSingle", bsSingle},
                                                              {L"bsSizeable", bsSizeable},
                                                              {L"bsDialog", bsDialog},
                                                              {L"bsToolWindow", bsToolWindow},
                                                              {L"bsSizeToolWin", bsSizeToolWin}});
    return e;
}
const TEnumInfo& CursorEnum() {
    static const TEnumInfo e = MakeEnum(L"TCursor", {{L"crDefault", crDefault},
                                                     {L"crNone", crNone},
                                                     {L"crArrow", crArrow},
                                                     {L"crCross", crCross},
                                                     {L"crIBeam", crIBeam},
                                                     {L"crSizeNESW", crSizeNESW},
                                                     {L"crSizeNS", crSizeNS},
                                                     {L"crSizeNWSE", crSizeNWSE},
                                                     {L"crSizeWE", crSizeWE},
                                                     {L"crUpArrow", crUpArrow},
                                                     {L"crHourGlass", crHourGlass},
                                                     {L"crNo", crNo},
                                                     {L"crHSplit", crHSplit},
                                                     {L"crVSplit", crVSplit},
                                                     {L"crHandPoint", crHandPoint},
                                                     {L"crSizeAll", crSizeAll}});
    return e;
}
const TEnumInfo& FontStylesEnum() {
    static const TEnumInfo e = MakeEnum(L"TFontStyles", {{L"fsBold", fsBold},
                                                         {L"fsItalic", fsItalic},
                                                         {L"fsUnderline", fsUnderline},
                                                         {L"fsStrikeOut", fsStrikeOut}});
    return e;
}
const TEnumInfo& FontCharsetEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TFontCharset", {{L"ANSI_CHARSET", ANSI_CHARSET},
                                   {L"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                   {L"SYMBOL_CHARSET", SYMBOL_CHARSET},
                                   {L"GB2312_CHARSET", GB2312_CHARSET},
                                   {L"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
                                   {L"OEM_CHARSET", OEM_CHARSET}});
    return e;
}

const TClassInfo& FontPropertyClass() {
    static const TClassInfo& info =
        TClassBuilder<TFont, TFont>(L"TFont", nullptr)
            .Custom(
                L"Charset",
                [](TFont& f, const TValue& v) {
                    // Stored by name or as the plain number.
                    if (v.kind == TValue::Kind::Integer)
                        f.SetCharset(TFontCharset(ValueToInteger(v, 0, 255)));
                    else
                        f.SetCharset(TFontCharset(ValueToEnum(v, FontCharsetEnum())));
                },
                [](TFont& f) {
                    std::wstring n = FontCharsetEnum().NameOf(f.Charset());
                    return n.empty() ? TValue::Int(f.Charset()) : TValue::Ident(n);
                })
            .Color(L"Color", &TFont::Color, &TFont::SetColor)
            .Property(L"Height", &TFont::Height, &TFont::SetHeight)
            .Property(L"Name", &TFont::Name, &TFont::SetName)
            .Property(L"Size", &TFont::Size, &TFont::SetSize)
            .Set(L"Style", &TFont::Style, &TFont::SetStyle, FontStylesEnum())
            .Build();
    return info;
}

void TSizeConstraints::SetMinWidth(int v) {
    minWidth_ = std::max(0, v);
    Changed();
}
void TSizeConstraints::SetMinHeight(int v) {
    minHeight_ = std::max(0, v);
    Changed();
}
void TSizeConstraints::SetMaxWidth(int v) {
    maxWidth_ = std::max(0, v);
    Changed();
}
void TSizeConstraints::SetMaxHeight(int v) {
    maxHeight_ = std::max(0, v);
    Changed();
}
void TSizeConstraints::Apply(int& width, int& height) const {
    if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
    if (width < minWidth_) width = minWidth_;
    if (maxHeight_ > 0 && height > maxHeight_) height = maxHeight_;
    if (height < minHeight_) height = minHeight_;
}
const TClassInfo& TSizeConstraints::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TSizeConstraints, TSizeConstraints>(L"TSizeConstraints", nullptr)
            .Property(L"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
            .Property(L"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
            .Property(L"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
            .Property(L"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth)
            .Build();
    return info;
}

// ---------------------------------------------------------------------------
// TControl

const TClassInfo& TControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TControl>(L"TControl", &TComponent::StaticClass())
            .Property(L"Left", &TControl::Left, &TControl::SetLeft)
            .Property(L"Top", &TControl::Top, &TControl::SetTop)
            .Property(L"Width", &TControl::Width, &TControl::SetWidth)
            .Property(L"Height", &TControl::Height, &TControl::SetHeight)
            .Property(L"ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
            .Property(L"ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
            .Enum(L"Align", &TControl::Align, &TControl::SetAlign, AlignEnum())
            .Set(L"Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorsEnum())
            .Object(L"Constraints", &TControl::Constraints, TSizeConstraints::StaticClass())
            .Property(L"Caption", &TControl::Caption, &TControl::SetCaption)
            .Property(L"Text", &TControl::Text, &TControl::SetText)
            .Color(L"Color", &TControl::Color, &TControl::SetColor)
            .Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Object(L"Font", static_cast<TFont& (TControl::*)()>(&TControl::Font),
                    FontPropertyClass())
            .Property(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .Enum(L"Cursor", &TControl::Cursor, &TControl::SetCursor, CursorEnum())
            .Property(L"Hint", &TControl::Hint, &TControl::SetHint)
            .Property(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Property(L"Visible", &TControl::Visible, &TControl::SetVisible)
            .Property(L"Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Event(L"OnClick", &TControl::OnClick)
            .Event(L"OnDblClick", &TControl::OnDblClick)
            .Event(L"OnMouseDown", &TControl::OnMouseDown)
            .Event(L"OnMouseMove", &TControl::OnMouseMove)
            .Event(L"OnMouseUp", &TControl::OnMouseUp)
            .Event(L"OnMouseEnter", &TControl::OnMouseEnter)
            .Event(L"OnMouseLeave", &TControl::OnMouseLeave)
            .Event(L"OnMouseWheel", &TControl::OnMouseWheel)
            .Event(L"OnResize", &TControl::OnResize)
            .Build();
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange = [this](TFont*) { FontWasChanged(); };
    windowProc_ = [this](TMessage& m) { WndProc(m); };
    constraints_.OnChange = [this] { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
    MarkDestroying();
    if (gMouseControl == this) gMouseControl = nullptr;
    if (gCaptureControl == this) gCaptureControl = nullptr;
    SetParent(nullptr);
    font_->OnChange = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation(L"A control cannot be its own parent");
    if (parent_) {
        if (TForm* f = GetParentForm(this)) f->ControlRemoved(this);
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTFONTCHANGED);
        UpdateAnchorRules();
    }
}

void TControl::ConstrainedResize(int& width, int& height) {
    constraints_.Apply(width, height);
    if (width < 0) width = 0;
    if (height < 0) height = 0;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    ConstrainedResize(width, height);
    bool sized = width != width_ || height != height_;
    bool moved = left != left_ || top != top_;
    if (sized || moved) ApplyBounds(left, top, width, height);
    bool byLayout = parent_ && parent_->aligning_;
    if (!byLayout) {
        UpdateAnchorRules();
        if (align_ != alNone && (sized || moved)) RequestAlign();
    }
    if (sized) Resize();
}

void TControl::SetBoundsByLayout(int left, int top, int width, int height) {
    ConstrainedResize(width, height);
    bool sized = width != width_ || height != height_;
    if (!sized && left == left_ && top == top_) return;
    ApplyBounds(left, top, width, height);
    if (sized) Resize();
}

void TControl::ApplyBounds(int left, int top, int width, int height) {
    // A windowless control repaints the parent where it was and where it is.
    if (parent_ && visible_) {
        RECT old = BoundsRect();
        if (parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &old, TRUE);
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
}

RECT TControl::ClientRect() const {
    return {0, 0, width_, height_};
}
int TControl::ClientWidth() const {
    RECT r = ClientRect();
    return r.right - r.left;
}
int TControl::ClientHeight() const {
    RECT r = ClientRect();
    return r.bottom - r.top;
}
void TControl::SetClientWidth(int v) {
    SetWidth(v + (width_ - ClientWidth()));
}
void TControl::SetClientHeight(int v) {
    SetHeight(v + (height_ - ClientHeight()));
}

POINT TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    POINT p = parent_->ClientOrigin();
    return {p.x + left_, p.y + top_};
}
POINT TControl::ClientToScreen(POINT p) const {
    POINT o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}
POINT TControl::ScreenToClient(POINT p) const {
    POINT o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    // Aligned controls ignore anchors; alNone goes back to the default ones.
    if (a == alNone) anchors_ = TAnchors{akLeft, akTop};
    RequestAlign();
}

void TControl::SetAnchors(TAnchors a) {
    if (a == anchors_) return;
    anchors_ = a;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!parent_ || Loading()) {
        anchorValid_ = false;
        return;
    }
    anchorOrigin_ = BoundsRect();
    anchorParentSize_ = {parent_->ClientWidth(), parent_->ClientHeight()};
    anchorValid_ = true;
}

void TControl::RequestAlign() {
    if (!parent_ || parent_->aligning_) return;
    // The control that moved wins ties: a panel put at the top goes above the others there.
    TControl* previous = std::exchange(parent_->alignRequester_, this);
    parent_->Realign();
    parent_->alignRequester_ = previous;
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
    Perform(CM_VISIBLECHANGED, v);
    RequestAlign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    return parent_ ? parent_->Showing() : true;
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor c) {
    if (c == color_ && !parentColor_) return;
    parentColor_ = false;
    SetColorInternal(c);
}

void TControl::SetColorInternal(TColor c) {
    bool changed = c != color_;
    color_ = c;
    if (changed) Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) SetColorInternal(parent_->Color());
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontWasChanged() {
    if (!copyingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

std::wstring TControl::Text() const {
    return text_;
}

void TControl::SetText(const std::wstring& text) {
    if (Text() == text) return;
    text_ = text;
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowTextW(w->Handle(), text.c_str());
    Perform(CM_TEXTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    windowProc_(m);
    return m.Result;
}

void TControl::SetWindowProc(TWndMethod proc) {
    windowProc_ = proc ? std::move(proc) : TWndMethod([this](TMessage& m) { WndProc(m); });
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.insert(v.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCapture() const {
    return gCaptureControl == this;
}

void TControl::SetMouseCapture(bool capture) {
    if (capture == MouseCapture()) return;
    if (capture) {
        HWND wnd = nullptr;
        if (auto* w = dynamic_cast<TWinControl*>(this))
            wnd = w->Handle();
        else if (parent_)
            wnd = parent_->Handle();
        if (!wnd) return;
        ::SetCapture(wnd);
        gCaptureControl = this;
    } else {
        gCaptureControl = nullptr;
        ReleaseCapture();
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
}

bool TControl::DialogKey(WORD, TShiftState) {
    return false;
}
bool TControl::DialogChar(wchar_t, TShiftState) {
    return false;
}

void TControl::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg)) {
        HandleMouse(m);
        return;
    }
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
        EnabledChanged();
        return;
    case CM_COLORCHANGED:
        ColorChanged();
        return;
    case CM_FONTCHANGED:
        FontChanged();
        return;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        return;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();
        return;
    case CM_TEXTCHANGED:
        TextChanged();
        return;
    case CM_VISIBLECHANGED:
        VisibleChanged();
        return;
    case CM_MOUSEENTER:
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        MouseLeave();
        return;
    case CM_DIALOGKEY:
        m.Result = DialogKey(WORD(m.WParam), TShiftState::FromBits(std::uint32_t(m.LParam)));
        return;
    case CM_DIALOGCHAR:
        m.Result = DialogChar(wchar_t(m.WParam), TShiftState::FromBits(std::uint32_t(m.LParam)));
        return;
    default:
        DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m) {
    m.Result = 0;
}

void TControl::HandleMouse(TMessage& m) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeysToShiftState(m.WParam);
    TMouseButton button = mbLeft;
    switch (m.Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        button = mbRight;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        button = mbMiddle;
        break;
    default:
        break;
    }
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        bool dbl =
            (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK) &&
            controlStyle_.Contains(csDoubleClicks);
        DefaultHandler(m);
        if (button == mbLeft) {
            if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (controlStyle_.Contains(csClickEvents)) clicking_ = true;
            if (dbl) DblClick();
        }
        if (dbl) shift.Include(ssDouble);
        MouseDown(button, shift, x, y);
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        DefaultHandler(m);
        if (button == mbLeft) {
            if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
            if (clicking_) {
                clicking_ = false;
                RECT r = ClientRect();
                POINT p{x, y};
                if (PtInRect(&r, p)) Click();
            }
        }
        MouseUp(button, shift, x, y);
        return;
    case WM_MOUSEMOVE:
        DefaultHandler(m);
        MouseMove(shift, x, y);
        return;
    default:
        DefaultHandler(m);
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseEnter() {
    if (OnMouseEnter && !Destroying()) OnMouseEnter(this);
}
void TControl::MouseLeave() {
    if (OnMouseLeave && !Destroying()) OnMouseLeave(this);
}
bool TControl::DoMouseWheel(TShiftState shift, int delta, POINT pos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, delta, pos, handled);
    return handled;
}
void TControl::Resize() {
    if (OnResize && !Loading() && !Destroying()) OnResize(this);
}

void TControl::TextChanged() {
    Invalidate();
}
void TControl::FontChanged() {
    Invalidate();
}
void TControl::ColorChanged() {
    Invalidate();
}
void TControl::EnabledChanged() {
    Invalidate();
}
void TControl::VisibleChanged() {}
void TControl::ParentColorChanged() {
    if (parentColor_ && parent_) SetColorInternal(parent_->Color());
}
void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    copyingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        copyingParentFont_ = false;
        throw;
    }
    copyingParentFont_ = false;
}

// ---------------------------------------------------------------------------
// TGraphicControl

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TGraphicControl>(L"TGraphicControl", &TControl::StaticClass()).Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() {
    MarkDestroying();
}

void TGraphicControl::PaintTo(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.Brush().SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

void TGraphicControl::Paint() {}

// ---------------------------------------------------------------------------
// TWinControl

const TClassInfo& TWinControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TWinControl>(L"TWinControl", &TControl::StaticClass())
            .Property(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .Event(L"OnKeyDown", &TWinControl::OnKeyDown)
            .Event(L"OnKeyPress", &TWinControl::OnKeyPress)
            .Event(L"OnKeyUp", &TWinControl::OnKeyUp)
            .Event(L"OnEnter", &TWinControl::OnEnter)
            .Event(L"OnExit", &TWinControl::OnExit)
            .Build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    DestroyHandle();
    // A container frees the controls it still holds, the newest first.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        c->SetParent(nullptr);
        c->Free();
    }
}

TWinControl* TWinControl::FindControl(HWND wnd) {
    return wnd ? static_cast<TWinControl*>(GetPropW(wnd, kControlProp)) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    if (parent_) parent_->HandleNeeded(); // which may have created ours as well
    if (handle_) return;
    CreateWnd();
    CreateHandleDone();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = parent_ ? parent_->handle_ : nullptr;
    p.WinClassName = ClassName();
    p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClass) {
    params.SystemClassName = systemClass;
    params.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    defWndProc_ = RegisterWinClass(p);
    HMENU id = nullptr;
    if (p.Style & WS_CHILD) {
        if (!controlId_) controlId_ = gNextControlId++;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_));
    }
    gCreating = this;
    HWND wnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X,
                               p.Y, p.Width, p.Height, p.WndParent, id, MainInstance(), this);
    gCreating = nullptr;
    if (!wnd) {
        DWORD err = GetLastError();
        handle_ = nullptr;
        throw EInvalidOperation(L"Cannot create window " + ClassName() + L": " +
                                SystemErrorMessage(err));
    }
    handle_ = wnd;
}

void TWinControl::CreateHandleDone() {
    if (IsSystemControl()) SendFontToWindow();
    if (CreatesChildrenAtOnce()) CreateChildHandles();
    // Windows may have given another size (a form's minimum track size).
    UpdateBoundsFromWindow();
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    DestroyWindow(handle_);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    CreateHandle();
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) tabList_.push_back(w);
    if (c->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    if (gMouseControl == c) gMouseControl = nullptr;
    if (gCaptureControl == c) gCaptureControl = nullptr;
    if (!IsGraphic(c) || !HandleAllocated()) {
    } else {
        RECT r = c->BoundsRect();
        InvalidateRect(handle_, &r, TRUE);
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
    if (c->Align() != alNone && !Destroying()) Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (handle_ && (!parent || !parent->HandleAllocated())) DestroyHandle();
    TControl::SetParent(parent);
    if (parent && parent->HandleAllocated()) {
        if (handle_)
            ::SetParent(handle_, parent->handle_);
        else
            CreateHandle();
    }
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!IsGraphic(c) || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

RECT TWinControl::ClientRect() const {
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return r;
    }
    return TControl::ClientRect();
}

POINT TWinControl::ClientOrigin() const {
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::ApplyBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (sized) Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    int w = r.right - r.left, h = r.bottom - r.top;
    bool sized = w != width_ || h != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = w;
    height_ = h;
    if (sized) {
        Realign();
        Resize();
    }
}

void TWinControl::SetVisible(bool v) {
    if (v == Visible()) return;
    TControl::SetVisible(v);
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (v ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetEnabled(bool v) {
    if (v == Enabled()) return;
    if (handle_) EnableWindow(handle_, v);
    TControl::SetEnabled(v);
}

std::wstring TWinControl::Text() const {
    if (!handle_) return StoredText();
    int n = GetWindowTextLengthW(handle_);
    std::wstring s(size_t(n) + 1, L'\0');
    n = GetWindowTextW(handle_, s.data(), n + 1);
    s.resize(size_t(std::max(n, 0)));
    return s;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || Loading() || aligning_ || Destroying()) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    aligning_ = true;
    try {
        RECT r = ClientRect();
        AdjustClientRect(r);
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(RECT&) const {}

void TWinControl::AlignControls(RECT& r) {
    static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        // Controls of one alignment keep their relative order by position;
        // the control that moved wins ties.
        TControl* requester = alignRequester_;
        auto key = [a](TControl* c) {
            switch (a) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) {
            if (key(x) != key(y)) return key(x) < key(y);
            return x == requester && y != requester;
        });
        for (TControl* c : list) {
            int w = std::max<int>(0, r.right - r.left), h = std::max<int>(0, r.bottom - r.top);
            switch (a) {
            case alTop:
                c->SetBoundsByLayout(r.left, r.top, w, c->Height());
                r.top += c->Height();
                break;
            case alBottom:
                c->SetBoundsByLayout(r.left, r.bottom - c->Height(), w, c->Height());
                r.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBoundsByLayout(r.left, r.top, c->Width(), h);
                r.left += c->Width();
                break;
            case alRight:
                c->SetBoundsByLayout(r.right - c->Width(), r.top, c->Width(), h);
                r.right -= c->Width();
                break;
            case alClient:
                c->SetBoundsByLayout(r.left, r.top, w, h);
                break;
            default:
                break;
            }
        }
    }
    AnchorChildren();
}

void TWinControl::AnchorChildren() {
    int pw = ClientWidth(), ph = ClientHeight();
    for (TControl* c : controls_) {
        if (c->Align() != alNone || !c->anchorValid_ || c->Loading()) continue;
        TAnchors a = c->Anchors();
        const RECT& o = c->anchorOrigin_;
        int dx = pw - c->anchorParentSize_.cx, dy = ph - c->anchorParentSize_.cy;
        int left = o.left, top = o.top, width = o.right - o.left, height = o.bottom - o.top;
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                width += dx;
            else
                left += dx;
        } else if (!a.Contains(akLeft)) {
            left += dx / 2; // neither side: keep the centre where it was
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                height += dy;
            else
                top += dy;
        } else if (!a.Contains(akTop)) {
            top += dy / 2;
        }
        c->SetBoundsByLayout(left, top, width, height);
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return tabOrderWanted_;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    tabOrderWanted_ = order;
    if (!Parent() || order < 0) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::min<int>(order, int(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::FixupTabList() {
    // Stored tab orders name places among siblings that did not all exist yet.
    std::vector<TWinControl*> list = tabList_;
    std::stable_sort(list.begin(), list.end(), [](TWinControl* a, TWinControl* b) {
        int x = a->tabOrderWanted_ < 0 ? INT_MAX : a->tabOrderWanted_;
        int y = b->tabOrderWanted_ < 0 ? INT_MAX : b->tabOrderWanted_;
        return x < y;
    });
    tabList_ = list;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    int n = int(list.size());
    if (n == 0) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? -1 : n) : int(it - list.begin());
    // Arrow keys move among siblings only; Tab goes through the whole form.
    bool checkParent = !checkTabStop;
    for (int i = 1; i <= n; ++i) {
        int idx = ((start + (forward ? i : -i)) % n + n) % n;
        TWinControl* c = list[size_t(idx)];
        if (c == current) return nullptr;
        if (!c->CanFocus()) continue;
        if (checkTabStop && !c->TabStop()) continue;
        if (checkParent && c->Parent() != this) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* c = FindNextControl(current, forward, checkTabStop)) c->SetFocus();
}

bool TWinControl::CanFocus() const {
    TForm* form = GetParentForm(this);
    if (!form || !form->Visible() || !form->Enabled()) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TForm* form = GetParentForm(this);
    if (form && form != this && (!form->HandleAllocated() || !IsWindowVisible(form->handle_))) {
        form->SetActiveControl(this); // takes the focus when the form is shown
        return;
    }
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

bool TWinControl::DialogKey(WORD key, TShiftState shift) {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->Perform(CM_DIALOGKEY, key, LPARAM(shift.Bits()))) return true;
    return false;
}

bool TWinControl::DialogChar(wchar_t ch, TShiftState shift) {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->Perform(CM_DIALOGCHAR, ch, LPARAM(shift.Bits()))) return true;
    return false;
}

HBRUSH TWinControl::ColorBrush() {
    if (!colorBrush_ || colorBrushColor_ != Color()) {
        colorBrush_.Reset(CreateSolidBrush(ColorToRGB(Color())));
        colorBrushColor_ = Color();
    }
    return colorBrush_.Get();
}

void TWinControl::SendFontToWindow() {
    if (handle_) SendMessageW(handle_, WM_SETFONT, WPARAM(Font().Handle()), TRUE);
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::TrackMouse(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    RECT r = ClientRect();
    TControl* target = nullptr;
    if (PtInRect(&r, p)) {
        target = ControlAtPos(p);
        if (!target) target = this;
    }
    SetMouseControl(target);
    if (!trackingMouse_ && handle_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
        trackingMouse_ = TrackMouseEvent(&tme) != FALSE;
    }
}

bool TWinControl::SetCursorFor(TMessage& m) {
    if (LOWORD(m.LParam) != HTCLIENT || reinterpret_cast<HWND>(m.WParam) != handle_) return false;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* c = ControlAtPos(p);
    TCursor cursor = c ? c->Cursor() : Cursor();
    if (cursor == crDefault) cursor = Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(cursor == crNone ? nullptr : LoadCursorW(nullptr, CursorResource(cursor)));
    m.Result = TRUE;
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg)) {
        if (m.Msg == WM_MOUSEMOVE) TrackMouse(m);
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        // Windowless children get the mouse through us, in their own coordinates.
        TControl* target = nullptr;
        if (gCaptureControl && gCaptureControl != this && gCaptureControl->Parent() == this)
            target = gCaptureControl;
        else if (gCaptureControl != this)
            target = ControlAtPos(p);
        if (target && IsGraphic(target)) {
            target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
            return;
        }
        TControl::WndProc(m);
        return;
    }
    switch (m.Msg) {
    case WM_MOUSEWHEEL: {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (DoMouseWheel(KeysToShiftState(GET_KEYSTATE_WPARAM(m.WParam)),
                         GET_WHEEL_DELTA_WPARAM(m.WParam), p)) {
            m.Result = 1;
            return;
        }
        DefaultHandler(m);
        return;
    }
    case WM_MOUSELEAVE:
        trackingMouse_ = false;
        if (gMouseControl && (gMouseControl == this ||
                              (IsGraphic(gMouseControl) && gMouseControl->Parent() == this)))
            SetMouseControl(nullptr);
        return;
    case WM_CAPTURECHANGED:
        if (gCaptureControl && (gCaptureControl == this || gCaptureControl->Parent() == this) &&
            reinterpret_cast<HWND>(m.LParam) != handle_)
            gCaptureControl = nullptr;
        DefaultHandler(m);
        return;
    case WM_SETCURSOR:
        if (SetCursorFor(m)) return;
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (IsSystemControl())
            DefaultHandler(m);
        else
            PaintHandler(m);
        return;
    case WM_ERASEBKGND:
        if (IsSystemControl()) {
            DefaultHandler(m);
        } else {
            if (!ControlStyle().Contains(csOpaque))
                EraseBackground(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
        }
        return;
    case WM_COMMAND:
        if (m.LParam) {
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        }
        if (gMenuHandler && gMenuHandler(*this, m)) return;
        break;
    case WM_NOTIFY: {
        HWND from = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
        if (TWinControl* c = FindControl(from); c && c != this) {
            m.Result = c->Perform(CN_NOTIFY, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType == ODT_MENU) {
            if (gMenuHandler && gMenuHandler(*this, m)) return;
            break;
        }
        ReflectToChild(m, dis->hwndItem);
        return;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType == ODT_MENU) {
            if (gMenuHandler && gMenuHandler(*this, m)) return;
            break;
        }
        ReflectToChild(m, GetDlgItem(handle_, int(mis->CtlID)));
        return;
    }
    case WM_COMPAREITEM:
        ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
        return;
    case WM_DELETEITEM:
        ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam) {
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(ColorBrush());
        return;
    }
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_MENUSELECT:
        if (gMenuHandler && gMenuHandler(*this, m)) return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = WORD(m.WParam);
        if (DoKeyDown(key, KeyboardShiftState())) return;
        m.WParam = key;
        DefaultHandler(m);
        return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = WORD(m.WParam);
        if (DoKeyUp(key, KeyboardShiftState())) return;
        m.WParam = key;
        DefaultHandler(m);
        return;
    }
    case WM_CHAR: {
        wchar_t ch = wchar_t(m.WParam);
        if (DoKeyPress(ch)) return;
        m.WParam = ch;
        DefaultHandler(m);
        return;
    }
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (!Destroying()) {
            if (TForm* f = GetParentForm(this); f && f != this) {
                TWinControl* previous = f->ActiveControl();
                if (previous == this && exitDeferred_) {
                    exitDeferred_ = false; // back from another window: never left
                    return;
                }
                if (previous && previous != this && previous->exitDeferred_) {
                    previous->exitDeferred_ = false;
                    previous->DoExit();
                }
                f->SetFocusedControl(this);
            }
            DoEnter();
        }
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        if (!Destroying()) {
            const HWND to = reinterpret_cast<HWND>(m.WParam);
            TForm* f = GetParentForm(this);
            if (f && f != this && f->ActiveControl() == this &&
                (!to || GetAncestor(to, GA_ROOT) != GetAncestor(Handle(), GA_ROOT)))
                exitDeferred_ = true;
            else
                DoExit();
        }
        return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        UpdateBoundsFromWindow();
        return;
    case WM_DESTROY:
        // Keep what the window held, for a window created again later.
        StoreText(Text());
        if (gMouseControl && (gMouseControl == this || gMouseControl->Parent() == this))
            gMouseControl = nullptr;
        DefaultHandler(m);
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    // Our own notifications never reach Windows.
    if ((m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) ||
        (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400)) {
        m.Result = 0;
        return;
    }
    if (!handle_) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::PaintHandler(TMessage& m) {
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        PaintWindow(dc);
        PaintControls(dc);
    } else {
        PaintDC pdc(handle_);
        PaintWindow(pdc.Get());
        PaintControls(pdc.Get());
    }
    m.Result = 0;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (!IsGraphic(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        SavedDCState state(dc);
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        static_cast<TGraphicControl*>(c)->PaintTo(dc);
    }
}

void TWinControl::EraseBackground(HDC dc) {
    RECT r = ClientRect();
    BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.Get());
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
    KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(key, shift)) return true;
    KeyUp(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(key)) return true;
    KeyPress(key);
    return key == 0;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::ColorChanged() {
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
    if (IsSystemControl()) SendFontToWindow();
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::TextChanged() {
    Invalidate();
}
void TWinControl::EnabledChanged() {
    Invalidate();
}
void TWinControl::VisibleChanged() {}
void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
}
void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
}

// ---------------------------------------------------------------------------
// TCustomControl

const TClassInfo& TCustomControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomControl>(L"TCustomControl", &TWinControl::StaticClass())
            .Event(L"OnPaint", &TCustomControl::OnPaint)
            .Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() {
    MarkDestroying();
    gBorrowedCanvases.erase(std::remove(gBorrowedCanvases.begin(), gBorrowedCanvases.end(), this),
                            gBorrowedCanvases.end());
    canvas_.SetHandle(nullptr);
    borrowedDC_.Reset();
    DestroyHandle(); // while Paint and WndProc still belong to us
}

TCanvas& TCustomControl::Canvas() {
    if (!painting_ && !canvas_.HandleAllocated() && HandleAllocated()) {
        borrowedDC_ = WindowDC(Handle());
        canvas_.SetHandle(borrowedDC_.Get());
        canvas_.Font().Assign(Font());
        canvas_.Brush().SetColor(Color());
        gBorrowedCanvases.push_back(this);
    }
    return canvas_;
}

void ReleaseCanvasDCs() {
    std::vector<TCustomControl*> list;
    list.swap(gBorrowedCanvases);
    for (TCustomControl* c : list) {
        if (c->painting_) continue;
        c->canvas_.SetHandle(nullptr);
        c->borrowedDC_.Reset();
    }
}

void TCustomControl::PaintWindow(HDC dc) {
    HDC previous = canvas_.Handle();
    bool wasPainting = painting_;
    painting_ = true;
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.Brush().SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(previous);
        painting_ = wasPainting;
        throw;
    }
    canvas_.SetHandle(previous);
    painting_ = wasPainting;
}

void TCustomControl::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---------------------------------------------------------------------------
// Panels

const TClassInfo& TCustomPanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomPanel>(L"TCustomPanel", &TCustomControl::StaticClass())
            .Enum(L"Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
                  AlignmentEnum())
            .Enum(L"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
                  BevelCutEnum())
            .Enum(L"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
                  BevelCutEnum())
            .Property(L"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
            .Property(L"BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
            .Enum(L"BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle,
                  BorderStyleEnum())
            .Build();
    return info;
}

const TClassInfo& TPanel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TPanel>(L"TPanel", &TCustomPanel::StaticClass()).Build();
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(
        TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut b) {
    bevelInner_ = b;
    Realign();
    Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut b) {
    bevelOuter_ = b;
    Realign();
    Invalidate();
}
void TCustomPanel::SetBevelWidth(int w) {
    bevelWidth_ = std::max(1, w);
    Realign();
    Invalidate();
}
void TCustomPanel::SetBorderWidth(int w) {
    borderWidth_ = std::max(0, w);
    Realign();
    Invalidate();
}
void TCustomPanel::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    if (HandleAllocated()) {
        LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
        style = s == bsSingle ? (style | WS_BORDER) : (style & ~LONG_PTR(WS_BORDER));
        SetWindowLongPtrW(Handle(), GWL_STYLE, style);
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    Realign();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle) params.Style |= WS_BORDER;
}

void TCustomPanel::AdjustClientRect(RECT& r) const {
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    InflateRect(&r, -inset, -inset);
}

void TCustomPanel::TextChanged() {
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace) top = bottom = Color();
        Frame3D(c, r, top, bottom, bevelWidth_);
    };
    if (bevelOuter_ != bvNone) bevel(bevelOuter_);
    Frame3D(c, r, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) bevel(bevelInner_);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    std::wstring caption = Caption();
    if (!caption.empty()) {
        c.Brush().SetStyle(bsClear);
        c.Font().Assign(Font());
        int h = c.TextHeight(L"W");
        RECT t = r;
        t.top = (r.top + r.bottom - h) / 2;
        t.bottom = t.top + h;
        UINT align = alignment_ == taCenter         ? DT_CENTER
                     : alignment_ == taRightJustify ? DT_RIGHT
                                                    : DT_LEFT;
        c.DrawText(caption, t, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | align);
    }
    TCustomControl::Paint();
}
