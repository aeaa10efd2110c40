// The skinned group box: a frame in the style's border colour with the
// caption in a gap of its top edge, and the style handed to what it holds.
#pragma once

#include "skin/SUIImagePanel.h"
#include "skin/SUIStyleLink.h"

#include <string>

class TsuiCustomGroupBox : public TsuiStyled<TsuiCustomPanel> {
  public:
    explicit TsuiCustomGroupBox(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The frame's caption; the panel's own text stays blank.
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& v);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    bool Transparent() const { return TsuiCustomPanel::Transparent(); }
    virtual void SetTransparent(bool v);

    // Passed on to every direct child.
    void SetEnabled(bool v) override;
    void AdjustClientRect(RECT& r) const override;

    const TBitmap& Offscreen() const { return buffer_.Bitmap(); }

  protected:
    // Border and caption colours from the style, which goes to the children
    // too. Only a box that reads the file theme looks different for a new one.
    void ApplyStyle() override;

    void Paint() override;
    TOffscreenBuffer& PaintBuffer() override { return buffer_; }
    void WndProc(TMessage& m) override;
    void FontChanged() override;
    // |Font.Height|: the caption's room at the top.
    int FontHeight() const;

  private:
    std::wstring caption_;
    TColor borderColor_ = clBlack;
    TOffscreenBuffer buffer_;
};

class TsuiGroupBox : public TsuiCustomGroupBox {
  public:
    explicit TsuiGroupBox(TComponent* owner) : TsuiCustomGroupBox(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};
