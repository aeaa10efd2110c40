#include "framework/ControlsInternal.h"

#include "framework/Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

TControl* gMouseControl = nullptr;
TControl* gCaptureControl = nullptr;

namespace {

std::vector<TCustomControl*> gBorrowedCanvases;

} // namespace

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
