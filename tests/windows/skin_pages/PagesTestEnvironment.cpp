// The stand-in frame is named TsuiForm, so it registers after the real
// classes and descriptions get the stand-in, whichever environment runs
// first.

#include "PagesTestSupport.h"

#include "skin/controls/SUIRegister.h"

namespace {

class PagesEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        RegisterSkinClasses();
        pages_test::TestSuiForm::StaticClass();
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new PagesEnvironment);

} // namespace
