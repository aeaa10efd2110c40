// What only the main window's tests need before the first one: the program's
// title, and no settings file left over from an earlier run.

#include "app/UPublicFunction.h"
#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class MainWindowEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Application->SetTitle(L"蓝桉房贷按揭计算器");
        SetFileAttributesW(GetSettingsFileName().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(GetSettingsFileName().c_str());
    }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

} // namespace
