// The skinned status bar: the framework's status bar in the style's
// background colour.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/StatusBar.h"

class TsuiStatusBar : public TsuiStyled<TStatusBar> {
  public:
    explicit TsuiStatusBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Another name for Color.
    TColor PanelColor() const { return Color(); }
    void SetPanelColor(TColor v) { SetColor(v); }

  protected:
    // The panel colour from the style.
    void ApplyStyle() override;
};
