#include "skin/controls/SUITabControl.h"

#include "framework/Forms.h"

#include <algorithm>

namespace {

bool KeyedAtCorner(const TBitmap& bitmap) {
    return !bitmap.Empty() && bitmap.Pixel(0, 0) == clFuchsia;
}

} // namespace

// ---------------------------------------------------------------------------
// The strip

const TClassInfo& TsuiTabControlTopPanel::StaticClass() {
    using T = TsuiTabControlTopPanel;
    static const TClassInfo& info =
        TClassBuilder<T>(L"TsuiTabControlTopPanel", &TCustomPanel::StaticClass())
            .With(PublishStyle<T>)
            .Strings(L"Tabs", static_cast<TStringList& (T::*)()>(&T::Tabs))
            .Property(L"TabIndex", &T::TabIndex, &T::SetTabIndex)
            .Property(L"LeftMargin", &T::LeftMargin, &T::SetLeftMargin)
            .Build();
    return info;
}

TsuiTabControlTopPanel::TsuiTabControlTopPanel(TComponent* owner, TsuiTab* tab)
    : TsuiStyled(owner), tab_(tab) {
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls));
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderWidth(0);
    SetText(L" ");
    tabs_.Add(L"Tab1");
    tabs_.OnChange = [this](TStringList*) { TabsChanged(); };
    SyncTables();
}

TsuiUIStyle TsuiTabControlTopPanel::OwnerStyle() const {
    return tab_ ? tab_->UIStyle() : TsuiStyled::OwnerStyle();
}

TsuiTabControlTopPanel::~TsuiTabControlTopPanel() {
    tabs_.OnChange = nullptr;
}

void TsuiTabControlTopPanel::ApplyStyle() {
    StyleLink().Bitmap(ThemeElement::TabControlTabImage, activeTab_, 1, 2);
    StyleLink().Bitmap(ThemeElement::TabControlTabImage, inactiveTab_, 2, 2);
    StyleLink().Bitmap(ThemeElement::TabControlBarImage, bar_);
    for (int k = 0; k < 4; ++k) {
        StyleLink().Bitmap(ThemeElement::ScrollButtonImage, arrows_[k], k + 1, 4);
        // Keyed by their bottom-left pixel.
        arrows_[k].SetTransparentMode(tmAuto);
        arrows_[k].SetTransparent(true);
    }
    arrowWidth_ = arrows_[0].Width();
    arrowHeight_ = arrows_[0].Height();
    // The whole tab picture is as high as one of its frames.
    stripHeight_ = activeTab_.Height() + bar_.Height();
    if (tab_)
        PlaceInTab();
    else
        SetHeight(stripHeight_);
    Redraw();
}

void TsuiTabControlTopPanel::SetTabIndex(int index) {
    if (index == tabIndex_) return;
    const int count = tabs_.Count();
    if (count == 0) {
        tabIndex_ = -1;
        Redraw();
        return;
    }
    // -1 on a strip with tabs would select nothing that exists: out of range too.
    if (index < 0 || index > count - 1) {
        Redraw();
        return;
    }
    if (userClick_ && tab_) {
        bool allow = true;
        if (tab_->OnChanging) tab_->OnChanging(tab_, allow);
        if (!allow) return;
    }
    tabIndex_ = index;
    keepSelectionVisible_ = true;
    Redraw();
    if (tab_) tab_->TabActivated(index);
}

void TsuiTabControlTopPanel::SetLeftMargin(int margin) {
    if (margin == leftMargin_) return;
    leftMargin_ = margin;
    Redraw();
}

bool TsuiTabControlTopPanel::TabVisible(int index) const {
    if (index < 0 || index >= int(visible_.size())) return true;
    return visible_[size_t(index)];
}

void TsuiTabControlTopPanel::SetTabVisible(int index, bool visible) {
    if (index < 0) return;
    if (index >= int(visible_.size())) visible_.resize(size_t(index) + 1, true);
    if (visible_[size_t(index)] == visible) return;
    visible_[size_t(index)] = visible;
    Redraw();
}

int TsuiTabControlTopPanel::TabWidth(int index) const {
    if (index < 0 || index >= int(widths_.size())) return -1;
    return widths_[size_t(index)];
}

RECT TsuiTabControlTopPanel::RightArrowRect() const {
    const int W = ClientWidth(), H = ClientHeight();
    const int y = H > arrowHeight_ + 4 ? (H - arrowHeight_) / 2 - 2 : 0;
    return RECT{W - arrowWidth_ - 2, y, W - 2, y + arrowHeight_};
}

RECT TsuiTabControlTopPanel::LeftArrowRect() const {
    const RECT r = RightArrowRect();
    return RECT{r.left - arrowWidth_, r.top, r.left, r.bottom};
}

