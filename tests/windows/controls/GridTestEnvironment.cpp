// The application object is initialised once; every modal window that a test
// did not expect fails the test instead of waiting for a person.

#include "GridTestSupport.h"
#include "../support/ScratchFolder.h"

#include "framework/ModalHook.h"

namespace {

class ControlsEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new ControlsEnvironment);

} // namespace
