// The skinned tool bar: the framework's tool bar with the style's colours
// for hot and pressed buttons, drawn as flat rectangles through the bar's
// custom-draw hooks; a transparent bar shows its parent behind the buttons.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/ToolBar.h"

class TsuiToolBar : public TsuiStyled<TToolBar> {
  public:
    explicit TsuiToolBar(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

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
    // Button colours from the style; transparent in MacOS and Protein.
    void ApplyStyle() override;

  private:
    bool DrawBackground(TCanvas& canvas);
    bool DrawButton(TToolButton* button, TCanvas& canvas, const RECT& r,
                    TToolButtonDrawState state);
    void DrawLook(TToolButton* button, TCanvas& canvas, const RECT& r, bool pressed, bool arrow);

    TColor buttonColor_ = clBtnFace;
    TColor buttonBorderColor_ = clBlack;
    TColor buttonDownColor_ = clBtnFace;
};
