// The skinned tool bar: the framework's tool bar with the style's colours
// for hot and pressed buttons.
#pragma once

#include "skin/SUIMgr.h"
#include "skin/SUIThemes.h"

#include "framework/ToolBar.h"

class TsuiToolBar : public TToolBar {
  public:
    explicit TsuiToolBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    // Button colours from the style; transparent in MacOS and Protein.
    void SetUIStyle(TsuiUIStyle v);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* v);
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
    void Notification(TComponent* component, TOperation operation) override;

  private:
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
    TColor buttonColor_ = clBtnFace;
    TColor buttonBorderColor_ = clBlack;
    TColor buttonDownColor_ = clBtnFace;
};
