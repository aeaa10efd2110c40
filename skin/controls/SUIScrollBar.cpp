#include "skin/controls/SUIScrollBar.h"

#include <algorithm>
#include <climits>

namespace {

// The shortest thumb a forced length gives.
constexpr int kMinThumb = 18;
// Milliseconds between two page steps while the track is held.
constexpr unsigned kRepeatInterval = 100;

// num / den (den > 0) to the nearest whole number, halves to the even one.
long long DivideHalfEven(long long num, long long den) {
    long long q = num / den, r = num % den;
    if (r < 0) r += den, --q; // floor
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return q;
}

} // namespace

const TEnumInfo& ScrollBarOrientationEnum() {
    static const TEnumInfo info{L"TsuiScrollBarOrientation",
                                {{L"suiHorizontal", suiHorizontal}, {L"suiVertical", suiVertical}}};
    return info;
}

// ---------------------------------------------------------------------------
// TsuiScrollTrack

const TClassInfo& TsuiScrollTrack::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiScrollTrack>(L"TsuiScrollTrack", &TCustomControl::StaticClass()).Build();
    return info;
}

TsuiScrollTrack::TsuiScrollTrack(TsuiScrollBar& bar) : TCustomControl(&bar), bar_(bar) {
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque});
    SetTabStop(true);
    thumb_ = new TsuiImagePanel(this);
    thumb_->SetParent(this);
    thumb_->SetAutoSize(true);
    thumb_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { ThumbDown(b); };
    thumb_->OnMouseMove = [this](TObject*, TShiftState, int x, int y) { ThumbMove(x, y); };
    thumb_->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        dragging_ = false;
    };
}

TsuiScrollTrack::~TsuiScrollTrack() {
    StopRepeat();
}

void TsuiScrollTrack::Paint() {
    FillControlRect(Canvas(), ClientRect(), Color());
}

void TsuiScrollTrack::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_CAPTURECHANGED:
        // Whoever took the mouse ends the paging and the drag.
        TCustomControl::WndProc(m);
        StopRepeat();
        return;
    default:
        TCustomControl::WndProc(m);
    }
}

void TsuiScrollTrack::StopRepeat() {
    timer_.reset();
}

void TsuiScrollTrack::PageTowards(int c, int step) {
    const bool vertical = bar_.Vertical();
    const int thumbStart = vertical ? thumb_->Top() : thumb_->Left();
    const int target = bar_.ValueAt(c);
    const long long pos = bar_.Position();
    if (c < thumbStart) {
        if (target < pos) bar_.SetPosition(int(std::max(pos - step, (long long)target)));
    } else if (c >= thumbStart + bar_.ThumbLength()) {
        if (target > pos) bar_.SetPosition(int(std::min(pos + step, (long long)target)));
    }
}

void TsuiScrollTrack::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        if (CanFocus()) SetFocus();
        PageTowards(bar_.Vertical() ? y : x, bar_.PageSize());
        StopRepeat();
        timer_.reset(new TTimer(nullptr));
        timer_->OnTimer = [this](TObject*) {
            POINT p{};
            GetCursorPos(&p);
            p = ScreenToClient(p);
            // Horizontal lines are short: a horizontal bar pages three at a time.
            const int page = bar_.PageSize() * (bar_.Vertical() ? 1 : 3);
            PageTowards(bar_.Vertical() ? p.y : p.x, page);
        };
        timer_->SetInterval(kRepeatInterval);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TsuiScrollTrack::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) StopRepeat();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TsuiScrollTrack::MouseLeave() {
    // The thumb arriving under the pointer is no leaving of the track.
    POINT p{};
    GetCursorPos(&p);
    const POINT at = ScreenToClient(p);
    const RECT r = ClientRect();
    if (!PtInRect(&r, at)) StopRepeat();
    TCustomControl::MouseLeave();
}

