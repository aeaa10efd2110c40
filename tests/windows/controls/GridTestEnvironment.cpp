// The application object is initialised once; every modal window that a test
// did not expect fails the test instead of waiting for a person.

#include "GridTestSupport.h"

#include "framework/ModalHook.h"

namespace {

class ControlsEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        SetModalHook([](TModalRequest& r) {
            ADD_FAILURE() << "a modal window nobody answered: " << WideToUtf8(r.text);
            if (r.form) r.form->SetModalResult(mrCancel);
            r.result = IDCANCEL;
            r.answered = true;
        });
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new ControlsEnvironment);

} // namespace
