// The message window of TsuiMessageDialog: its stored layout comes from the
// description TFRMMSG; the dialog fills it in at every Execute.
#pragma once

#include "skin/controls/SUIForm.h"

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"

#include <string>

class TfrmMsg : public TForm {
  public:
    explicit TfrmMsg(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiForm* suiForm1 = nullptr;
    TLabel* lbl = nullptr;
    TImage* Image1 = nullptr;

    // Ctrl+C puts CopyText() on the clipboard; the key goes on to the control.
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    // Rules of dashes round the title, the message and the button captions.
    std::wstring CopyText() const;
};
