#include "ExportTestSupport.h"
#include "export/XlsWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace xlstest;
using xls::ToUtf16;
using xls::XlsWorkbook;

namespace {

std::u16string U16(const std::wstring& s) {
    return ToUtf16(s);
}

Workbook Written(const XlsWorkbook& wb) {
    return ReadXls(wb.Save());
}

void ExpectCells(const Workbook& read, const Grid& g) {
    std::size_t filled = 0;
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c) {
            if (g[r][c].empty()) continue;
            ++filled;
            const auto it = read.cells.find({static_cast<int>(r), static_cast<int>(c)});
            ASSERT_NE(it, read.cells.end()) << "row " << r << " col " << c;
            EXPECT_EQ(it->second, U16(g[r][c])) << "row " << r << " col " << c;
        }
    EXPECT_EQ(read.cells.size(), filled);
}

} // namespace

TEST(ToUtf16, ConvertsWhateverTheWidthOfWchar) {
    EXPECT_EQ(ToUtf16(L"还款时间 8606.64"), u"还款时间 8606.64");
    EXPECT_EQ(ToUtf16(L"\u00e9\u00ff\u0100"), u"\u00e9\u00ff\u0100");
    EXPECT_EQ(ToUtf16(L"\U0001F600"), u"\U0001F600"); // a pair either way
    EXPECT_EQ(ToUtf16(L""), u"");
    if constexpr (sizeof(wchar_t) == 4) {
        std::wstring bad = {static_cast<wchar_t>(0x110000), static_cast<wchar_t>(0xD800), L'a'};
        EXPECT_EQ(ToUtf16(bad), u"\uFFFD\uFFFDa");
    }
}

TEST(XlsWorkbook, RejectsSheetNamesAndCellsExcelRefuses) {
    for (const wchar_t* bad : {L"", L"a:b", L"a/b", L"a\\b", L"a?", L"a*", L"[a", L"a]", L"'a'",
                               L"0123456789012345678901234567890X"})
        EXPECT_THROW(XlsWorkbook{bad}, std::invalid_argument) << bad;
    EXPECT_NO_THROW(XlsWorkbook{L"等额本息贷款分期还款表"});
    EXPECT_NO_THROW(XlsWorkbook{L"0123456789012345678901234567890"});

    XlsWorkbook wb;
    EXPECT_THROW(wb.SetCell(-1, 0, L"x"), std::out_of_range);
    EXPECT_THROW(wb.SetCell(0, -1, L"x"), std::out_of_range);
    EXPECT_THROW(wb.SetCell(65536, 0, L"x"), std::out_of_range);
    EXPECT_THROW(wb.SetCell(0, 256, L"x"), std::out_of_range);
    wb.SetCell(65535, 255, L"corner");
    EXPECT_EQ(Written(wb).cells.at({65535, 255}), u"corner");
}

TEST(XlsWorkbook, ScheduleSheetReadsBackCellByCell) {
    const Grid g = ScheduleGrid(240);
    XlsWorkbook wb;
    Fill(wb, g);
    const Workbook read = Written(wb);
    ExpectCells(read, g);
    EXPECT_EQ(read.sheetName, u"Sheet1");
    EXPECT_EQ(read.rowMac, 241);
    EXPECT_EQ(read.colMac, 6);
    EXPECT_EQ(read.rowRecords, 241);
    // Thousands of short texts: the table must have gone on in CONTINUEs.
    EXPECT_GE(read.sstRecordSizes.size(), 2u);
    EXPECT_EQ(read.sstRecordSizes[0], 8224u);
}

TEST(XlsWorkbook, EqualTextsShareOneStringAndEmptyTextsClearCells) {
    XlsWorkbook wb;
    wb.SetCell(0, 0, L"8606.64");
    wb.SetCell(5, 3, L"8606.64");
    wb.SetCell(1, 1, L"gone");
    wb.SetCell(1, 1, L"");
    wb.SetCell(2, 2, L"");
    wb.SetCell(0, 0, L"8606.65"); // overwritten texts leave no stale string
    const Workbook read = Written(wb);
    EXPECT_EQ(read.cells.size(), 2u);
    EXPECT_EQ(read.strings, (std::vector<std::u16string>{u"8606.65", u"8606.64"}));
    EXPECT_EQ(read.rowMac, 6);
    EXPECT_EQ(read.colMac, 4);
    EXPECT_EQ(wb.CellCount(), 2u);
}

TEST(XlsWorkbook, EmptyWorkbookIsStillAWholeFile) {
    XlsWorkbook wb;
    const auto file = wb.Save();
    // Header, the padded 4096-byte stream, directory and FAT.
    EXPECT_EQ(file.size(), 512u * (1 + 8 + 1 + 1));
    const Workbook read = ReadXls(file);
    EXPECT_TRUE(read.cells.empty());
    EXPECT_TRUE(read.strings.empty());
    EXPECT_EQ(read.rowMac, 0);
    EXPECT_EQ(read.colMac, 0);
}

