#pragma once

// Windowless standard controls, painted by their parent: the label, the
// splitter and the image.

#include "framework/Controls.h"

#include <functional>
#include <string>

enum TTextLayout { tlTop, tlCenter, tlBottom };

const TEnumInfo& TextLayoutEnum();

// Text on its parent's background. '&' marks the accelerator letter ("&&" is
// a literal '&'); Alt+letter (or the letter alone where the focused control
// takes no characters) focuses FocusControl.
class TLabel : public TGraphicControl {
  public:
    explicit TLabel(TComponent* owner);
    ~TLabel() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    // Fits the bounds to the caption (the width too unless WordWrap).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // Without Transparent the label fills its bounds with Color first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);

    bool DialogChar(wchar_t ch, TShiftState shift) override;
    void Loaded() override;

  protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    // DrawText flags for the current settings.
    UINT TextFlags() const;
    void AdjustBounds();

  private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// A bar between two aligned controls: dragging it resizes the control on
// the side it is aligned to, never below MinSize, and leaves at least
// MinSize to the rest of the parent.
class TSplitter : public TGraphicControl {
  public:
    explicit TSplitter(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v < 1 ? 1 : v; }
    // The control the splitter resizes (found at each press), or nullptr.
    TControl* ResizeControl() const;

    TNotifyEvent OnMoved;
    TCanResizeEvent OnCanResize;

    void Loaded() override;

  protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int ParentPos(int x, int y) const { return Horizontal() ? x + Left() : y + Top(); }
    int RoomBeyond() const;
    int minSize_ = 30;
    TControl* control_ = nullptr;
    bool dragging_ = false;
    bool moved_ = false;
    int downPos_ = 0;
    int startSize_ = 0;
    int maxSize_ = 0;
};

// A picture drawn as it is, centred or stretched.
class TImage : public TGraphicControl {
  public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TPicture& Picture() { return picture_; }
    // Descriptions name a bitmap resource of the executable.
    std::wstring PictureResource() const { return resourceName_; }
    void SetPictureResource(const std::wstring& name);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    // Stretch keeping the picture's proportions.
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    // The picture's key colour lets the parent show through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // Takes the picture's size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Where the picture lands in the control's coordinates.
    RECT DestRect() const;

  protected:
    void Paint() override;

  private:
    void PictureChanged();
    TPicture picture_;
    std::wstring resourceName_;
    bool stretch_ = false;
    bool proportional_ = false;
    bool center_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
    bool changing_ = false;
};
