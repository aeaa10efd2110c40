#pragma once

// Running a message dialog from a test: the modal hook hands over the
// message window once its loop runs, the test looks at it and answers it.

#include "../support/HostForm.h"
#include "../support/Rects.h"

#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIDialog.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/frmMessage.h"

#include "framework/Forms.h"
#include "framework/ModalHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace dialog_test {

// The window's push buttons in the order the dialog made them (rightmost first).
inline std::vector<TsuiButton*> ButtonsMade(TfrmMsg& form) {
    std::vector<TsuiButton*> out;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TsuiButton*>(form.Components(i))) out.push_back(b);
    return out;
}

inline std::vector<TsuiButton*> ButtonsLeftToRight(TfrmMsg& form) {
    auto out = ButtonsMade(form);
    std::sort(out.begin(), out.end(),
              [](TsuiButton* a, TsuiButton* b) { return a->Left() < b->Left(); });
    return out;
}

// Executes the dialog; inside runs once the modal loop is going and the
// window has painted, and must leave the window answered.
inline TModalResult ExecuteAnswered(TsuiMessageDialog& dialog,
                                    const std::function<void(TfrmMsg&)>& inside) {
    int calls = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        auto* form = dynamic_cast<TfrmMsg*>(r.form);
        if (!form) {
            ADD_FAILURE() << "the modal window is no message window";
            if (r.form) r.form->SetModalResult(mrAbort);
            return;
        }
        ++calls;
        Pump();
        inside(*form);
        if (form->ModalResult() == mrNone) {
            ADD_FAILURE() << "the test left the message window open";
            form->SetModalResult(mrAbort);
        }
    });
    const TModalResult result = dialog.Execute();
    EXPECT_EQ(1, calls);
    return result;
}

// Answers with a plain result, after whatever look the test takes.
inline TModalResult ExecuteAndLook(TsuiMessageDialog& dialog,
                                   const std::function<void(TfrmMsg&)>& look) {
    return ExecuteAnswered(dialog, [&](TfrmMsg& form) {
        look(form);
        form.SetModalResult(mrOk);
    });
}

inline void ClickButton(TsuiButton& button) {
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump();
}

// A key pressed and released on a window, through the message loop.
inline void PostKey(HWND target, WORD vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    Pump();
}

// The control that has the keyboard focus now, if it is one of ours.
inline TWinControl* FocusedControl() {
    return TWinControl::FindControl(GetFocus());
}

} // namespace dialog_test
