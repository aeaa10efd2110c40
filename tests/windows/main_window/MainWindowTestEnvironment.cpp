// One application object; no settings file left over from an earlier run;
// a modal window nobody expected fails the test instead of waiting.

#include "MainWindowTestSupport.h"
#include "../support/ScratchFolder.h"

#include "app/UPublicFunction.h"
#include "framework/Utils.h"

namespace {

class MainWindowEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->Initialize();
        Application->SetTitle(L"蓝桉房贷按揭计算器");
        RegisterProgramClasses();
        SetFileAttributesW(GetSettingsFileName().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(GetSettingsFileName().c_str());
        FailOnUnansweredModal();
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

} // namespace