void TsuiTabControlTopPanel::Redraw() {
    Invalidate();
    if (HandleAllocated() && IsWindowVisible(Handle())) UpdateWindow(Handle());
}

void TsuiTabControlTopPanel::PlaceInTab() {
    if (tab_) SetBounds(0, 0, tab_->Width(), stripHeight_);
}

void TsuiTabControlTopPanel::ApplyBounds(int left, int top, int width, int height) {
    // Whoever moves the strip, it stays across the top of its body.
    if (tab_ && Parent() == tab_) {
        left = 0;
        top = 0;
        width = tab_->Width();
        height = stripHeight_;
    }
    TCustomPanel::ApplyBounds(left, top, width, height);
}

void TsuiTabControlTopPanel::TabsChanged() {
    SyncTables();
    Redraw();
}

void TsuiTabControlTopPanel::SyncTables() {
    const size_t count = size_t(tabs_.Count());
    widths_.resize(count, -1);
    if (visible_.size() < count) visible_.resize(count, true);
}

int TsuiTabControlTopPanel::VisibleOrdinal(int index) const {
    if (index < 0 || index >= tabs_.Count() || !TabVisible(index)) return 0;
    int ordinal = 0;
    for (int i = 0; i <= index; ++i)
        if (TabVisible(i)) ++ordinal;
    return ordinal;
}

TColor TsuiTabControlTopPanel::BorderColorForLines() const {
    return tab_ ? tab_->BorderColor() : clBlack;
}

const TFont& TsuiTabControlTopPanel::CaptionFont() const {
    return tab_ ? tab_->Font() : TControl::Font();
}

POINT TsuiTabControlTopPanel::PointerPosition() const {
    POINT p{-30000, -30000};
    if (!HandleAllocated() || !GetCursorPos(&p)) return POINT{-30000, -30000};
    return ScreenToClient(p);
}

void TsuiTabControlTopPanel::Paint() {
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return; // not laid out yet: keep the pending scroll request
    TOffscreenPaint paint(buffer_, Canvas().Handle(), W, H);
    Render(paint.Canvas());
}

void TsuiTabControlTopPanel::DrawBackground(TCanvas& canvas) {
    // The buffer keeps the last paint's pixels; with nothing behind us they
    // would show through.
    FillControlRect(canvas, RECT{0, 0, ClientWidth(), ClientHeight()}, Color());
    // What lies behind the body shows beside the tabs.
    if (tab_)
        PaintParentBackground(canvas, *tab_);
    else
        PaintParentBackground(canvas, *this);
}

void TsuiTabControlTopPanel::Render(TCanvas& canvas, std::optional<POINT> pointer) {
    DrawBackground(canvas);
    hoveredArrow_ = 0;
    int last = DrawTabs(canvas);
    if (keepSelectionVisible_) {
        keepSelectionVisible_ = false;
        const int target = VisibleOrdinal(tabIndex_);
        bool moved = false;
        // A selection left of the view brings the view back to it.
        if (target > 0 && target <= firstShown_) {
            firstShown_ = target - 1;
            moved = true;
        }
        if (moved) {
            DrawBackground(canvas);
            last = DrawTabs(canvas);
        }
        // Scroll right until the selection is drawn whole, but never past it.
        while (last < tabIndex_ && target > 0 && firstShown_ + 1 < target) {
            ++firstShown_;
            DrawBackground(canvas);
            last = DrawTabs(canvas);
        }
    }
    if (arrowsNeeded_ || firstShown_ > 0)
        DrawArrows(canvas, pointer ? *pointer : PointerPosition());
}

