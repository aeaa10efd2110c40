// Dialog components: non-visual, placed on a window, each showing a small
// modal window of the skinned style when executed.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>

// The icon left of a message; a value is also its frame (from 1) in "MSGDLG".
// Scoped, as the title bar's button kinds use the name suiHelp too.
enum class TsuiIconType : std::uint8_t { suiNone, suiWarning, suiStop, suiInformation, suiHelp };

const TEnumInfo& IconTypeEnum();

// What every skinned dialog carries: caption, placement, style and fonts.
// Setting them only stores the value; Execute uses them.
class TsuiDialog : public TsuiStyled<TComponent> {
  public:
    explicit TsuiDialog(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& v) { caption_ = v; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    // The message text's font.
    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    void SetFont(const TFont& v) { font_->Assign(v); }
    // The title's font.
    TFont& CaptionFont() { return *captionFont_; }
    const TFont& CaptionFont() const { return *captionFont_; }

    // Shows the window modally and returns the modal result that closed it.
    virtual TModalResult Execute() = 0;

  protected:
    // Nothing to restyle: Execute reads the values.
    void ApplyStyle() override {}

  private:
    std::wstring caption_ = L"suiDialog";
    TPosition position_ = poScreenCenter;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TFont> captionFont_;
};

// A short message with an optional icon and one to three buttons; Execute
// builds a fresh message window each time and frees it before returning.
class TsuiMessageDialog : public TsuiDialog {
  public:
    explicit TsuiMessageDialog(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TCursor ButtonCursor() const { return buttonCursor_; }
    void SetButtonCursor(TCursor v) { buttonCursor_ = v; }
    // 1..3; other values are brought into that range.
    int ButtonCount() const { return buttonCount_; }
    void SetButtonCount(int v);
    // Buttons are numbered from 1, left to right.
    const std::wstring& ButtonCaption(int number) const;
    TModalResult ButtonModalResult(int number) const;

    const std::wstring& Button1Caption() const { return captions_[0]; }
    void SetButton1Caption(const std::wstring& v) { captions_[0] = v; }
    const std::wstring& Button2Caption() const { return captions_[1]; }
    void SetButton2Caption(const std::wstring& v) { captions_[1] = v; }
    const std::wstring& Button3Caption() const { return captions_[2]; }
    void SetButton3Caption(const std::wstring& v) { captions_[2] = v; }
    TModalResult Button1ModalResult() const { return results_[0]; }
    void SetButton1ModalResult(TModalResult v) { results_[0] = v; }
    TModalResult Button2ModalResult() const { return results_[1]; }
    void SetButton2ModalResult(TModalResult v) { results_[1] = v; }
    TModalResult Button3ModalResult() const { return results_[2]; }
    void SetButton3ModalResult(TModalResult v) { results_[2] = v; }

    TsuiIconType IconType() const { return iconType_; }
    void SetIconType(TsuiIconType v) { iconType_ = v; }
    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& v) { text_ = v; }

    TModalResult Execute() override;

  private:
    TCursor buttonCursor_ = crHandPoint;
    int buttonCount_ = 1;
    std::wstring captions_[3] = {L"OK", L"Cancel", L"Cancel"};
    TModalResult results_[3] = {mrOk, mrCancel, mrCancel};
    TsuiIconType iconType_ = TsuiIconType::suiNone;
    std::wstring text_ = L"Hello world!";
};
