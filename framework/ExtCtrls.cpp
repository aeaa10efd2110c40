#include "framework/ExtCtrls.h"

#include "framework/Utils.h"

#include <algorithm>

namespace {

TEnumInfo Enum(const wchar_t* type, std::initializer_list<std::pair<std::wstring, int>> values) {
    TEnumInfo e;
    e.typeName = type;
    e.values = values;
    return e;
}

} // namespace

const TEnumInfo& TextLayoutEnum() {
    static const TEnumInfo e =
        Enum(L"TTextLayout", {{L"tlTop", tlTop}, {L"tlCenter", tlCenter}, {L"tlBottom", tlBottom}});
    return e;
}

// ---------------------------------------------------------------------------
// TLabel

const TClassInfo& TLabel::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TLabel>(L"TLabel", &TGraphicControl::StaticClass())
            .Enum(L"Alignment", &TLabel::Alignment, &TLabel::SetAlignment, AlignmentEnum())
            .Enum(L"Layout", &TLabel::Layout, &TLabel::SetLayout, TextLayoutEnum())
            .Property(L"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
            .Property(L"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
            .Property(L"Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
            .Property(L"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
            .Component(L"FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
            .Build();
    return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
    SetControlStyle(TControlStyle{csClickEvents, csDoubleClicks, csOpaque});
}

TLabel::~TLabel() {
    SetFocusControl(nullptr);
}

void TLabel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
    if (l == layout_) return;
    layout_ = l;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    TControlStyle s = ControlStyle();
    if (v)
        s.Exclude(csOpaque);
    else
        s.Include(csOpaque);
    SetControlStyle(s);
    // The parent repaints what lies behind us now.
    if (Parent() && Parent()->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(Parent()->Handle(), &r, TRUE);
    }
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* c) {
    if (c == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = c;
    if (c) c->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

bool TLabel::DialogChar(wchar_t ch, TShiftState) {
    if (!showAccelChar_ || !focusControl_ || !Enabled() || !IsAccel(ch, Caption())) return false;
    if (!focusControl_->CanFocus()) return false;
    focusControl_->SetFocus();
    return true;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

UINT TLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    if (alignment_ == taRightJustify) flags |= DT_RIGHT;
    if (alignment_ == taCenter) flags |= DT_CENTER;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || Loading() || Destroying()) return;
    TMemoryCanvas canvas;
    canvas.Font().Assign(Font());
    std::wstring text = Caption();
    // An empty caption keeps a line's height, as a typed one would have.
    if (text.empty() || (showAccelChar_ && text == L"&")) text = L" ";
    RECT r{0, 0, wordWrap_ ? std::max(Width(), 1) : 0, 0};
    canvas.DrawText(text, r, TextFlags() | DT_CALCRECT);
    int w = wordWrap_ ? Width() : int(r.right - r.left);
    int h = int(r.bottom - r.top);
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - w;
    SetBounds(left, Top(), w, h);
}

void TLabel::Paint() {
    TCanvas& c = Canvas();
    RECT client{0, 0, Width(), Height()};
    if (!transparent_) {
        c.Brush().SetColor(Color());
        c.FillRect(client);
    }
    std::wstring text = Caption();
    if (text.empty()) return;
    c.Brush().SetStyle(bsClear);
    c.Font().Assign(Font());
    UINT flags = TextFlags();
    RECT r = client;
    if (layout_ != tlTop) {
        RECT calc = client;
        c.DrawText(text, calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        r.top = layout_ == tlCenter ? (Height() - h) / 2 : Height() - h;
        r.bottom = r.top + h;
    }
    if (!Enabled()) {
        // Embossed: a light copy one pixel down and right under the grey text.
        RECT shadow = r;
        OffsetRect(&shadow, 1, 1);
        c.Font().SetColor(clBtnHighlight);
        c.DrawText(text, shadow, flags);
        c.Font().SetColor(clBtnShadow);
    }
    c.DrawText(text, r, flags);
}

// ---------------------------------------------------------------------------
// TSplitter

const TClassInfo& TSplitter::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TSplitter>(L"TSplitter", &TGraphicControl::StaticClass())
            .Property(L"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
            .Event(L"OnMoved", &TSplitter::OnMoved)
            .Event(L"OnCanResize", &TSplitter::OnCanResize)
            .Build();
    return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
    SetParentColor(true);
    SetControlStyle(TControlStyle{csCaptureMouse});
}

TControl* TSplitter::ResizeControl() const {
    TWinControl* p = Parent();
    if (!p) return nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
        case alLeft:
            touches = c->Left() + c->Width() == Left();
            break;
        case alRight:
            touches = c->Left() == Left() + Width();
            break;
        case alTop:
            touches = c->Top() + c->Height() == Top();
            break;
        case alBottom:
            touches = c->Top() == Top() + Height();
            break;
        default:
            break;
        }
        if (touches) return c;
    }
    return nullptr;
}

int TSplitter::RoomBeyond() const {
    // Space between us and the next control aligned against the far side.
    TWinControl* p = Parent();
    RECT client = p->ClientRect();
    int farEdge = 0;
    switch (Align()) {
    case alLeft:
        farEdge = client.right;
        for (int i = 0; i < p->ControlCount(); ++i)
            if (TControl* c = p->Controls(i); c->Visible() && c->Align() == alRight)
                farEdge = std::min(farEdge, c->Left());
        return farEdge - (Left() + Width());
    case alRight:
        for (int i = 0; i < p->ControlCount(); ++i)
            if (TControl* c = p->Controls(i); c->Visible() && c->Align() == alLeft)
                farEdge = std::max(farEdge, c->Left() + c->Width());
        return Left() - farEdge;
    case alTop:
        farEdge = client.bottom;
        for (int i = 0; i < p->ControlCount(); ++i)
            if (TControl* c = p->Controls(i); c->Visible() && c->Align() == alBottom)
                farEdge = std::min(farEdge, c->Top());
        return farEdge - (Top() + Height());
    case alBottom:
        for (int i = 0; i < p->ControlCount(); ++i)
            if (TControl* c = p->Controls(i); c->Visible() && c->Align() == alTop)
                farEdge = std::max(farEdge, c->Top() + c->Height());
        return Top() - farEdge;
    default:
        return 0;
    }
}

void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    // A splitter stored against the top or bottom moves up and down.
    if (!Horizontal() && Cursor() == crHSplit) SetCursor(crVSplit);
}

void TSplitter::Paint() {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(RECT{0, 0, Width(), Height()});
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    control_ = ResizeControl();
    if (!control_) return;
    dragging_ = true;
    moved_ = false;
    downPos_ = ParentPos(x, y);
    startSize_ = Horizontal() ? control_->Width() : control_->Height();
    maxSize_ = std::max(startSize_ + RoomBeyond() - minSize_, minSize_);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_ || !control_) return;
    int delta = ParentPos(x, y) - downPos_;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = std::clamp(startSize_ + delta, minSize_, maxSize_);
    int current = Horizontal() ? control_->Width() : control_->Height();
    if (size == current) return;
    bool accept = true;
    if (OnCanResize) OnCanResize(this, size, accept);
    if (!accept) return;
    if (Horizontal()) {
        // A right-aligned control grows to the left: keep its right edge.
        int left =
            Align() == alRight ? control_->Left() + control_->Width() - size : control_->Left();
        control_->SetBounds(left, control_->Top(), size, control_->Height());
    } else {
        int top =
            Align() == alBottom ? control_->Top() + control_->Height() - size : control_->Top();
        control_->SetBounds(control_->Left(), top, control_->Width(), size);
    }
    moved_ = true;
    if (Parent()) Parent()->Update();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !dragging_) return;
    dragging_ = false;
    control_ = nullptr;
    if (moved_ && OnMoved) OnMoved(this);
}

