#include "skin/controls/SUIToolBar.h"

#include <array>

const TClassInfo& TsuiToolBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiToolBar>(L"TsuiToolBar", &TToolBar::StaticClass())
            .With(PublishStyle<TsuiToolBar>)
            .Color(L"ButtonColor", &TsuiToolBar::ButtonColor, &TsuiToolBar::SetButtonColor)
            .Color(L"ButtonBorderColor", &TsuiToolBar::ButtonBorderColor,
                   &TsuiToolBar::SetButtonBorderColor)
            .Color(L"ButtonDownColor", &TsuiToolBar::ButtonDownColor,
                   &TsuiToolBar::SetButtonDownColor)
            .Build();
    return info;
}

TsuiToolBar::TsuiToolBar(TComponent* owner) : TsuiStyled(owner) {
    OnCustomDrawButton = [this](TToolBar*, TToolButton* b, TCanvas& canvas, const RECT& r,
                                TToolButtonDrawState state) {
        return DrawButton(b, canvas, r, state);
    };
    OnCustomDraw = [this](TToolBar*, TCanvas& canvas, const RECT&) {
        return DrawBackground(canvas);
    };
    SetFlat(true);
    SetTransparent(false);
}

void TsuiToolBar::ApplyStyle() {
    buttonBorderColor_ = StyleLink().Color(ThemeElement::ToolBarButtonBorderColor);
    buttonColor_ = StyleLink().Color(ThemeElement::ToolBarButtonBackgroundColor);
    buttonDownColor_ = StyleLink().Color(ThemeElement::ToolBarButtonDownBackgroundColor);
    const TsuiUIStyle v = UIStyle();
    SetTransparent(v == TsuiUIStyle::MacOS || v == TsuiUIStyle::Protein);
    SetEdgeInner(esNone);
    SetEdgeOuter(esNone);
    Invalidate();
}

void TsuiToolBar::SetButtonColor(TColor v) {
    buttonColor_ = v;
    Invalidate();
}

void TsuiToolBar::SetButtonBorderColor(TColor v) {
    buttonBorderColor_ = v;
    Invalidate();
}

void TsuiToolBar::SetButtonDownColor(TColor v) {
    buttonDownColor_ = v;
    Invalidate();
}

bool TsuiToolBar::DrawBackground(TCanvas& canvas) {
    if (!Transparent() || !Parent()) return false; // the framework fills with Color
    PaintParentBackground(canvas, *this);
    return true;
}

bool TsuiToolBar::DrawButton(TToolButton* button, TCanvas& canvas, const RECT& r,
                             TToolButtonDrawState state) {
    const bool arrow = state.Contains(cdsDropDown);
    if (state.Contains(cdsHot)) {
        DrawLook(button, canvas, r, state.Contains(cdsPressed), arrow);
        if (arrow) {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(clBlack);
            canvas.Pen().SetColor(clBlack);
            const int m = (r.bottom - r.top) / 2;
            const std::array<POINT, 3> outer{
                {{r.right - 9, m}, {r.right - 5, m}, {r.right - 7, m + 2}}};
            const std::array<POINT, 3> inner{
                {{r.right - 8, m}, {r.right - 6, m}, {r.right - 7, m + 1}}};
            canvas.Polygon(outer);
            canvas.Polygon(inner);
            canvas.MoveTo(r.right - 14, r.top);
            canvas.LineTo(r.right - 14, r.bottom);
        }
        return true;
    }
    if (state.Contains(cdsPressed) || state.Contains(cdsChecked)) {
        DrawLook(button, canvas, r, false, arrow);
        return true;
    }
    return false; // flat, as the framework draws it
}

void TsuiToolBar::DrawLook(TToolButton* button, TCanvas& canvas, const RECT& r, bool pressed,
                           bool arrow) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(pressed ? buttonDownColor_ : buttonColor_);
    canvas.Pen().SetColor(buttonBorderColor_);
    canvas.Rectangle(r);

    TCustomImageList* list = HotImages() ? HotImages() : Images();
    const int shift = pressed ? 1 : 0;
    int captionTop = r.top + 4 + shift;
    if (list) {
        const TImageList& images = list->Images();
        const int index = button->ImageIndex();
        if (index >= 0 && index < images.Count())
            images.Draw(canvas, r.left + (r.right - r.left - images.Width()) / 2 - 1 + shift,
                        r.top + 2 + shift, index, button->Enabled());
        captionTop = r.top + images.Height() + 4;
    }
    if (!ShowCaptions()) return;
    const std::wstring caption = StripAccel(button->Caption());
    const int right = arrow ? r.right - 14 : r.right;
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(r.left + (right - r.left - canvas.TextWidth(caption)) / 2, captionTop, caption);
}
