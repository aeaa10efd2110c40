// The application object is set up once, the classes are known by name
// before any description asks for them, and a modal window nobody expected
// fails the test instead of waiting for a person.

#include "ButtonTestSupport.h"
#include "../support/ScratchFolder.h"

#include "framework/ModalHook.h"

namespace {

class ButtonEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        RegisterButtonClasses();
        RegisterGroupBoxClasses();
        RegisterRadioGroupClasses();
        // The pointer of the test display must not hover over any control.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new ButtonEnvironment);

} // namespace