int TsuiTabControlTopPanel::DrawTabs(TCanvas& canvas) {
    const int W = ClientWidth();
    const int count = tabs_.Count();
    SyncTables();
    // Widths from an earlier drawing would let the hit test reach tabs not shown now.
    std::fill(widths_.begin(), widths_.end(), -1);

    tabHeight_ = activeTab_.Height();
    const int Hi = inactiveTab_.Height();
    const bool keyActive = KeyedAtCorner(activeTab_);
    const bool keyInactive = KeyedAtCorner(inactiveTab_);

    const int barHeight = bar_.Height();
    if (!bar_.Empty()) canvas.StretchDraw(RECT{1, Hi, W - 1, Hi + barHeight}, bar_);
    canvas.Pen().SetColor(BorderColorForLines());
    canvas.MoveTo(0, Hi);
    canvas.LineTo(0, Hi + barHeight);
    canvas.MoveTo(W - 1, Hi);
    canvas.LineTo(W - 1, Hi + barHeight);

    canvas.Font().Assign(CaptionFont());
    canvas.Brush().SetStyle(bsClear);

    int x = leftMargin_;
    int ordinal = 0;
    bool clipped = false;
    int result = count - 1;
    const int limitOthers = W - 2 * arrowWidth_ - 2;
    const int limitLast = W - 10;
    int limit = limitLast;

    for (int i = 0; i < count; ++i) {
        limit = i == count - 1 ? limitLast : limitOthers;
        if (!TabVisible(i)) {
            widths_[size_t(i)] = 0;
            continue;
        }
        if (clipped) break;
        const std::wstring& caption = tabs_[i];
        int w = caption.empty() ? 80 : canvas.TextWidth(caption) + 20;
        w = std::max(w, 15);
        widths_[size_t(i)] = w;
        if (++ordinal <= firstShown_) continue;

        const bool active = i == tabIndex_;
        RECT r = active ? RECT{x, 1, x + w, Hi + 1} : RECT{x, 0, x + w, Hi};
        bool clippedHere = false;
        if (r.right > limit) {
            r.right = limitOthers;
            if (!active) widths_[size_t(i)] = limitOthers - x;
            clipped = clippedHere = true;
            result = i - 1;
        }
        if (r.right > r.left) {
            // A clipped tab must not spill its end piece over its neighbours.
            TCanvasState state(canvas);
            IntersectClipRect(canvas.Handle(), r.left, r.top, r.right, r.bottom);
            DrawThreePart(active ? activeTab_ : inactiveTab_, canvas, r,
                          active ? keyActive : keyInactive);
        }
        x += w;

        canvas.Font().Assign(CaptionFont());
        canvas.Brush().SetStyle(bsClear);
        RECT t = r;
        if (clippedHere) {
            t.left += 10;
            t.right -= 4;
            if (t.right > t.left) canvas.DrawText(caption, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        } else {
            canvas.DrawText(caption, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    }
    arrowsNeeded_ = count > 0 && x > limit;
    return result;
}

void TsuiTabControlTopPanel::DrawArrows(TCanvas& canvas, POINT pointer) {
    const RECT right = RightArrowRect();
    const RECT left = LeftArrowRect();
    const bool overRight = PointInRect(pointer, right);
    if (overRight) hoveredArrow_ = +1;
    canvas.Draw(right.left, right.top, arrows_[overRight ? 1 : 0]);
    const bool overLeft = PointInRect(pointer, left);
    if (overLeft) hoveredArrow_ = -1;
    canvas.Draw(left.left, left.top, arrows_[overLeft ? 3 : 2]);
}

void TsuiTabControlTopPanel::MouseMove(TShiftState shift, int x, int y) {
    TCustomPanel::MouseMove(shift, x, y);
    if (!arrowsNeeded_ && firstShown_ == 0) return;
    // Only a change of the lit arrow is worth a repaint (the same test as the drawing's).
    const POINT p{x, y};
    const int hovered = PointInRect(p, LeftArrowRect())    ? -1
                        : PointInRect(p, RightArrowRect()) ? +1
                                                           : 0;
    if (hovered != hoveredArrow_) Invalidate();
}

void TsuiTabControlTopPanel::MouseLeave() {
    TCustomPanel::MouseLeave();
    // Otherwise the last hovered arrow stays lit.
    if (arrowsNeeded_ || firstShown_ > 0) Invalidate();
}

void TsuiTabControlTopPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomPanel::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    // The click's own position decides which arrow is under it.
    if (ClientWidth() > 0 && ClientHeight() > 0)
        Render(buffer_.Prepare(ClientWidth(), ClientHeight()), POINT{x, y});
    Invalidate();

    if (hoveredArrow_ == -1)
        --firstShown_;
    else if (hoveredArrow_ == +1 && arrowsNeeded_)
        ++firstShown_;
    if (hoveredArrow_ != 0) {
        firstShown_ = std::clamp(firstShown_, 0, tabs_.Count());
        Redraw();
        return;
    }

    // Strict bounds: the edge pixels of a tab belong to neither neighbour.
    int x0 = leftMargin_;
    int ordinal = 0;
    for (int i = 0; i < tabs_.Count(); ++i) {
        if (!TabVisible(i)) continue;
        if (++ordinal <= firstShown_) continue;
        const int w = TabWidth(i);
        if (w == -1) break;
        const int x1 = x0 + w;
        if (x0 < x && x < x1 && 0 < y && y < tabHeight_) {
            userClick_ = true;
            try {
                SetTabIndex(i);
            } catch (...) {
                userClick_ = false;
                throw;
            }
            keepSelectionVisible_ = true;
            Redraw();
            userClick_ = false;
            return;
        }
        x0 = x1;
    }
}

// ---------------------------------------------------------------------------
// The body

const TClassInfo& TsuiTab::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTab>(L"TsuiTab", &TCustomPanel::StaticClass())
            .With(PublishStyle<TsuiTab>)
            .Property(L"LeftMargin", &TsuiTab::LeftMargin, &TsuiTab::SetLeftMargin)
            .Color(L"BorderColor", &TsuiTab::BorderColor, &TsuiTab::SetBorderColor)
            .Object(L"Font", static_cast<TFont& (TsuiTab::*)()>(&TsuiTab::Font),
                    FontPropertyClass())
            .Enum(L"Cursor", static_cast<TCursor (TsuiTab::*)() const>(&TControl::Cursor),
                  &TsuiTab::SetCursor, CursorEnum())
            .Event(L"OnTabActive", &TsuiTab::OnTabActive)
            .Event(L"OnChange", &TsuiTab::OnChange)
            .Event(L"OnChanging", &TsuiTab::OnChanging)
            .Build();
    return info;
}

TsuiTab::TsuiTab(TComponent* owner) : TsuiStyled(owner) {
    SetText(L" ");
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderWidth(0);
    SetHeight(80);
    tabFont_.OnChange = [this](TFont*) {
        if (strip_) strip_->Redraw();
    };
}

TsuiTab::~TsuiTab() {
    tabFont_.OnChange = nullptr;
    strip_.reset();
}

void TsuiTab::ConstructTabPanel() {
    strip_.reset(CreateTabPanel());
    strip_->SetParent(this);
    strip_->PlaceInTab();
}

void TsuiTab::ApplyStyle() {
    if (strip_) {
        strip_->SetFileTheme(FileTheme());
        strip_->SetUIStyle(UIStyle());
    }
    // The strip's height may have changed, and with it the pages' room.
    Realign();
    UpdateChildrenStyle(UIStyle(), FileTheme());

    TsuiUIStyle effective = UIStyle();
    const bool fromFile = StyleLink().Resolve(effective);
    const TColor stripColor = StyleLink().Color(ThemeElement::ControlBackgroundColor);
    const TColor border = StyleLink().Color(ThemeElement::ControlBorderColor);
    const TColor body = !fromFile && effective == TsuiUIStyle::WinXP ? clWhite : stripColor;
    if (strip_) strip_->SetColor(stripColor);
    SetBorderColor(border);
    SetColor(body);
    Invalidate();
}

int TsuiTab::LeftMargin() const {
    return strip_ ? strip_->LeftMargin() : 10;
}

void TsuiTab::SetLeftMargin(int margin) {
    if (strip_) strip_->SetLeftMargin(margin);
}

void TsuiTab::SetBorderColor(TColor color) {
    borderColor_ = color;
    BorderColorChanged();
    Invalidate();
    if (strip_) strip_->Redraw();
}

void TsuiTab::SetCursor(TCursor cursor) {
    TControl::SetCursor(cursor);
    if (strip_) strip_->SetCursor(cursor);
}

void TsuiTab::SelectTab(int index) {
    if (strip_) strip_->SetTabIndex(index);
}

void TsuiTab::TabActivated(int index) {
    if (Loading()) return;
    if (OnTabActive) OnTabActive(this, index);
    if (OnChange) OnChange(this);
}

void TsuiTab::UpdateChildrenStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    ApplyStyleToChildren(*this, style, fileTheme);
}

