// The application object is initialised once; a modal window that a test did
// not answer fails that test instead of waiting for a person.

#include "framework/Forms.h"
#include "../support/ScratchFolder.h"
#include "framework/ModalHook.h"

#include <gtest/gtest.h>

namespace {

class AppPublicEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new AppPublicEnvironment);

} // namespace
