// The application object is initialised once; a modal window that a test did
// not expect fails the test instead of waiting for a person.

#include "StdCtrlsTestSupport.h"
#include "../support/ScratchFolder.h"

#include "framework/ModalHook.h"

namespace {

class StdCtrlsEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new StdCtrlsEnvironment);

} // namespace
