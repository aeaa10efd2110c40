// The About window: what the program is for, how to use it, its version
// and its rights notice, in one memo. Created anew for every request and
// freed when it closes.
#pragma once

#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIListControls.h"

#include "framework/Forms.h"

class TfrmAbout : public TForm {
  public:
    explicit TfrmAbout(TComponent* owner);
    ~TfrmAbout() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiForm* suiForm1 = nullptr;
    TsuiMemo* suiMemo1 = nullptr;

    // Escape closes the window, even from inside the memo.
    bool IsShortCut(WORD key, TShiftState shift) override;

    void suiMemo1DblClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};

// The About window now open (nullptr when there is none).
extern TfrmAbout* frmAbout;

// A fresh About window owned by owner becomes the current one and runs
// modally; it is freed once its loop has ended, after the current message.
TModalResult ShowAboutWindow(TComponent* owner);
