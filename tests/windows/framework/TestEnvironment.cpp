// Every test runs with a modal hook that answers what nobody expected, so a
// forgotten modal window fails the test instead of waiting for a person.

#include "FrameworkTestSupport.h"

namespace {

class FrameworkEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        SetModalHook([](TModalRequest& r) {
            ADD_FAILURE() << "a modal window nobody answered: " << WideToUtf8(r.text)
                          << (r.form ? WideToUtf8(r.form->Name()) : std::string());
            if (r.form) r.form->SetModalResult(mrCancel);
            r.result = IDCANCEL;
            r.answered = true;
        });
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

} // namespace
