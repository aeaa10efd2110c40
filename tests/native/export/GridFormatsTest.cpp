// A schedule grid exported in each of the three formats and read back by
// the programs users compute with: xlrd, openpyxl and Python's csv module.
#include "ExportTestSupport.h"
#include "export/BuiltInWorkbookWriter.h"
#include "export/GridCells.h"
#include "export/XlsxWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <sstream>

using namespace xlstest;
using exporter::FileFormat;

namespace {

struct GridOf final : exporter::GridSource {
    GridOf(const Grid& g, wchar_t sep) : g(g), sep(sep) {}
    int ColCount() const override { return 6; }
    int RowCount() const override { return static_cast<int>(g.size()); }
    std::wstring Cell(int c, int r) const override { return g[r].at(c); }
    wchar_t DecimalSeparator() const override { return sep; }
    const Grid& g;
    wchar_t sep;
};

struct Format {
    FileFormat format;
    const char* file;
};
const Format kFormats[] = {
    {FileFormat::Xls, "out.xls"}, {FileFormat::Xlsx, "out.xlsx"}, {FileFormat::Csv, "out.csv"}};

void Export(const Grid& g, wchar_t sep, FileFormat format, const std::wstring& title,
            const std::filesystem::path& file) {
    exporter::BuiltInWorkbookWriter writer(format, title);
    writer.Connect();
    exporter::WriteGridCells(GridOf(g, sep), writer.AddWorkbook());
    writer.SaveCopyAs(file.wstring());
    writer.CloseWithoutSaving();
}

// What sheet_dump.py must print: amounts as numbers (parsed here by strtod,
// not by the code under test), the header, the dates and everything else as
// text.
std::string Expected(const Grid& g, wchar_t sep, const std::string& sheet) {
    std::string cells;
    std::size_t rows = 0, cols = 0;
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c) {
            const std::wstring& text = g[r][c];
            if (text.empty()) continue;
            rows = r + 1;
            cols = std::max(cols, c + 1);
            std::string ascii;
            bool numeric = r > 0 && c > 0;
            for (wchar_t ch : text) {
                numeric = numeric && (std::iswdigit(ch) || ch == sep || ch == L'-');
                ascii += ch == sep ? '.' : static_cast<char>(ch);
            }
            // Digits at both ends: ".5" and "1." are no amounts of the grid.
            numeric = numeric && std::iswdigit(text.back()) &&
                      std::iswdigit(text[text[0] == L'-' && text.size() > 1 ? 1 : 0]);
            char* end = nullptr;
            const double v = numeric ? std::strtod(ascii.c_str(), &end) : 0;
            char line[96];
            if (numeric && *end == 0 && std::isfinite(v)) {
                std::snprintf(line, sizeof line, "%zu\t%zu\tn\t%.17g\n", r, c, v);
                cells += line;
            } else {
                cells +=
                    std::to_string(r) + "\t" + std::to_string(c) + "\ts\t" + Escaped(text) + "\n";
            }
        }
    return sheet + "\t" + std::to_string(rows) + " " + std::to_string(cols) + "\n" + cells;
}

// Compares line by line, so that a failure names the first cell that differs.
void ExpectSameLines(const std::string& got, const std::string& expected) {
    std::istringstream a(got), b(expected);
    std::string la, lb;
    int line = 0;
    while (std::getline(b, lb)) {
        ++line;
        if (!std::getline(a, la) || la != lb) {
            EXPECT_EQ(la, lb) << "line " << line;
            return;
        }
    }
    EXPECT_FALSE(std::getline(a, la)) << "more lines than expected: " << la;
}

std::string Dump(const std::filesystem::path& file, int& status) {
    const auto script = std::filesystem::path(EXPORT_TEST_DIR) / "sheet_dump.py";
    return Capture("/usr/bin/python3 " + Quoted(script) + " " + Quoted(file) + " 2>&1", status);
}