void TsuiScrollTrack::KeyDown(WORD& key, TShiftState shift) {
    const long long pos = bar_.Position();
    switch (key) {
    case VK_PRIOR:
        bar_.MoveTo(pos - bar_.PageSize());
        break;
    case VK_NEXT:
        bar_.MoveTo(pos + bar_.PageSize());
        break;
    case VK_END:
        bar_.SetPosition(bar_.Max());
        break;
    case VK_HOME:
        bar_.SetPosition(bar_.Min());
        break;
    case VK_LEFT:
    case VK_UP:
        bar_.MoveTo(pos - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        bar_.MoveTo(pos + 1);
        break;
    default:
        break;
    }
    TCustomControl::KeyDown(key, shift);
}

void TsuiScrollTrack::ThumbDown(TMouseButton button) {
    if (button != mbLeft || !Enabled()) return;
    if (CanFocus()) SetFocus();
    // The thumb holds the capture (csCaptureMouse) until the button comes up.
    dragging_ = true;
}

void TsuiScrollTrack::ThumbMove(int x, int y) {
    if (!dragging_ || !thumb_->MouseCapture()) return;
    const int c = bar_.Vertical() ? thumb_->Top() + y : thumb_->Left() + x;
    bar_.MoveTo(bar_.ValueAt(c));
}

// ---------------------------------------------------------------------------
// TsuiScrollBar

const TClassInfo& TsuiScrollBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiScrollBar>(L"TsuiScrollBar", &TCustomPanel::StaticClass())
            .Enum(L"Orientation", &TsuiScrollBar::Orientation, &TsuiScrollBar::SetOrientation,
                  ScrollBarOrientationEnum())
            .Property(L"Min", &TsuiScrollBar::Min, &TsuiScrollBar::SetMin)
            .Property(L"Max", &TsuiScrollBar::Max, &TsuiScrollBar::SetMax)
            .Property(L"Position", &TsuiScrollBar::Position, &TsuiScrollBar::SetPosition)
            .Property(L"PageSize", &TsuiScrollBar::PageSize, &TsuiScrollBar::SetPageSize)
            .Property(L"LargeChange", &TsuiScrollBar::LargeChange, &TsuiScrollBar::SetLargeChange)
            .Property(L"SmallChange", &TsuiScrollBar::SmallChange, &TsuiScrollBar::SetSmallChange)
            .Property(L"LineButton", &TsuiScrollBar::LineButton, &TsuiScrollBar::SetLineButton)
            .With(PublishStyle<TsuiScrollBar>)
            .Event(L"OnChange", &TsuiScrollBar::OnChange)
            .Build();
    return info;
}

TsuiScrollBar::TsuiScrollBar(TComponent* owner) : TsuiStyled(owner) {
    // No children of its own but the arrows and the track.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque});
    first_ = new TsuiImageButton(this);
    second_ = new TsuiImageButton(this);
    for (TsuiImageButton* b : {first_, second_}) {
        b->SetParent(this);
        b->SetTabStop(false);
    }
    first_->OnMouseContinuouslyDown = [this](TObject*) {
        MoveTo((long long)position_ - smallChange_);
    };
    second_->OnMouseContinuouslyDown = [this](TObject*) {
        MoveTo((long long)position_ + smallChange_);
    };
    track_ = new TsuiScrollTrack(*this);
    track_->SetParent(this);
    SetBounds(Left(), Top(), Width(), 185);
}

void TsuiScrollBar::ApplyStyle() {
    SetColor(StyleLink().Color(ThemeElement::ScrollBarBackgroundColor));
    track_->SetColor(Color());
    track_->Thumb().SetColor(Color());

    // The artwork is drawn for a horizontal thumb and vertical arrows.
    TBitmap* pieces[] = {&thumbStart_, &thumbMiddle_, &thumbEnd_};
    for (int i = 0; i < 3; ++i) {
        StyleLink().Bitmap(ThemeElement::ScrollBarSliderImage, *pieces[i], i + 1, 3);
        if (Vertical()) RotateBitmapRight(*pieces[i]);
    }
    TPicture* pictures[] = {&first_->PicNormal(),    &first_->PicMouseOn(),
                            &first_->PicMouseDown(), &second_->PicNormal(),
                            &second_->PicMouseOn(),  &second_->PicMouseDown()};
    for (int i = 0; i < 6; ++i) {
        auto frame = std::make_unique<TBitmap>();
        StyleLink().Bitmap(ThemeElement::ScrollBarButtonImage, *frame, i + 1, 6);
        if (!Vertical()) RotateBitmapLeft(*frame);
        pictures[i]->SetGraphic(std::move(frame));
    }
    for (TsuiImageButton* b : {first_, second_})
        b->SetBounds(b->Left(), b->Top(), b->PicNormal().Width(), b->PicNormal().Height());
    Layout();
    Invalidate();
}

void TsuiScrollBar::SetOrientation(TsuiScrollBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    // Turned on its side: what was its length is now its height.
    if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
    ApplyStyle();
}

void TsuiScrollBar::Resize() {
    TsuiStyled::Resize();
    Layout();
}

void TsuiScrollBar::Loaded() {
    TsuiStyled::Loaded();
    Layout();
}

void TsuiScrollBar::CreateHandleDone() {
    TsuiStyled::CreateHandleDone();
    if (keepInFront_) BringToFront();
}

void TsuiScrollBar::SetKeepInFront(bool v) {
    keepInFront_ = v;
    if (v) BringToFront();
}

void TsuiScrollBar::EnabledChanged() {
    TsuiStyled::EnabledChanged();
    for (TControl* c : {static_cast<TControl*>(first_), static_cast<TControl*>(second_),
                        static_cast<TControl*>(track_)})
        c->SetEnabled(Enabled());
}

void TsuiScrollBar::Layout() {
    // Sized by the panel before its parts exist.
    if (layingOut_ || !track_) return;
    layingOut_ = true;
    const int w1 = first_->Width(), h1 = first_->Height();
    const int w2 = second_->Width(), h2 = second_->Height();
    if (Vertical()) {
        if (Width() != w1) SetWidth(w1);
        const int h = Height();
        first_->SetBounds(0, 0, w1, h1);
        track_->SetBounds(0, h1, w1, std::max(h - h1 - h2 - 1, 0));
        second_->SetBounds(0, h - h2, w2, h2);
    } else {
        if (Height() != h1) SetHeight(h1);
        const int w = Width();
        first_->SetBounds(0, 0, w1, h1);
        track_->SetBounds(w1, 0, std::max(w - w1 - w2, 0), h1);
        second_->SetBounds(w - w2, 0, w2, h2);
    }
    layingOut_ = false;
    RebuildThumb();
}

