#include "skin/controls/SUIDialog.h"

#include "skin/controls/SUIButton.h"
#include "skin/controls/frmMessage.h"

#include "framework/Utils.h"

#include <algorithm>

const TEnumInfo& IconTypeEnum() {
    static const TEnumInfo info{L"TsuiIconType",
                                {{L"suiNone", 0},
                                 {L"suiWarning", 1},
                                 {L"suiStop", 2},
                                 {L"suiInformation", 3},
                                 {L"suiHelp", 4}}};
    return info;
}

// ---------------------------------------------------------------------------
// TsuiDialog

const TClassInfo& TsuiDialog::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiDialog>(L"TsuiDialog", &TComponent::StaticClass())
            .Property(L"Caption", &TsuiDialog::Caption, &TsuiDialog::SetCaption)
            .Enum(L"Position", &TsuiDialog::Position, &TsuiDialog::SetPosition, PositionEnum())
            .With(PublishStyle<TsuiDialog>)
            .Object(L"Font", static_cast<TFont& (TsuiDialog::*)()>(&TsuiDialog::Font),
                    FontPropertyClass())
            .Object(L"CaptionFont", static_cast<TFont& (TsuiDialog::*)()>(&TsuiDialog::CaptionFont),
                    FontPropertyClass())
            .Build();
    return info;
}

TsuiDialog::TsuiDialog(TComponent* owner)
    : TsuiStyled(owner), font_(std::make_unique<TFont>()), captionFont_(std::make_unique<TFont>()) {
    captionFont_->SetName(L"Tahoma");
    captionFont_->SetStyle({fsBold});
    captionFont_->SetColor(clWhite);
}

// ---------------------------------------------------------------------------
// TsuiMessageDialog

const TClassInfo& TsuiMessageDialog::StaticClass() {
    using D = TsuiMessageDialog;
    static const TClassInfo& info =
        TClassBuilder<D>(L"TsuiMessageDialog", &TsuiDialog::StaticClass())
            .Enum(L"ButtonCursor", &D::ButtonCursor, &D::SetButtonCursor, CursorEnum())
            .Property(L"ButtonCount", &D::ButtonCount, &D::SetButtonCount)
            .Property(L"Button1Caption", &D::Button1Caption, &D::SetButton1Caption)
            .Property(L"Button2Caption", &D::Button2Caption, &D::SetButton2Caption)
            .Property(L"Button3Caption", &D::Button3Caption, &D::SetButton3Caption)
            .Property(L"Button1ModalResult", &D::Button1ModalResult, &D::SetButton1ModalResult)
            .Property(L"Button2ModalResult", &D::Button2ModalResult, &D::SetButton2ModalResult)
            .Property(L"Button3ModalResult", &D::Button3ModalResult, &D::SetButton3ModalResult)
            .Enum(L"IconType", &D::IconType, &D::SetIconType, IconTypeEnum())
            .Property(L"Text", &D::Text, &D::SetText)
            .Build();
    return info;
}

TsuiMessageDialog::TsuiMessageDialog(TComponent* owner) : TsuiDialog(owner) {}

void TsuiMessageDialog::SetButtonCount(int v) {
    buttonCount_ = std::clamp(v, 1, 3);
}

const std::wstring& TsuiMessageDialog::ButtonCaption(int number) const {
    return captions_[std::clamp(number, 1, 3) - 1];
}

TModalResult TsuiMessageDialog::ButtonModalResult(int number) const {
    return results_[std::clamp(number, 1, 3) - 1];
}

TModalResult TsuiMessageDialog::Execute() {
    // A fresh window per message; freed however the call ends.
    TOwned<TfrmMsg> form(new TfrmMsg(Application));
    form->SetFont(Font());

    TLabel& label = *form->lbl;
    TImage& image = *form->Image1;
    label.SetCaption(Text());

    // Measured before the icon changes the image box's stored size.
    const int base = std::max(label.Top() + label.Height(), image.Top() + image.Height());

    if (IconType() != TsuiIconType::suiNone) {
        label.SetLeft(88);
        TBitmap strip;
        strip.LoadFromResourceName(MainInstance(), L"MSGDLG");
        ExtractBitmapFrame(strip, image.Picture().Bitmap(), 4, int(IconType()));
    } else {
        label.SetLeft(24);
        image.Hide();
        // Without an icon two buttons fit a narrower window; three do not.
        if (ButtonCount() < 3) form->SetWidth(form->Width() - 64);
    }

    const int width = form->Width();
    for (int i = 0; i < ButtonCount(); ++i) {
        const int number = ButtonCount() - i;
        auto* button = new TsuiButton(form.get());
        button->SetParent(form->suiForm1);
        button->SetBounds(width - 97 - 93 * i, base + 20, 73, 25);
        button->SetCursor(ButtonCursor());
        button->SetTabStop(true);
        // Each new button goes second, so Tab runs from button 1 rightwards.
        button->SetTabOrder(1);
        button->SetCaption(ButtonCaption(number));
        button->SetModalResult(ButtonModalResult(number));
        form->SetActiveControl(button);
    }

    form->SetHeight(base + 65);
    form->SetPosition(Position());

    TsuiForm& frame = *form->suiForm1;
    frame.SetCaption(Caption());
    frame.SetFileTheme(FileTheme());
    frame.SetUIStyle(UIStyle());
    frame.CaptionFont().Assign(CaptionFont());

    return form->ShowModal();
}
