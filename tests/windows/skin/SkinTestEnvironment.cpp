// The application object is set up once, the test stand-ins are known by
// name before any test asks for them, and a modal window nobody expected
// fails the test instead of waiting for a person.

#include "SkinTestSupport.h"
#include "../support/ScratchFolder.h"

#include "framework/ModalHook.h"

namespace {

class SkinEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        skin_test::TsuiTestControl::StaticClass();
        skin_test::THalfSkinnedBox::StaticClass();
        skin_test::TOtherThemedControl::StaticClass();
        TsuiFileTheme::StaticClass();
        TsuiImagePanel::StaticClass();
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

} // namespace
