#include "skin/controls/SUIStatusBar.h"

const TClassInfo& TsuiStatusBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStatusBar>(L"TsuiStatusBar", &TStatusBar::StaticClass())
            .Enum(L"UIStyle", &TsuiStatusBar::UIStyle, &TsuiStatusBar::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiStatusBar::FileTheme, &TsuiStatusBar::SetFileTheme)
            .Color(L"PanelColor", &TsuiStatusBar::PanelColor, &TsuiStatusBar::SetPanelColor)
            .Build();
    return info;
}

TsuiStatusBar::TsuiStatusBar(TComponent* owner) : TsuiStyled(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

void TsuiStatusBar::ApplyStyle() {
    SetPanelColor(StyleLink().Color(ThemeElement::FormBackgroundColor));
    Invalidate();
}