int TsuiScrollBar::TrackLength() const {
    return Vertical() ? track_->Height() : track_->Width();
}

int TsuiScrollBar::ThumbLength() const {
    const int track = TrackLength();
    int length = lineButton_;
    if (length <= 0) {
        const int percent = pageSize_ < 10 || pageSize_ > 100 ? 10 : pageSize_;
        length = track * percent / 100;
    }
    // A forced length may exceed the track by the pixel under the second arrow.
    return std::clamp(length, 0, std::max(track, 0));
}

void TsuiScrollBar::RebuildThumb() {
    if (lineButton_ > 0 && lineButton_ < kMinThumb) lineButton_ = kMinThumb;
    const int length = ThumbLength();
    const bool vertical = Vertical();
    const int cross = vertical ? thumbStart_.Width() : thumbStart_.Height();
    TsuiImagePanel& thumb = track_->Thumb();
    if (length <= 0 || cross <= 0) {
        thumb.Picture().Clear();
        thumb.SetBounds(0, 0, 0, 0);
        return;
    }
    auto picture = std::make_unique<TBitmap>(vertical ? cross : length, vertical ? length : cross);
    TCanvas& canvas = picture->Canvas();
    // Start and end pieces unscaled at their ends, the middle stretched between.
    const int startLen = vertical ? thumbStart_.Height() : thumbStart_.Width();
    const int endLen = vertical ? thumbEnd_.Height() : thumbEnd_.Width();
    const int middleFrom = startLen, middleTo = length - endLen;
    if (middleTo > middleFrom)
        canvas.StretchDraw(vertical ? RECT{0, middleFrom, cross, middleTo}
                                    : RECT{middleFrom, 0, middleTo, cross},
                           thumbMiddle_);
    canvas.Draw(0, 0, thumbStart_);
    canvas.Draw(vertical ? 0 : length - endLen, vertical ? length - endLen : 0, thumbEnd_);
    thumb.Picture().SetGraphic(std::move(picture));
    MoveThumb();
}

void TsuiScrollBar::MoveThumb() {
    TsuiImagePanel& thumb = track_->Thumb();
    const int length = ThumbLength();
    const long long room = TrackLength() - length;
    const long long range = (long long)max_ - min_;
    const int offset =
        range > 0 && room > 0 ? int(((long long)position_ - min_) * room / range) : 0;
    const int trackCross = Vertical() ? track_->Width() : track_->Height();
    const int thumbCross = Vertical() ? thumb.Width() : thumb.Height();
    const int across = std::max((trackCross - thumbCross) / 2, 0);
    if (Vertical())
        thumb.SetBounds(across, offset, thumb.Width(), thumb.Height());
    else
        thumb.SetBounds(offset, across, thumb.Width(), thumb.Height());
    thumb.SetVisible(thumbVisible_ && length > 0);
}

int TsuiScrollBar::ValueAt(int c) const {
    const long long room = TrackLength() - ThumbLength();
    if (room <= 0) return min_;
    const long long range = (long long)max_ - min_;
    const long long v = min_ + DivideHalfEven((long long)(c - ThumbLength() / 2) * range, room);
    return int(std::clamp(v, (long long)min_, (long long)max_));
}

void TsuiScrollBar::MoveTo(long long v) {
    SetPosition(int(std::clamp(v, (long long)INT_MIN, (long long)INT_MAX)));
}

void TsuiScrollBar::ReportChange() {
    if (position_ == reported_) return;
    reported_ = position_;
    if (OnChange) OnChange(this);
}

void TsuiScrollBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, max_);
    MoveThumb();
    ReportChange();
}

void TsuiScrollBar::SetMin(int v) {
    min_ = std::min(v, max_);
    SetPosition(position_);
}

void TsuiScrollBar::SetMax(int v) {
    max_ = std::max(v, min_);
    SetPosition(position_);
}

void TsuiScrollBar::SetPageSize(int v) {
    if (v < 0 || v > max_ || v == pageSize_) return;
    pageSize_ = v;
    RebuildThumb();
}

void TsuiScrollBar::SetSmallChange(int v) {
    if (v < 1 || v > 32767) return;
    smallChange_ = v;
}

void TsuiScrollBar::SetLineButton(int v) {
    const int room = Vertical() ? Height() - first_->Height() - second_->Height()
                                : Width() - first_->Width() - second_->Width();
    if (v < 0 || v > room || v == lineButton_) return;
    lineButton_ = v;
    RebuildThumb();
}

void TsuiScrollBar::SetThumbVisible(bool v) {
    if (v == thumbVisible_) return;
    thumbVisible_ = v;
    MoveThumb();
}
