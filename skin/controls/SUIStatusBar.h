// The skinned status bar: the framework's status bar in the style's
// background colour.
#pragma once

#include "skin/SUIMgr.h"
#include "skin/SUIThemes.h"

#include "framework/StatusBar.h"

class TsuiStatusBar : public TStatusBar {
  public:
    explicit TsuiStatusBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle v);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* v);
    // Another name for Color.
    TColor PanelColor() const { return Color(); }
    void SetPanelColor(TColor v) { SetColor(v); }

  protected:
    void Notification(TComponent* component, TOperation operation) override;

  private:
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
};
