// One application object; no settings file left over from an earlier run;
// a modal window nobody expected fails the test instead of waiting.

#include "MainWindowTestSupport.h"

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
        SetModalHook([](TModalRequest& r) {
            ADD_FAILURE() << "a modal window nobody answered: " << WideToUtf8(r.text);
            if (r.form) r.form->SetModalResult(mrCancel);
            r.result = IDCANCEL;
            r.answered = true;
        });
    }
    void TearDown() override { SetModalHook({}); }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

} // namespace
