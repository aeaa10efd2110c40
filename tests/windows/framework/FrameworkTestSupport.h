#pragma once

// Helpers shared by the framework tests: showing a form active, and
// recording what reached the modal seam.

#include "framework/Forms.h"
#include "framework/ModalHook.h"
#include "../support/HostForm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Shows the form and waits until it is active with the focus on it; another
// window of an earlier test may still be handing activation over.
inline bool ShowActive(TForm& form) {
    form.Show();
    auto ours = [&] {
        TWinControl* c = TWinControl::FindControl(GetFocus());
        return form.Active() && c && (c == &form || GetParentForm(c) == &form);
    };
    if (PumpUntil(ours, 1000)) return true;
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
    return PumpUntil(ours, 2000);
}

// Answers every message box with result and remembers what it showed.
struct MessageBoxRecorder {
    std::vector<TModalRequest> seen;
    int result = IDOK;
    TScopedModalHook hook{[this](TModalRequest& r) {
        if (r.kind != TModalKind::MessageBox) {
            ADD_FAILURE() << "unexpected modal window";
            if (r.form) r.form->SetModalResult(mrCancel);
            r.answered = true;
            return;
        }
        seen.push_back(r);
        r.result = result;
        r.answered = true;
    }};
};