// ---------------------------------------------------------------------------
// TImage

const TClassInfo& TImage::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TImage>(L"TImage", &TGraphicControl::StaticClass())
            .Property(L"Picture", &TImage::PictureResource, &TImage::SetPictureResource)
            .Property(L"AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
            .Property(L"Center", &TImage::Center, &TImage::SetCenter)
            .Property(L"Stretch", &TImage::Stretch, &TImage::SetStretch)
            .Property(L"Proportional", &TImage::Proportional, &TImage::SetProportional)
            .Property(L"Transparent", &TImage::Transparent, &TImage::SetTransparent)
            .Build();
    return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TPicture*) { PictureChanged(); };
}

TImage::~TImage() {
    picture_.OnChange = nullptr;
}

void TImage::SetPictureResource(const std::wstring& name) {
    if (name.empty())
        picture_.Clear();
    else
        picture_.LoadFromResourceName(MainInstance(), name);
    resourceName_ = name;
}

void TImage::SetStretch(bool v) {
    if (v == stretch_) return;
    stretch_ = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    if (v == proportional_) return;
    proportional_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    if (v == center_) return;
    center_ = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    PictureChanged();
}

void TImage::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (changing_) return;
    changing_ = true;
    try {
        if (TGraphic* g = picture_.Graphic()) {
            if (g->Transparent() != transparent_) g->SetTransparent(transparent_);
            if (autoSize_ && !g->Empty()) SetBounds(Left(), Top(), g->Width(), g->Height());
        }
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
    if (Parent() && Parent()->HandleAllocated()) {
        // A transparent picture needs what lies behind it painted again.
        RECT r = BoundsRect();
        InvalidateRect(Parent()->Handle(), &r, TRUE);
    }
}

RECT TImage::DestRect() const {
    int pw = picture_.Width(), ph = picture_.Height();
    int w = pw, h = ph;
    if (stretch_ || (proportional_ && (pw > Width() || ph > Height()))) {
        if (proportional_ && pw > 0 && ph > 0) {
            // The largest size of the picture's shape that fits.
            if (static_cast<long long>(Width()) * ph > static_cast<long long>(Height()) * pw) {
                h = Height();
                w = int(static_cast<long long>(h) * pw / ph);
            } else {
                w = Width();
                h = int(static_cast<long long>(w) * ph / pw);
            }
        } else {
            w = Width();
            h = Height();
        }
    }
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - w) / 2;
        y = (Height() - h) / 2;
    }
    return {x, y, x + w, y + h};
}

void TImage::Paint() {
    TGraphic* g = picture_.Graphic();
    if (!g || g->Empty()) return;
    Canvas().StretchDraw(DestRect(), *g);
}

// ---------------------------------------------------------------------------
