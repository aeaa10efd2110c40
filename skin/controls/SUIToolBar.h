// The skinned tool bar: the framework's tool bar with the style's colours
// for hot and pressed buttons.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/ToolBar.h"

class TsuiToolBar : public TToolBar {
  public:
    explicit TsuiToolBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return styleLink_.Style(); }
    // Button colours from the style; transparent in MacOS and Protein.
    void SetUIStyle(TsuiUIStyle v) { styleLink_.SetStyle(v); }
    TsuiFileTheme* FileTheme() const { return styleLink_.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) { styleLink_.SetFileTheme(v); }
    // Fill of a hot button.
    TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(TColor v);
    // Frame of hot and pressed buttons.
    TColor ButtonBorderColor() const { return buttonBorderColor_; }
    void SetButtonBorderColor(TColor v);
    // Fill of a pressed button.
    TColor ButtonDownColor() const { return buttonDownColor_; }
    void SetButtonDownColor(TColor v);

  protected:
    void Notification(TComponent* component, TOperation operation) override {
        TToolBar::Notification(component, operation);
        styleLink_.Notification(component, operation);
    }

  private:
    void ApplyStyle();

    TColor buttonColor_ = clBtnFace;
    TColor buttonBorderColor_ = clBlack;
    TColor buttonDownColor_ = clBtnFace;
    TsuiStyleLink styleLink_{*this, [this] { ApplyStyle(); }};
};
