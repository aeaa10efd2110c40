// The application object is set up once, the classes are known by name
// before a description asks for them, and a modal window nobody expected
// fails the test instead of waiting for a person.

#include "DialogTestSupport.h"
#include "../support/ScratchFolder.h"

#include "skin/controls/SUIButton.h"

namespace {

class DialogEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        RegisterButtonClasses();
        RegisterSuiFormClasses();
        RegisterMessageDialogClasses();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new DialogEnvironment);

} // namespace
