// The file dialogs answered through the modal seam, as the export's tests
// answer them, and the conversions they make for the system dialog.

#include "../support/HostForm.h"

#include "framework/Dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(SaveDialog, HookSeesTheSettingsAndItsAnswerBecomesTheFileName) {
    TSaveDialog dialog(nullptr);
    dialog.SetFileName(L"等额本息贷款分期还款表");
    dialog.SetDefaultExt(L"xls");
    dialog.SetTitle(L"导出 等额本息贷款分期还款表 至Excel文件");
    dialog.SetFilter(L"Excel files (*.xls)|*.xls");
    dialog.SetInitialDir(L"C:\\lanan");

    std::vector<TModalRequest> seen;
    std::wstring answer = L"C:\\exports\\report";
    int result = 1;
    TScopedModalHook hook([&](TModalRequest& r) {
        seen.push_back(r);
        r.fileName = answer;
        r.result = result;
        r.answered = true;
    });

    ASSERT_TRUE(dialog.Execute());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TModalKind::SaveDialog);
    EXPECT_EQ(seen[0].fileName, L"等额本息贷款分期还款表");
    EXPECT_EQ(seen[0].defaultExt, L"xls");
    EXPECT_EQ(seen[0].title, L"导出 等额本息贷款分期还款表 至Excel文件");
    EXPECT_EQ(seen[0].filter, L"Excel files (*.xls)|*.xls");
    EXPECT_EQ(seen[0].initialDir, L"C:\\lanan");
    // The default extension is added as the system dialog would.
    EXPECT_EQ(dialog.FileName(), L"C:\\exports\\report.xls");

    answer = L"C:\\exports.old\\report.txt";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), L"C:\\exports.old\\report.txt");

    // Cancelled: false, and the name stays.
    answer = L"C:\\other";
    result = 0;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), L"C:\\exports.old\\report.txt");
}

TEST(SaveDialog, OptionsFilterAndDescriptionProperties) {
    TSaveDialog dialog(nullptr);
    EXPECT_FALSE(dialog.Options().Contains(ofOverwritePrompt));
    EXPECT_TRUE(dialog.Options().Contains(ofHideReadOnly));
    std::wstring sys = TOpenDialog::SystemFilter(L"Excel files (*.xls)|*.xls|All (*.*)|*.*");
    EXPECT_EQ(sys, std::wstring(L"Excel files (*.xls)\0*.xls\0All (*.*)\0*.*\0\0", 41));

    SetPropertyValue(dialog, L"Options", TValue::SetOf({L"ofOverwritePrompt", L"ofPathMustExist"}));
    SetPropertyValue(dialog, L"DefaultExt", TValue::Str(L".xls"));
    EXPECT_TRUE(dialog.Options().Contains(ofOverwritePrompt));
    EXPECT_FALSE(dialog.Options().Contains(ofHideReadOnly));
    EXPECT_EQ(dialog.DefaultExt(), L"xls");
    EXPECT_EQ(dialog.WithDefaultExt(L"a.b\\c"), L"a.b\\c.xls");
    EXPECT_EQ(dialog.WithDefaultExt(L""), L"");
}

} // namespace
