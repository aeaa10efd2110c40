// Skinned push buttons, image buttons, check boxes and radio buttons. Each
// paints from its style's bitmaps into an off-screen bitmap and copies it to
// the screen in one step.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Timer.h"

#include <string>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

const TEnumInfo& ButtonLayoutEnum();
const TEnumInfo& CheckBoxStateEnum();

// ---------------------------------------------------------------------------

class TsuiCustomButton : public TsuiStyled<TCustomControl> {
  public:
    explicit TsuiCustomButton(TComponent* owner);
    ~TsuiCustomButton() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    int FocusedRectMargin() const { return focusedRectMargin_; }
    void SetFocusedRectMargin(int v);
    int MouseContinuouslyDownInterval() const { return repeatInterval_; }
    void SetMouseContinuouslyDownInterval(int v) { repeatInterval_ = v; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v);

    // Mouse over the button / held down (by mouse or key).
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_; }
    // The repeat timer exists while the button is held by the mouse.
    bool Repeating() const { return timer_ != nullptr; }
    // The last paint, for tests and screenshots.
    const TBitmap& Offscreen() const { return buffer_.Bitmap(); }

    // Sets the form's modal result, then OnClick.
    void Click() override;

    bool DialogKey(WORD key, TShiftState shift) override;
    bool DialogChar(wchar_t ch, TShiftState shift) override;

    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

  protected:
    virtual void UpdateAutoSize();
    void FontChanged() override;
    virtual void TransparentChanged();
    virtual void StyleChanged() {}
    virtual void DrawBackground(TCanvas& canvas, TBitmap& picture);
    virtual void DrawCaption(TCanvas& canvas, const std::wstring& caption);
    virtual void DrawFocus(TCanvas& canvas);
    virtual void GetNormalPicture(TBitmap& graphic);
    virtual void GetHotPicture(TBitmap& graphic);
    virtual void GetPressedPicture(TBitmap& graphic);
    virtual void GetDisabledPicture(TBitmap& graphic);

    void Paint() override;
    void WndProc(TMessage& m) override;
    void TextChanged() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void ApplyStyle() override {
        StyleChanged();
        Invalidate();
    }

    // Frame index (1..3) of the style's button strip, from the file theme or the tables.
    void LoadButtonFrame(TBitmap& graphic, int index);
    bool PictureTransparentFlag() const { return pictureTransparent_; }
    void SetBoldCaption(bool v) { boldCaption_ = v; }
    // The caption in rect with flags: bold for this paint when asked, one
    // pixel down and right while pressed, embossed grey when disabled.
    void DrawCaptionText(TCanvas& canvas, const std::wstring& caption, const RECT& rect,
                         UINT flags);

  private:
    void FreeTimer();

    TModalResult modalResult_ = mrNone;
    bool transparent_ = false;
    bool autoSize_ = false;
    int focusedRectMargin_ = 2;
    int repeatInterval_ = 100;
    bool cancel_ = false;
    bool default_ = false;
    bool hot_ = false;
    bool pressed_ = false;
    bool pictureTransparent_ = false;
    bool boldCaption_ = false;
    TOwned<TTimer> timer_;
    TOffscreenBuffer buffer_;
};

class TsuiButton : public TsuiCustomButton {
  public:
    explicit TsuiButton(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TBitmap& Glyph() { return glyph_; }
    void SetGlyph(const TBitmap& glyph);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int ResHandle() const { return 0; }
    void SetResHandle(int) {}

    // Where the caption went on the last paint with a glyph.
    POINT TextPosition() const { return textPos_; }
    POINT GlyphPosition() const { return glyphPos_; }

  protected:
    void StyleChanged() override;
    void DrawBackground(TCanvas& canvas, TBitmap& picture) override;
    void DrawCaption(TCanvas& canvas, const std::wstring& caption) override;
    void DrawFocus(TCanvas& canvas) override;

  private:
    TBitmap glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    POINT textPos_{};
    POINT glyphPos_{};
};

// A button that shows pictures of its own instead of the style's.
class TsuiImageButton : public TsuiCustomButton {
  public:
    explicit TsuiImageButton(TComponent* owner);
    ~TsuiImageButton() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TPicture& PicNormal() { return picNormal_; }
    TPicture& PicMouseOn() { return picMouseOn_; }
    TPicture& PicMouseDown() { return picMouseDown_; }
    TPicture& PicDisabled() { return picDisabled_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool DrawFocused() const { return drawFocused_; }
    void SetDrawFocused(bool v);
    // Its look is its pictures: the style reads FromThemeFile and is not kept.
    TsuiUIStyle UIStyle() const override { return TsuiUIStyle::FromThemeFile; }
    void SetUIStyle(TsuiUIStyle) override {}

  protected:
    void DrawBackground(TCanvas& canvas, TBitmap& picture) override;
    void DrawFocus(TCanvas& canvas) override;
    void GetNormalPicture(TBitmap& graphic) override;
    void GetHotPicture(TBitmap& graphic) override;
    void GetPressedPicture(TBitmap& graphic) override;
    void GetDisabledPicture(TBitmap& graphic) override;

  private:
    void CopyPicture(const TPicture& picture, TBitmap& graphic) const;

    TPicture picNormal_;
    TPicture picMouseOn_;
    TPicture picMouseDown_;
    TPicture picDisabled_;
    bool stretch_ = false;
    bool drawFocused_ = false;
};

// ---------------------------------------------------------------------------

class TsuiCheckBox : public TsuiStyled<TCustomControl> {
  public:
    explicit TsuiCheckBox(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    TCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState v) { SetChecked(v == cbChecked); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    const TBitmap& Offscreen() const { return buffer_.Bitmap(); }

    // Focus, Toggle, then the framework's click (which leaves OnClick alone).
    void Click() override;
    bool DialogChar(wchar_t ch, TShiftState shift) override;

    // Fires when the check state changes (not while loading).
    TNotifyEvent OnClick;

  protected:
    virtual bool ShowsFocus() const;
    virtual bool PictureTransparent() const { return false; }
    virtual int PictureElement() const { return ThemeElement::CheckBoxImage; }
    virtual void CheckedChanged();
    virtual void Toggle();
    virtual bool KeyToggles() const { return true; }

    void Paint() override;
    void WndProc(TMessage& m) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    // The style is read at paint time.
    void ApplyStyle() override { Invalidate(); }

  private:
    void LoadPicture(TBitmap& picture);
    // Applies AutoSize with the picture's and the font's measures.
    void UpdateAutoSize(const TBitmap& picture, TCanvas& canvas);

    bool checked_ = false;
    bool autoSize_ = true;
    bool transparent_ = false;
    TOffscreenBuffer buffer_;
};

class TsuiRadioButton : public TsuiCheckBox {
  public:
    explicit TsuiRadioButton(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }

  protected:
    bool PictureTransparent() const override { return true; }
    int PictureElement() const override { return ThemeElement::RadioButtonImage; }
    void CheckedChanged() override;
    void Toggle() override;
    bool KeyToggles() const override { return false; }
    void WndProc(TMessage& m) override;

  private:
    int groupIndex_ = 0;
};