// The schedule of 360 months with the odd cells a grid can hold.
Grid Schedule361(wchar_t sep) {
    Grid g = ScheduleGrid(360);
    for (auto& row : g)
        for (auto& cell : row)
            for (wchar_t& ch : cell)
                if (ch == L'.') ch = sep;
    g[5][2] = L"INF"; // an absurd loan, formatted by the grid as it is
    g[6][3] = L"NAN";
    g[7][4] = L"-1234" + std::wstring(1, sep) + L"5";
    g[8][1] = L"1 234";
    g[9][2] = L"2e5";
    g[10][3] = L"- 5";
    g[11][4] = std::wstring(1, sep) + L"5";
    g[12][1] = std::wstring(400, L'9'); // past the range of double
    g[13][2] = L"say \"a, b\"\r\nthen & <c> ";
    g[14][0] = L"2009年03月, \"x\"";
    g[15][5] = L"0";
    return g;
}

class GridFormats : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "the readers run under Linux's python only";
#endif
    }
    ScratchDir dir;
};

} // namespace

TEST(GridNumber, OnlyTheGridsOwnNumbersAreNumbers) {
    struct Case {
        const wchar_t* text;
        wchar_t sep;
        double value; // NAN: text
    };
    const Case cases[] = {
        {L"8606.64", L'.', 8606.64},
        {L"8270", L'.', 8270},
        {L"-0.5", L'.', -0.5},
        {L"0", L'.', 0},
        {L"8606,64", L',', 8606.64},
        {L"8606.64", L',', NAN},
        {L"8606,64", L'.', NAN},
        {L"INF", L'.', NAN},
        {L"NAN", L'.', NAN},
        {L"-INF", L'.', NAN},
        {L"", L'.', NAN},
        {L"-", L'.', NAN},
        {L"1.", L'.', NAN},
        {L".5", L'.', NAN},
        {L"1.2.3", L'.', NAN},
        {L"1e5", L'.', NAN},
        {L" 1", L'.', NAN},
        {L"1 ", L'.', NAN},
        {L"+1", L'.', NAN},
        {L"--1", L'.', NAN},
        {L"1-", L'.', NAN},
        {L"1,000.5", L'.', NAN},
        {L"0x10", L'.', NAN},
        {L"１２", L'.', NAN},
        {L"1e400", L'.', NAN},
        {L"007", L'.', 7},
    };
    for (const Case& c : cases) {
        const auto got = exporter::GridNumber(c.text, c.sep);
        if (std::isnan(c.value))
            EXPECT_FALSE(got) << Escaped(c.text);
        else
            EXPECT_EQ(got, c.value) << Escaped(c.text);
    }
    EXPECT_FALSE(exporter::GridNumber(std::wstring(400, L'9'), L'.'));
}

