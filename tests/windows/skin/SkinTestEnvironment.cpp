// The test stand-ins are known by name before any test asks for them. The
// stand-in frame is named TsuiForm, so it registers after the real classes
// and descriptions get the stand-in, whichever environment runs first.

#include "SkinTestSupport.h"

#include "skin/controls/SUIRegister.h"

namespace {

class SkinEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        RegisterSkinClasses();
        skin_test::TestSuiForm::StaticClass();
        skin_test::TsuiTestControl::StaticClass();
        skin_test::THalfSkinnedBox::StaticClass();
        skin_test::TOtherThemedControl::StaticClass();
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

} // namespace
