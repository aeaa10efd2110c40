#pragma once

// A window's skinned frame as the controls on the window see it: a child
// control of the form whose style new controls start with.

#include "skin/SUIFormFrame.h"

#include "framework/Controls.h"
#include "framework/Forms.h"

class TestFormFrame : public TCustomControl, public IsuiFormFrame {
  public:
    explicit TestFormFrame(TComponent* owner) : TCustomControl(owner) {}
    TsuiUIStyle UIStyle() const override { return style_; }
    void SetUIStyle(TsuiUIStyle s) { style_ = s; }
    TsuiFileTheme* FileTheme() const override { return nullptr; }
    bool SizeGripAllowed() const override { return sizeGrip_; }
    void SetSizeGripAllowed(bool v) { sizeGrip_ = v; }

  private:
    TsuiUIStyle style_ = TsuiUIStyle::DeepBlue;
    bool sizeGrip_ = false;
};

// A frame in style filling form, as a window's frame lies under its controls.
inline TestFormFrame* FillWithTestFrame(TForm* form, TsuiUIStyle style) {
    auto* frame = new TestFormFrame(form);
    frame->SetUIStyle(style);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    return frame;
}
