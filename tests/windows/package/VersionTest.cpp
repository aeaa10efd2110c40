// The version the windows show comes from the program, not from their stored
// descriptions: this suite links descriptions that still carry an older
// version, and the windows must show the current one all the same.

#include "app/Uabout.h"
#include "app/Umain.h"
#include "app/Version.h"

#include "../support/MessagePump.h"

#include "framework/FormReader.h"
#include "framework/Utils.h"
#include "skin/controls/SUIForm.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

namespace {

const std::wstring kStale = L"V0.0-stale";

} // namespace

TEST(Version, IsMajorDotMinorAndTheStoredDescriptionsCarryAnotherOne) {
    EXPECT_TRUE(std::regex_match(WideToUtf8(kVersion), std::regex("[0-9]+\\.[0-9]+")))
        << WideToUtf8(kVersion);
    // Without these the checks below could not tell stored text from set text.
    EXPECT_NE(std::wstring::npos, LoadTextResource(L"TFORM1").find(kStale));
    EXPECT_NE(std::wstring::npos, LoadTextResource(L"TFRMABOUT").find(kStale));
}

TEST(Version, MainWindowCaptionTitleBarAndTaskBarTextCarryIt) {
    const std::wstring expected = L"蓝桉房贷按揭计算器V" + std::wstring(kVersion);
    EXPECT_EQ(expected, MainWindowCaption());
    TOwned<TForm1> form(new TForm1(nullptr));
    EXPECT_EQ(expected, form->Caption());
    EXPECT_EQ(expected, form->suiForm1->Caption());  // the skinned title bar
    EXPECT_EQ(expected, WindowText(form->Handle())); // what the task bar shows
}

TEST(Version, AboutTextHasOneVersionLineUnderItsHeading) {
    const std::wstring expected = L"    软件版本：V" + std::wstring(kVersion);
    EXPECT_EQ(expected, AboutVersionLine());
    TOwned<TfrmAbout> about(new TfrmAbout(nullptr));
    const std::vector<std::wstring> lines = about->suiMemo1->Lines().ToVector();
    int versionLines = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(L"软件版本") == std::wstring::npos) continue;
        ++versionLines;
        EXPECT_EQ(expected, lines[i]);
        ASSERT_GT(i, 0u);
        EXPECT_EQ(L"■版本信息", lines[i - 1]);
    }
    EXPECT_EQ(1, versionLines);
    EXPECT_EQ(std::wstring::npos, about->suiMemo1->Text().find(kStale));
}