void TsuiTab::Paint() {
    const int W = ClientWidth(), H = ClientHeight();
    const int top = strip_ ? strip_->Height() : 0;
    const int bodyHeight = H - top;
    if (W <= 0 || bodyHeight <= 0) return;
    // One fill and three edges, straight to the window: the pages cover all
    // but a thin border, and an off-screen picture of the whole body would be
    // fresh memory on every start, which is what costs under Wine.
    TCanvas& canvas = Canvas();
    FillControlRect(canvas, RECT{0, top, W, H}, Color());
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(borderColor_);
    // Left, bottom and right edges; the strip's bar closes the top.
    const POINT edge[] = {{0, top}, {0, H - 1}, {W - 1, H - 1}, {W - 1, top - 1}};
    canvas.Polyline(edge);
}

void TsuiTab::Resize() {
    TCustomPanel::Resize();
    if (strip_) strip_->PlaceInTab();
}

void TsuiTab::AdjustClientRect(RECT& r) const {
    const int top = strip_ ? strip_->StripHeight() : 0;
    r.left += 3;
    r.right -= 3;
    r.bottom -= 3;
    r.top += top + 3;
}

void TsuiTab::AlignControls(RECT& rect) {
    TCustomPanel::AlignControls(rect);
    if (strip_) strip_->PlaceInTab();
}
