#include "skin/controls/SUIStatusBar.h"

#include "skin/controls/SUIStyleValues.h"

const TClassInfo& TsuiStatusBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStatusBar>(L"TsuiStatusBar", &TStatusBar::StaticClass())
            .Enum(L"UIStyle", &TsuiStatusBar::UIStyle, &TsuiStatusBar::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiStatusBar::FileTheme, &TsuiStatusBar::SetFileTheme)
            .Color(L"PanelColor", &TsuiStatusBar::PanelColor, &TsuiStatusBar::SetPanelColor)
            .Build();
    return info;
}

TsuiStatusBar::TsuiStatusBar(TComponent* owner) : TStatusBar(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

void TsuiStatusBar::SetUIStyle(TsuiUIStyle v) {
    uiStyle_ = v;
    SetPanelColor(StyleColor(fileTheme_, v, ThemeElement::FormBackgroundColor));
    Invalidate();
}

void TsuiStatusBar::SetFileTheme(TsuiFileTheme* v) {
    LinkFileTheme(*this, fileTheme_, v);
    SetUIStyle(uiStyle_);
}

void TsuiStatusBar::Notification(TComponent* component, TOperation operation) {
    TStatusBar::Notification(component, operation);
    if (IsFileThemeRemoval(component, operation, fileTheme_)) {
        fileTheme_ = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
}
