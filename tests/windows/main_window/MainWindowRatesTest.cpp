// The 浮动年利率 tab as a person uses it: rates loaded from percents.ini when
// the window opens, typed, set all at once with 设定 and saved with 存档.
// Every test leaves no settings file behind, so the others start without one.

#include "../support/MainWindow.h"

#include "app/UPublicFunction.h"

#include <fstream>
#include <iterator>

using namespace main_window_test;

namespace {

using Texts = std::vector<std::wstring>;

// Removes percents.ini (also a read-only one) before and after the test.
class SettingsFile {
  public:
    SettingsFile() { Remove(); }
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;
    ~SettingsFile() { Remove(); }

    const std::wstring path = GetSettingsFileName();

    void Write(const std::string& content) const {
        std::ofstream(path.c_str(), std::ios::binary) << content;
    }
    std::string Bytes() const {
        std::ifstream in(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists() const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // The names of a NUL-separated list the profile service returns.
    static Texts Split(const std::vector<wchar_t>& buffer, DWORD length) {
        Texts out;
        std::wstring item;
        for (DWORD i = 0; i < length; ++i) {
            if (buffer[i] == L'\0') {
                out.push_back(item);
                item.clear();
            } else {
                item += buffer[i];
            }
        }
        return out;
    }
    Texts Sections() const {
        std::vector<wchar_t> buffer(8192);
        return Split(buffer, GetPrivateProfileSectionNamesW(buffer.data(), DWORD(buffer.size()),
                                                            path.c_str()));
    }
    // "key=value" lines of a section, in file order.
    Texts Section(const wchar_t* name) const {
        std::vector<wchar_t> buffer(32768);
        return Split(buffer, GetPrivateProfileSectionW(name, buffer.data(), DWORD(buffer.size()),
                                                       path.c_str()));
    }

  private:
    void Remove() const {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
};

Texts RateTexts(TForm1* f) {
    Texts out;
    for (TsuiNumberEdit* edit : f->suiNEper)
        out.push_back(edit->Text());
    return out;
}

// All thirty keys with the same value, as 存档 writes them.
Texts AllKeys(const std::wstring& value) {
    Texts out;
    for (int k = 1; k <= 30; ++k)
        out.push_back(L"percent" + std::to_wstring(k) + L"=" + value);
    return out;
}

void Save(TForm1* f) {
    ClickTool(f->TBbcnll);
}

} // namespace

TEST(MainWindowRates, WithoutAFileAllZeroThenSetAllAtOnceAndSave) {
    SettingsFile file;
    MainWindow w;
    Messages messages(w.get());
    EXPECT_EQ(RateTexts(w.get()), Texts(30, L"0.000"));
    EXPECT_EQ(w->Rates(), std::vector<double>(30, 0.0));

    ClickTab(w->suiPageControl1, 2);
    Save(w.get());
    EXPECT_EQ(messages.Take(), L"保存贷款年利率成功！");
    ASSERT_TRUE(file.Exists());
    EXPECT_EQ(file.Sections(), Texts{L"PERCENTS"});
    EXPECT_EQ(file.Section(L"PERCENTS"), AllKeys(L"0"));

    // A unified value alone changes nothing; 设定 copies it into every year.
    TypeInto(w->suiNEperone, L"6.12");
    EXPECT_EQ(RateTexts(w.get()), Texts(30, L"0.000"));
    EXPECT_EQ(w->Rates(), std::vector<double>(30, 0.0));
    Click(w->suiButton1);
    EXPECT_EQ(RateTexts(w.get()), Texts(30, L"6.120"));
    for (size_t i = 0; i < 30; ++i)
        EXPECT_DOUBLE_EQ(w->Rates()[i], 6.12) << i;

    Save(w.get());
    EXPECT_EQ(messages.Take(), L"保存贷款年利率成功！");
    EXPECT_EQ(file.Sections(), Texts{L"PERCENTS"});
    EXPECT_EQ(file.Section(L"PERCENTS"), AllKeys(L"6.12"));
}

TEST(MainWindowRates, FileValuesLoadRoundedTypingFollowsKeystrokesAndOtherContentSurvives) {
    SettingsFile file;
    std::string content = "[OTHER]\r\nname=kept\r\n[PERCENTS]\r\nnote=kept too\r\n"
                          "percent1=5.5086\r\npercent2=  6.12  \r\npercent3=abc\r\n"
                          "percent5=0.0004\r\n";
    // percent4 is missing; the rest hold 4.9.
    for (int k = 6; k <= 30; ++k)
        content += "percent" + std::to_string(k) + "=4.9\r\n";
    file.Write(content);

    MainWindow w;
    Messages messages(w.get());
    EXPECT_EQ(w->suiNEper[0]->Text(), L"5.509");
    EXPECT_DOUBLE_EQ(w->Rates()[0], 5.509);
    EXPECT_EQ(w->suiNEper[1]->Text(), L"6.120");
    EXPECT_DOUBLE_EQ(w->Rates()[1], 6.12);
    EXPECT_EQ(w->suiNEper[2]->Text(), L"0.000");
    EXPECT_EQ(w->Rates()[2], 0.0);
    EXPECT_EQ(w->suiNEper[3]->Text(), L"0.000");
    EXPECT_EQ(w->Rates()[3], 0.0);
    // Rounded to 0.000 the edit's text stays as it was, so only the loading
    // itself rounds this one.
    EXPECT_EQ(w->suiNEper[4]->Text(), L"0.000");
    EXPECT_EQ(w->Rates()[4], 0.0);
    for (size_t i = 5; i < 30; ++i) {
        EXPECT_EQ(w->suiNEper[i]->Text(), L"4.900") << i;
        EXPECT_DOUBLE_EQ(w->Rates()[i], 4.9) << i;
    }

    // 第1年 takes each keystroke into the table at once.
    ClickTab(w->suiPageControl1, 2);
    TsuiNumberEdit* year1 = w->suiNEper[0];
    year1->SetFocus();
    Pump();
    SendMessageW(year1->Handle(), EM_SETSEL, 0, -1);
    const std::pair<wchar_t, double> keystrokes[] = {
        {L'6', 6}, {L'.', 6}, {L'1', 6.1}, {L'2', 6.12}};
    for (const auto& [key, stored] : keystrokes) {
        SendMessageW(year1->Handle(), WM_CHAR, key, 1);
        Pump();
        EXPECT_DOUBLE_EQ(w->Rates()[0], stored) << char(key);
    }
    EXPECT_EQ(year1->Text(), L"6.12");
    EXPECT_DOUBLE_EQ(w->Rates()[1], 6.12) << "only year 1 changes";

    Save(w.get());
    EXPECT_EQ(messages.Take(), L"保存贷款年利率成功！");
    EXPECT_EQ(file.Sections(), (Texts{L"OTHER", L"PERCENTS"}));
    EXPECT_EQ(file.Section(L"OTHER"), Texts{L"name=kept"});
    Texts expected = {L"note=kept too", L"percent1=6.12", L"percent2=6.12", L"percent3=0",
                      L"percent5=0"};
    for (int k = 6; k <= 30; ++k)
        expected.push_back(L"percent" + std::to_wstring(k) + L"=4.9");
    expected.push_back(L"percent4=0"); // a new key goes to the end of its section
    EXPECT_EQ(file.Section(L"PERCENTS"), expected);
}

TEST(MainWindowRates, AReadOnlyFileIsLeftAsItWasAndSavingSaysSo) {
    SettingsFile file;
    const std::string content = "[PERCENTS]\r\npercent1=3\r\n";
    file.Write(content);
    ASSERT_TRUE(SetFileAttributesW(file.path.c_str(), FILE_ATTRIBUTE_READONLY));

    MainWindow w;
    Messages messages(w.get());
    ClickTab(w->suiPageControl1, 2);
    TypeInto(w->suiNEper[1], L"7");
    w->suiNEperone->SetFocus(); // leaving the edit shows 7.000, before the message does
    Pump();
    EXPECT_EQ(w->suiNEper[1]->Text(), L"7.000");
    const std::vector<double> rates = w->Rates();
    const Texts texts = RateTexts(w.get());
    EXPECT_DOUBLE_EQ(rates[0], 3);
    EXPECT_DOUBLE_EQ(rates[1], 7);

    Save(w.get());
    EXPECT_EQ(messages.Take(), L"保存贷款年利率失败！");
    EXPECT_EQ(file.Bytes(), content);
    EXPECT_EQ(w->Rates(), rates);
    EXPECT_EQ(RateTexts(w.get()), texts);
}

TEST(MainWindowRates, SavedRatesDriveAFloatingCalculationAfterReopening) {
    SettingsFile file;
    {
        MainWindow w;
        Messages messages(w.get());
        ClickTab(w->suiPageControl1, 2);
        TypeInto(w->suiNEper[0], L"6");
        TypeInto(w->suiNEper[1], L"5");
        TypeInto(w->suiNEper[2], L"4");
        Save(w.get());
        EXPECT_EQ(messages.Take(), L"保存贷款年利率成功！");
    }

    MainWindow w;
    Messages messages(w.get());
    EXPECT_EQ(RateTexts(w.get())[0], L"6.000");
    EXPECT_EQ(RateTexts(w.get())[1], L"5.000");
    EXPECT_EQ(RateTexts(w.get())[2], L"4.000");
    EXPECT_EQ(RateTexts(w.get())[3], L"0.000");

    TypeInto(w->suiNEdkze, L"100000");
    TypeInto(w->suiNEajqs, L"24");
    PickText(w->suiCBfirstyear, L"2008");
    PickText(w->suiCBfirstmonth, L"07");
    Click(w->suiRBfd);
    ASSERT_TRUE(w->suiRBfd->Checked());
    ClickTool(w->TBjs);
    EXPECT_EQ(messages.Take(), L"");
    TStringGrid* grid = w->suiSG1;
    ASSERT_EQ(grid->RowCount(), 25);
    // Year 1 (six months) at 6 %, year 2 at 5 %, year 3 at 4 %.
    EXPECT_EQ(grid->Cells(3, 6), L"4432.06");
    EXPECT_EQ(grid->Cells(3, 7), L"4397.72");
    EXPECT_EQ(grid->Cells(1, 7), L"317.13");
    EXPECT_EQ(grid->Cells(3, 19), L"4385");
    EXPECT_EQ(grid->Cells(1, 19), L"86.69");
}
