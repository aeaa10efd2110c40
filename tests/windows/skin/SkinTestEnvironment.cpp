// The test stand-ins are known by name before any test asks for them.

#include "SkinTestSupport.h"

namespace {

class SkinEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        skin_test::TsuiTestControl::StaticClass();
        skin_test::THalfSkinnedBox::StaticClass();
        skin_test::TOtherThemedControl::StaticClass();
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new SkinEnvironment);

} // namespace
