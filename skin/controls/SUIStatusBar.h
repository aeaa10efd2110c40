// The skinned status bar: the framework's status bar in the style's
// background colour, with a size grip of its own for the window whose
// skinned frame took away the system's border.
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

    // Where the grip is drawn and where it answers the mouse; not shown (and
    // with empty rectangles) where no grip belongs.
    struct TGripLayout {
        bool shown = false;
        POINT drawAt{0, 0};
        RECT hot{0, 0, 0, 0};
    };
    TGripLayout GripLayout() const;
    RECT GripRect() const { return GripLayout().hot; }

  protected:
    // The panel colour from the style.
    void ApplyStyle() override;
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  private:
    // The grip shows on a frame that lets the window be resized by it.
    bool GripWanted() const;
    void TrackGrip(int x, int y);

    mutable TBitmap grip_; // loaded when first shown
    bool buttonDown_ = false;
    bool overGrip_ = false;
};
