// Another program's reading of our files: xlrd (and LibreOffice where it is
// installed) must see exactly the cells we wrote.
#include "ExportTestSupport.h"
#include "export/XlsWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace xlstest;
using xls::XlsWorkbook;

namespace {

void ExpectXlrdSees(const Grid& g, const std::wstring& sheetName = L"Sheet1") {
    XlsWorkbook wb(sheetName);
    Fill(wb, g);
    ScratchDir dir;
    const auto file = dir / "out.xls";
    wb.SaveToFile(file);
    int status = 0;
    const std::string dump = XlrdDump("cells " + Quoted(file), status);
    ASSERT_EQ(status, 0) << "xlrd rejected the file";
    EXPECT_EQ(dump, ExpectedDump(g, sheetName));
}

} // namespace

class XlrdReadBack : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "xlrd runs under Linux's python only";
#endif
    }
};

TEST_F(XlrdReadBack, ScheduleSheetOf241RowsWithLongTexts) {
    Grid g = ScheduleGrid(240);
    // Long notes in some rows push many strings across CONTINUE boundaries.
    for (std::size_t r = 3; r < g.size(); r += 17)
        g[r][5] = std::wstring(300 + r, L'注') + L" note " + std::to_wstring(r);
    g[7][3] = L"";
    g[240][0] = L"";
    ExpectXlrdSees(g);
}

TEST_F(XlrdReadBack, TwoThousandRows) {
    ExpectXlrdSees(ScheduleGrid(1999));
}

TEST_F(XlrdReadBack, TextsAtAndAcrossTheRecordLimit) {
    // Fillers leave 0 to 7 bytes in a record before each probe.
    for (std::size_t room = 0; room < 8; ++room) {
        SCOPED_TRACE(room);
        ExpectXlrdSees({{std::wstring(8224 - 11 - room, L'f'), L"还款时间", L"abc", L"尾"}});
    }
    ExpectXlrdSees({{std::wstring(5000, L'还'), std::wstring(20000, L'8'), L"x"}});
}

TEST_F(XlrdReadBack, EmptyAsciiOnlyChineseOnlyAndSpecialTexts) {
    ExpectXlrdSees({});
    ExpectXlrdSees({{L"8606.64", L"2008-01", L"tab\there", L"line\nbreak \\ end"}});
    ExpectXlrdSees({{L"还款时间", L"月利息还款额（元）"}, {L"", L"剩余本金（元）"}});
    ExpectXlrdSees({{L"caf\u00e9 \u00ff", L"\U0001F600 emoji", L"mixed 中文 text"}},
                   L"等额本息贷款分期还款表");
}

TEST_F(XlrdReadBack, LibreOfficeConvertsTheSheetToTheSameCsv) {
    if (std::system("which soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    const Grid g = ScheduleGrid(240);
    XlsWorkbook wb;
    Fill(wb, g);
    ScratchDir dir;
    wb.SaveToFile(dir / "sheet.xls");
    int status = 0;
    Capture("cd " + Quoted(dir.Path()) +
                " && soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1'"
                " sheet.xls >/dev/null 2>&1",
            status);
    ASSERT_EQ(status, 0);
    const Bytes csv = ReadFile(dir / "sheet.csv");
    // Every cell is text, and LibreOffice quotes text cells; empty cells stay bare.
    std::string expected;
    for (const auto& row : g) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) expected += ',';
            if (!row[c].empty()) expected += '"' + Utf8(xls::ToUtf16(row[c])) + '"';
        }
        expected += "\n";
    }
    EXPECT_EQ(std::string(csv.begin(), csv.end()), expected);
}
