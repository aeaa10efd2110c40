#include "skin/controls/frmMessage.h"

#include "skin/controls/SUIButton.h"

#include "framework/Utils.h"

const TClassInfo& TfrmMsg::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TfrmMsg>(L"TfrmMsg", &TForm::StaticClass())
                                        .Field(L"suiForm1", &TfrmMsg::suiForm1)
                                        .Field(L"lbl", &TfrmMsg::lbl)
                                        .Field(L"Image1", &TfrmMsg::Image1)
                                        .Handler(L"FormKeyDown", &TfrmMsg::FormKeyDown)
                                        .Build();
    return info;
}

TfrmMsg::TfrmMsg(TComponent* owner) : TForm(owner) {
    LoadDescription(L"TfrmMsg");
}

std::wstring TfrmMsg::CopyText() const {
    const std::wstring rule(27, L'-');
    const std::wstring br = L"\r\n";
    std::wstring captions;
    bool first = true;
    // Owned components keep their creation order: the rightmost button first.
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TsuiButton*>(Components(i))) {
            if (!first) captions += L"   ";
            captions += button->Caption();
            first = false;
        }
    return rule + br + suiForm1->Caption() + br + rule + br + lbl->Caption() + br + rule + br +
           captions + br + rule;
}

void TfrmMsg::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
    if (Shift.Contains(ssCtrl) && Key == 'C') SetClipboardText(CopyText());
}
