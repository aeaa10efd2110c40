// The application object is initialised once; a modal window that a test did
// not answer fails that test instead of waiting for a person.

#include "framework/Forms.h"
#include "framework/ModalHook.h"

#include <gtest/gtest.h>

namespace {

class AppPublicEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        SetModalHook([](TModalRequest& r) {
            ADD_FAILURE() << "a modal window nobody answered: " << WideToUtf8(r.text)
                          << WideToUtf8(r.title);
            if (r.form) r.form->SetModalResult(mrCancel);
            r.result = 0;
            r.answered = true;
        });
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new AppPublicEnvironment);

} // namespace
