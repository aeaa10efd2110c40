// percents.ini through the real profile functions, in the file beside this
// test program; whatever was there before is put back afterwards.

#include "app/UPublicFunction.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, n);
    return full.substr(0, full.find_last_of(L"\\/") + 1);
}

class SettingsFile : public testing::Test {
  protected:
    void SetUp() override {
        file = ExeFolder() + L"percents.ini";
        saved = Content();
        Remove();
    }
    void TearDown() override {
        Remove();
        if (saved) Write(*saved);
    }
    std::optional<std::string> Content() const {
        std::ifstream in(file.c_str(), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const std::string& text) const {
        std::ofstream(file.c_str(), std::ios::binary) << text;
    }
    void Remove() const {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
        RemoveDirectoryW(file.c_str());
    }
    bool Exists() const { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring file;
    std::optional<std::string> saved;
};

} // namespace

TEST_F(SettingsFile, LivesBesideTheExecutable) {
    EXPECT_EQ(GetSettingsFileName(), file);
    EXPECT_EQ(GetSettingsFileName().substr(GetSettingsFileName().size() - 13), L"\\percents.ini");
}

TEST_F(SettingsFile, WithoutFileSectionOrKeyTheDefaultComesBackTrimmed) {
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"0"), L"0");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"  7.5\t"), L"7.5");
    EXPECT_FALSE(Exists()) << "reading must not create the file";

    Write("[Other]\r\npercent1=9\r\n[PERCENTS]\r\npercent2=1\r\n");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"0"), L"0");
    EXPECT_EQ(ReadSetting(L"Missing", L"percent2", L"0"), L"0");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent2", L"0"), L"1");
}

TEST_F(SettingsFile, ReadValuesLoseSurroundingBlanksAndControls) {
    Write("[PERCENTS]\r\npercent1=  6.12  \r\npercent2=\t5.508\x01\t\r\npercent3=\r\n"
          "percent4=6 12\r\n");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"0"), L"6.12");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent2", L"0"), L"5.508");
    // Present but empty is not missing: no default.
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent3", L"0"), L"");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent4", L"0"), L"6 12");
}

TEST_F(SettingsFile, ReadsAtMost2047Characters) {
    const std::string longValue(3000, '7');
    Write("[PERCENTS]\r\npercent1=" + longValue + "\r\n");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"0"), std::wstring(2047, L'7'));
}

TEST_F(SettingsFile, WritingCreatesTheFileAndStoresTheTrimmedValue) {
    WriteSetting(L"PERCENTS", L"percent1", L"0");
    // Line breaks around the value would otherwise end up as lines of their own.
    WriteSetting(L"PERCENTS", L"percent2", L" \t6.12\r\n ");
    ASSERT_TRUE(Exists());
    const std::string text = Content().value_or("");
    EXPECT_NE(text.find("[PERCENTS]"), std::string::npos) << text;
    EXPECT_NE(text.find("percent1=0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("percent2=6.12\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find('\t'), std::string::npos) << text;
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent2", L"0"), L"6.12");

    WriteSetting(L"PERCENTS", L"percent2", L"5.5");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent2", L"0"), L"5.5");
}

TEST_F(SettingsFile, WritingLeavesOtherSectionsAndKeysAlone) {
    Write("; rates of the family\r\n[Window]\r\nLeft=10\r\n[PERCENTS]\r\npercent1=1\r\n"
          "percent30=3\r\n[Zeta]\r\npercent1=keep\r\n");
    WriteSetting(L"PERCENTS", L"percent1", L"2");
    WriteSetting(L"PERCENTS", L"percent2", L"4");
    EXPECT_EQ(ReadSetting(L"Window", L"Left", L""), L"10");
    EXPECT_EQ(ReadSetting(L"Zeta", L"percent1", L""), L"keep");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L""), L"2");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent2", L""), L"4");
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent30", L""), L"3");
    EXPECT_NE(Content().value_or("").find("; rates of the family"), std::string::npos);
}

TEST_F(SettingsFile, AReadOnlyFileMakesTheWriteFail) {
    const std::string before = "[PERCENTS]\r\npercent1=1\r\n";
    Write(before);
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        WriteSetting(L"PERCENTS", L"percent1", L"2");
        ADD_FAILURE() << "a write into a read-only file went through";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(file), std::wstring::npos) << e.what();
    }
    EXPECT_EQ(Content(), before);
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L""), L"1");
}

// Wine run by root writes read-only files; a folder in the file's place is
// refused by the profile service itself on every system.
TEST_F(SettingsFile, AFailedWriteOfTheProfileServiceIsRaised) {
    ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
    EXPECT_THROW(WriteSetting(L"PERCENTS", L"percent1", L"2"), Exception);
    EXPECT_EQ(ReadSetting(L"PERCENTS", L"percent1", L"0"), L"0");
    RemoveDirectoryW(file.c_str());
}

TEST(SettingsText, TrimsBlanksAndControlsAtBothEndsOnly) {
    EXPECT_EQ(TrimSettingText(L""), L"");
    EXPECT_EQ(TrimSettingText(L" \t\r\n\x01 "), L"");
    EXPECT_EQ(TrimSettingText(L"\x1f 5,508 \x0b"), L"5,508");
    EXPECT_EQ(TrimSettingText(L" 6 . 12 "), L"6 . 12");
    EXPECT_EQ(TrimSettingText(L"\x3000"
                              L"6.12"),
              L"\x3000"
              L"6.12"); // a full-width space is text, not a blank
}
