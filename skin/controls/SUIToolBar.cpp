#include "skin/controls/SUIToolBar.h"

#include "skin/controls/SUIStyleValues.h"

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

TsuiToolBar::TsuiToolBar(TComponent* owner) : TToolBar(owner) {
    SetFlat(true);
    SetTransparent(false);
    SetUIStyle(GetOwnerFormStyle(owner));
}

void TsuiToolBar::SetUIStyle(TsuiUIStyle v) {
    uiStyle_ = v;
    buttonBorderColor_ = StyleColor(fileTheme_, v, ThemeElement::ToolBarButtonBorderColor);
    buttonColor_ = StyleColor(fileTheme_, v, ThemeElement::ToolBarButtonBackgroundColor);
    buttonDownColor_ = StyleColor(fileTheme_, v, ThemeElement::ToolBarButtonDownBackgroundColor);
    SetTransparent(v == TsuiUIStyle::MacOS || v == TsuiUIStyle::Protein);
    SetEdgeInner(esNone);
    SetEdgeOuter(esNone);
    Invalidate();
}

void TsuiToolBar::SetFileTheme(TsuiFileTheme* v) {
    LinkFileTheme(*this, fileTheme_, v);
    SetUIStyle(uiStyle_);
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

void TsuiToolBar::Notification(TComponent* component, TOperation operation) {
    TToolBar::Notification(component, operation);
    if (IsFileThemeRemoval(component, operation, fileTheme_)) {
        fileTheme_ = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
}
