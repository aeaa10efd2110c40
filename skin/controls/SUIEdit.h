// The themed single-line edit and the number edit built on it: every numeric
// field of the program. The number edit keeps a double Value in step with
// its text, shows it through a mask such as "0.00", refuses keys that cannot
// make a number and normalises the text when the field is left.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/StdCtrls.h"

class TsuiEdit : public TsuiStyled<TCustomEdit> {
  public:
    explicit TsuiEdit(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);

  protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void ApplyStyle() override;

  private:
    void PaintFrame();

    TColor borderColor_ = clBlack;
};

class TsuiNumberEdit : public TsuiEdit {
  public:
    explicit TsuiNumberEdit(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Assigning only stores the pattern; the text keeps its format until the
    // next Value assignment.
    const std::wstring& Mask() const { return mask_; }
    void SetMask(const std::wstring& mask) { mask_ = mask; }
    // The last number stored; assigning formats it through the mask.
    double Value() const { return value_; }
    void SetValue(double value);
    int AutoSelectSigns() const { return autoSelectSigns_; }
    void SetAutoSelectSigns(int n) { autoSelectSigns_ = n; }

  protected:
    void CreateParams(TCreateParams& params) override;
    void KeyPress(wchar_t& key) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    void Click() override;

  private:
    void SelectTrailingSigns();

    std::wstring mask_ = L"0.00";
    double value_ = 0;
    int autoSelectSigns_ = 2;
};
