// The skinned status bar: the framework's status bar in the style's
// background colour.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/StatusBar.h"

class TsuiStatusBar : public TStatusBar {
  public:
    explicit TsuiStatusBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return styleLink_.Style(); }
    void SetUIStyle(TsuiUIStyle v) { styleLink_.SetStyle(v); }
    TsuiFileTheme* FileTheme() const { return styleLink_.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) { styleLink_.SetFileTheme(v); }
    // Another name for Color.
    TColor PanelColor() const { return Color(); }
    void SetPanelColor(TColor v) { SetColor(v); }

  protected:
    void Notification(TComponent* component, TOperation operation) override {
        TStatusBar::Notification(component, operation);
        styleLink_.Notification(component, operation);
    }

  private:
    void ApplyStyle();

    TsuiStyleLink styleLink_{*this, [this] { ApplyStyle(); }};
};
