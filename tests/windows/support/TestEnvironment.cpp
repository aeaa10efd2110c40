// The set-up every Windows test program shares, once before its first test:
// the application initialised, the classes that descriptions name known, the
// pointer moved off every window, and a modal window nobody answered failing
// the test instead of waiting for a person.
//
// The suite's build names, in LANAN_TEST_CLASSES, the registration function
// of the highest library it tests (the framework's, the skin's or the
// program's); each of them registers the libraries below as well.

#include "framework/Forms.h"
#include "framework/ModalHook.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <windows.h>

void LANAN_TEST_CLASSES();

namespace {

// A modal window nobody answered fails the test and is cancelled, so no run
// waits for a person.
void FailOnUnansweredModal() {
    SetModalHook([](TModalRequest& r) {
        ADD_FAILURE() << "a modal window nobody answered: " << WideToUtf8(r.title) << " "
                      << WideToUtf8(r.text) << (r.form ? WideToUtf8(r.form->Name()) : "");
        if (r.form) r.form->SetModalResult(mrCancel);
        // Cancel: IDCANCEL for a message box, nothing chosen in a file dialog.
        r.result = r.kind == TModalKind::MessageBox ? IDCANCEL : 0;
        r.answered = true;
    });
}

class WindowsTestEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        LANAN_TEST_CLASSES();
        // The pointer of the test display must not hover over any control.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kWindowsEnvironment =
    testing::AddGlobalTestEnvironment(new WindowsTestEnvironment);

} // namespace