TEST(GridNames, TitlesBecomeSheetAndFileNamesAndExtensionsPickTheFormat) {
    using exporter::SheetNameFromTitle;
    EXPECT_EQ(SheetNameFromTitle(L"等额本息贷款分期还款表"), L"等额本息贷款分期还款表");
    EXPECT_EQ(SheetNameFromTitle(L"a:b\\c/d?e*f[g]h"), L"a_b_c_d_e_f_g_h");
    EXPECT_EQ(SheetNameFromTitle(L"'quoted'"), L"quoted");
    EXPECT_EQ(SheetNameFromTitle(L"''"), L"Sheet1");
    EXPECT_EQ(SheetNameFromTitle(L""), L"Sheet1");
    EXPECT_EQ(SheetNameFromTitle(L"tab\there"), L"tab_here");
    EXPECT_EQ(SheetNameFromTitle(L"History"), L"History_");
    EXPECT_EQ(SheetNameFromTitle(std::wstring(40, L'表')), std::wstring(31, L'表'));
    // 30 units and a character of two: the pair is not cut.
    EXPECT_EQ(SheetNameFromTitle(std::wstring(30, L'x') + L"\U0001F600"), std::wstring(30, L'x'));
    EXPECT_EQ(exporter::FileNameFromTitle(L"a<b>c:d\"e/f\\g|h?i*j. ."), L"a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(exporter::FileNameFromTitle(L"等额本金贷款分期还款表"), L"等额本金贷款分期还款表");

    using exporter::FormatOfFile;
    EXPECT_EQ(FormatOfFile(L"C:\\a\\表.xlsx"), FileFormat::Xlsx);
    EXPECT_EQ(FormatOfFile(L"C:\\a\\表.XLSX"), FileFormat::Xlsx);
    EXPECT_EQ(FormatOfFile(L"C:\\a\\表.Csv"), FileFormat::Csv);
    EXPECT_EQ(FormatOfFile(L"C:\\a\\表.xls"), FileFormat::Xls);
    EXPECT_EQ(FormatOfFile(L"C:\\a.csv\\表"), FileFormat::Xls);
    EXPECT_EQ(FormatOfFile(L"表.txt"), FileFormat::Xls);
    EXPECT_EQ(xlsx::CellName(0, 0), "A1");
    EXPECT_EQ(xlsx::CellName(360, 5), "F361");
    EXPECT_EQ(xlsx::CellName(0, 26), "AA1");
    EXPECT_EQ(xlsx::CellName(9, 16383), "XFD10");
}

TEST_F(GridFormats, A361RowScheduleReadsBackCellByCellInEveryFormat) {
    for (const wchar_t sep : {L'.', L','}) {
        const Grid g = Schedule361(sep);
        for (const Format& f : kFormats) {
            SCOPED_TRACE(std::string(f.file) + " separator " + static_cast<char>(sep));
            Export(g, sep, f.format, L"等额本息贷款分期还款表", dir / f.file);
            int status = 0;
            const std::string dump = Dump(dir / f.file, status);
            ASSERT_EQ(status, 0) << dump;
            const std::string sheet = f.format == FileFormat::Xls ? "Sheet1"
                                      : f.format == FileFormat::Xlsx ? "等额本息贷款分期还款表"
                                                                     : "";
            ExpectSameLines(dump, Expected(g, sep, sheet));
        }
    }
}

TEST_F(GridFormats, ATitleNoSheetCanHoldStillGivesAValidWorkbook) {
    const Grid g = ScheduleGrid(12);
    for (const wchar_t* title : {L"'[贷款]: a/b\\c?*'", L"", L"''''",
                                 L"一个很长很长很长很长很长很长很长很长很长很长很长的标题"}) {
        Export(g, L'.', FileFormat::Xlsx, title, dir / "t.xlsx");
        int status = 0;
        const std::string dump = Dump(dir / "t.xlsx", status);
        ASSERT_EQ(status, 0) << dump;
        const std::string expectedName = Utf8(xls::ToUtf16(exporter::SheetNameFromTitle(title)));
        ExpectSameLines(dump, Expected(g, L'.', expectedName));
    }
}

TEST_F(GridFormats, AnEmptyGridAndAGridOfHeadersOnly) {
    Grid g(13, std::vector<std::wstring>(6));
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.file);
        Export(g, L'.', f.format, L"t", dir / f.file);
        int status = 0;
        const std::string dump = Dump(dir / f.file, status);
        ASSERT_EQ(status, 0) << dump;
        EXPECT_EQ(dump.substr(dump.find('\t')),
                  f.format == FileFormat::Xlsx ? "\t1 1\n" : "\t0 0\n");
    }
    g[0] = kHeader;
    Export(g, L'.', FileFormat::Csv, L"t", dir / "h.csv");
    const Bytes csv = ReadFile(dir / "h.csv");
    const std::string header = "\xEF\xBB\xBF还款时间,月利息还款额（元）,月本金还款额（元）,"
                               "月还款额（元）,剩余本金（元）,提前还贷（元）\r\n";
    EXPECT_EQ(std::string(csv.begin(), csv.end()), header);
}

// Not a timed test: prints what the 导出 of a 30-year table costs in each
// format (the budget is 100 ms).
TEST(GridFormatsTiming, Report361RowExportTimes) {
    const Grid g = ScheduleGrid(360);
    ScratchDir dir;
    constexpr int kRuns = 20;
    using Clock = std::chrono::steady_clock;
    for (const Format& f : kFormats) {
        const auto start = Clock::now();
        for (int i = 0; i < kRuns; ++i)
            Export(g, L'.', f.format, L"等额本息贷款分期还款表", dir / f.file);
        const std::chrono::duration<double, std::milli> each = (Clock::now() - start) / kRuns;
        std::printf("361 x 6 export to %s: %.3f ms, %ju bytes\n", f.file, each.count(),
                    static_cast<std::uintmax_t>(std::filesystem::file_size(dir / f.file)));
        EXPECT_GT(std::filesystem::file_size(dir / f.file), 0u);
    }
}
