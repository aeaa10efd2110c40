// Every test runs with a modal hook that answers what nobody expected, so a
// forgotten modal window fails the test instead of waiting for a person.

#include "FrameworkTestSupport.h"
#include "../support/ScratchFolder.h"

namespace {

class FrameworkEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

} // namespace
