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

  protected:
    // Border and caption colours from the style, which goes to the children
    // too. Only a box that reads the file theme looks different for a new one.
    void ApplyStyle() override;

    // Through the shared scratch bitmap: a box is mostly covered by what it
    // holds, and a kept picture of it would be fresh memory on every start,
    // which is what costs under Wine. A transparent child has the box paint
    // again into its own picture.
    void Paint() override;
    void WndProc(TMessage& m) override;
    void FontChanged() override;
    // |Font.Height|: the caption's room at the top.
    int FontHeight() const;

  private:
    std::wstring caption_;
    TColor borderColor_ = clBlack;
};

class TsuiGroupBox : public TsuiCustomGroupBox {
  public:
    explicit TsuiGroupBox(TComponent* owner) : TsuiCustomGroupBox(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};
