// Conversions with the framework's error texts, the clipboard, the message
// box through the modal seam, and the executable's folder.

#include "FrameworkTestSupport.h"

#include "framework/Utils.h"

namespace {

TEST(Conversions, FloatsWithTheLocaleSeparatorAndTheExactErrorText) {
    EXPECT_DOUBLE_EQ(StrToFloat(L"12.5", L'.'), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat(L" -3,25 ", L','), -3.25);
    EXPECT_DOUBLE_EQ(StrToFloat(L"1e3", L'.'), 1000.0);
    EXPECT_DOUBLE_EQ(StrToFloat(L".", L'.'), 0.0);
    try {
        StrToFloat(L"1,5", L'.');
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'1,5' is not a valid floating point value");
    }
    EXPECT_THROW(StrToFloat(L"", L'.'), EConvertError);
    EXPECT_THROW(StrToFloat(L"abc", L'.'), EConvertError);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat(L"x", v));

    EXPECT_EQ(FloatToStr(0.1, L'.'), L"0.1");
    EXPECT_EQ(FloatToStr(1234567.5, L','), L"1234567,5");
    EXPECT_EQ(FloatToStr(1e20, L'.'), L"1E20");
    EXPECT_EQ(FloatToStr(1.5e-7, L'.'), L"1.5E-7");
    EXPECT_EQ(FloatToStr(-0.0, L'.'), L"0");
    // What it writes, it reads back.
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(5.125)), 5.125);
}

TEST(Conversions, IntegersAndTheExactErrorText) {
    EXPECT_EQ(StrToInt(L"42"), 42);
    EXPECT_EQ(StrToInt(L"  -17"), -17);
    EXPECT_EQ(StrToInt(L"$FF"), 255);
    EXPECT_EQ(StrToInt(L"2147483647"), 2147483647);
    EXPECT_EQ(StrToInt(L"-2147483648"), -2147483647 - 1);
    for (const wchar_t* bad : {L"", L"1.5", L"12 ", L"2147483648", L"x1", L"-"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted " << WideToUtf8(bad);
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), L"'" + std::wstring(bad) + L"' is not a valid integer value");
        }
    }
    EXPECT_EQ(StrToIntDef(L"x", 9), 9);
    EXPECT_EQ(IntToStr(-5), L"-5");
}

TEST(Platform, DecimalSeparatorFolderAndClipboard) {
    wchar_t sep = DecimalSeparator();
    EXPECT_TRUE(sep == L'.' || sep == L',') << int(sep);

    std::wstring dir = ExeDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), L'\\');
    EXPECT_NE(GetFileAttributesW((dir + L"framework_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(SetClipboardText(L"月还款额 12.50"));
    EXPECT_EQ(GetClipboardText(), L"月还款额 12.50");
}

TEST(Platform, MessageBoxGoesThroughTheModalSeam) {
    MessageBoxRecorder rec;
    rec.result = IDCANCEL;
    EXPECT_EQ(ShowMessageBox(L"正文", L"标题", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].text, L"正文");
    EXPECT_EQ(rec.seen[0].caption, L"标题");
    EXPECT_EQ(rec.seen[0].flags, UINT(MB_OKCANCEL | MB_ICONWARNING));
}

} // namespace