TEST(XlsWorkbook, LatinTextIsStoredOneBytePerCharacterAndChineseInUtf16) {
    XlsWorkbook latin, chinese;
    latin.SetCell(0, 0, L"2008-01 \u00e9\u00ff");
    chinese.SetCell(0, 0, L"2008年01月");
    // SST: 8 bytes of counts, then cch, flags and the characters.
    EXPECT_EQ(Written(latin).sstRecordSizes[0], 8u + 3 + 10);
    EXPECT_EQ(Written(chinese).sstRecordSizes[0], 8u + 3 + 2 * 8);
}

TEST(XlsWorkbook, OverlongTextIsCutAtExcelsLimitWithoutSplittingAPair) {
    XlsWorkbook wb;
    wb.SetCell(0, 0, std::wstring(40000, L'x'));
    std::wstring pairs = std::wstring(32766, L'y') + L"\U0001F600";
    wb.SetCell(1, 0, pairs);
    const Workbook read = Written(wb);
    EXPECT_EQ(read.cells.at({0, 0}), std::u16string(32767, u'x'));
    EXPECT_EQ(read.cells.at({1, 0}), std::u16string(32766, u'y'));
}

// A filler string leaves `room` bytes in the SST record (8 bytes of counts,
// 3 of header, then one byte per character), then the probe follows.
struct EdgeCase {
    const char* name;
    std::size_t room;
    std::wstring probe;
    std::vector<std::size_t> recordSizes; // SST and CONTINUEs
};

void PrintTo(const EdgeCase& e, std::ostream* os) {
    *os << e.name;
}

class SstEdge : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(SstEdge, StringsMeetingTheRecordLimitSplitByTheRules) {
    const EdgeCase& e = GetParam();
    XlsWorkbook wb;
    const std::wstring filler(8224 - 8 - 3 - e.room, L'f');
    wb.SetCell(0, 0, filler);
    wb.SetCell(0, 1, e.probe);
    wb.SetCell(0, 2, L"after");
    const Workbook read = Written(wb);
    EXPECT_EQ(read.sstRecordSizes, e.recordSizes);
    EXPECT_EQ(read.cells.at({0, 0}), U16(filler));
    EXPECT_EQ(read.cells.at({0, 1}), U16(e.probe));
    EXPECT_EQ(read.cells.at({0, 2}), u"after");
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SstEdge,
                         ::testing::Values(
                             // Filler ends the record exactly: the probe opens the CONTINUE with
                             // its own header and no extra flags byte.
                             EdgeCase{"FullRecord", 0, L"ab", {8224, 5 + 8}},
                             // Header fits but no character: the whole string moves.
                             EdgeCase{"HeaderOnlyLatin", 3, L"ab", {8221, 5 + 8}},
                             EdgeCase{"HeaderAndHalfUnit", 4, L"还款", {8220, 7 + 8}},
                             // Header and one character fit: split, the rest behind a flags byte.
                             EdgeCase{"OneLatinCharFits", 4, L"abc", {8224, 1 + 2 + 8}},
                             EdgeCase{"OneUtf16UnitFits", 5, L"还款时间", {8224, 1 + 6 + 8}},
                             // Odd room: UTF-16 splits on whole units and leaves the byte unused.
                             EdgeCase{"OddRoomUtf16", 6, L"还款时间", {8223, 1 + 6 + 8}},
                             // The probe fills the record to the byte.
                             EdgeCase{"ProbeEndsTheRecord", 7, L"还款", {8224, 8}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XlsWorkbook, StringsLongerThanARecordSpanSeveralContinues) {
    XlsWorkbook wb;
    const std::wstring chinese(5000, L'还'); // 10,000 bytes
    const std::wstring latin(20000, L'8');   // 20,000 bytes
    wb.SetCell(0, 0, chinese);
    wb.SetCell(0, 1, latin);
    const Workbook read = Written(wb);
    EXPECT_EQ(read.cells.at({0, 0}), U16(chinese));
    EXPECT_EQ(read.cells.at({0, 1}), U16(latin));
    // 8 + 3 + 8212 in the SST, then 1 + 1788 of Chinese and 3 + 6432 Latin,
    // then 1 + 8223 and 1 + 5345.
    EXPECT_EQ(read.sstRecordSizes, (std::vector<std::size_t>{8223, 8224, 8224, 5346}));
}

TEST(XlsWorkbook, TwoThousandRowsKeepEveryCell) {
    const Grid g = ScheduleGrid(1999);
    XlsWorkbook wb;
    Fill(wb, g);
    const auto file = wb.Save();
    const Workbook read = ReadXls(file);
    ExpectCells(read, g);
    EXPECT_EQ(read.rowMac, 2000);
    // Needs a second FAT sector but is far from needing DIFAT sectors.
    const CompoundInfo info = ReadCompoundFile(file, u"Workbook");
    EXPECT_GE(info.fatSectors, 2u);
    EXPECT_EQ(info.difatSectors, 0u);
}
