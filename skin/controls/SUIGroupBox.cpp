#include "skin/controls/SUIGroupBox.h"

#include <cstdlib>

const TClassInfo& TsuiCustomGroupBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCustomGroupBox>(L"TsuiCustomGroupBox", &TsuiCustomPanel::StaticClass())
            .Property(L"Caption", &TsuiCustomGroupBox::Caption, &TsuiCustomGroupBox::SetCaption)
            .Property(L"Transparent", &TsuiCustomGroupBox::Transparent,
                      &TsuiCustomGroupBox::SetTransparent)
            .With(PublishStyle<TsuiCustomGroupBox>)
            .Build();
    return info;
}

const TClassInfo& TsuiGroupBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiGroupBox>(L"TsuiGroupBox", &TsuiCustomGroupBox::StaticClass())
            .Color(L"BorderColor", &TsuiCustomGroupBox::BorderColor,
                   &TsuiCustomGroupBox::SetBorderColor)
            .Event(L"OnClick", &TControl::OnClick)
            .Build();
    return info;
}

TsuiCustomGroupBox::TsuiCustomGroupBox(TComponent* owner)
    : TsuiStyled(owner, TsuiStyleLink::TThemeReapply::FromThemeFile) {
    // The panel would draw its own text in the middle; the frame draws ours.
    SetText(L" ");
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

int TsuiCustomGroupBox::FontHeight() const {
    return std::abs(Font().Height());
}

void TsuiCustomGroupBox::SetCaption(const std::wstring& v) {
    caption_ = v;
    Invalidate();
}

void TsuiCustomGroupBox::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiCustomGroupBox::SetTransparent(bool v) {
    TsuiCustomPanel::SetTransparent(v);
    Invalidate();
}

void TsuiCustomGroupBox::ApplyStyle() {
    ApplyStyleToChildren(*this, UIStyle(), FileTheme());
    SetBorderColor(StyleLink().Color(ThemeElement::ControlBorderColor));
    Font().SetColor(StyleLink().Color(ThemeElement::ControlFontColor));
    Invalidate();
}

void TsuiCustomGroupBox::SetEnabled(bool v) {
    TsuiCustomPanel::SetEnabled(v);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetEnabled(v);
    Invalidate();
}

void TsuiCustomGroupBox::AdjustClientRect(RECT& r) const {
    r.left += 3;
    r.right -= 3;
    r.bottom -= 3;
    r.top += FontHeight() + 5;
}

void TsuiCustomGroupBox::FontChanged() {
    TsuiCustomPanel::FontChanged();
    Realign();
    Invalidate();
}

void TsuiCustomGroupBox::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    TsuiCustomPanel::WndProc(m);
}

void TsuiCustomGroupBox::Paint() {
    const RECT client = ClientRect();
    const int L = 0, T = 0, R = client.right - client.left, B = client.bottom - client.top;
    TOffscreenPaint paint(Canvas().Handle(), R, B);
    TCanvas& canvas = paint.Canvas();
    if (Transparent())
        TsuiCustomPanel::PaintTo(canvas);
    else
        FillControlRect(canvas, RECT{L, T, R, B}, Color());

    canvas.Font().Assign(Font());
    const int y = T + FontHeight() / 2 + 1;
    // Round from the caption's left, leaving the caption's gap open at the top.
    const int stop = caption_.empty() ? L : L + canvas.TextWidth(caption_) + 6;
    const POINT frame[] = {{L + 2, y}, {L, y}, {L, B - 1}, {R - 1, B - 1}, {R - 1, y}, {stop, y}};
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(borderColor_);
    canvas.Polyline(frame);

    if (!Enabled()) canvas.Font().SetColor(0x808080);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(5, 0, caption_);
}
