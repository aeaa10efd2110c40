#include "skin/controls/SUIToolBar.h"

const TClassInfo& TsuiToolBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiToolBar>(L"TsuiToolBar", &TToolBar::StaticClass())
            .Component(L"FileTheme", &TsuiToolBar::FileTheme, &TsuiToolBar::SetFileTheme)
            .Enum(L"UIStyle", &TsuiToolBar::UIStyle, &TsuiToolBar::SetUIStyle, UIStyleEnum())
            .Color(L"ButtonColor", &TsuiToolBar::ButtonColor, &TsuiToolBar::SetButtonColor)
            .Color(L"ButtonBorderColor", &TsuiToolBar::ButtonBorderColor,
                   &TsuiToolBar::SetButtonBorderColor)
            .Color(L"ButtonDownColor", &TsuiToolBar::ButtonDownColor,
                   &TsuiToolBar::SetButtonDownColor)
            .Build();
    return info;
}

TsuiToolBar::TsuiToolBar(TComponent* owner) : TsuiStyled(owner) {
    SetFlat(true);
    SetTransparent(false);
    SetUIStyle(GetOwnerFormStyle(owner));
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
