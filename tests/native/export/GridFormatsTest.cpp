// A schedule grid exported in each of the three formats and read back by
// the programs users compute with: xlrd, openpyxl and Python's csv module.
#include "ExportTestSupport.h"
#include "export/BuiltInWorkbookWriter.h"
#include "export/XlsxWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <sstream>

using namespace xlstest;
using exporter::FileFormat;

TEST(GridNumber, OnlyTheGridsOwnAmountsAreNumbers) {
    const std::pair<const wchar_t*, double> dot[] = {
        {L"8606.64", 8606.64}, {L"8270", 8270}, {L"-0.5", -0.5}, {L"0", 0}, {L"007", 7}};
    for (const auto& [text, value] : dot)
        EXPECT_EQ(exporter::GridNumber(text, L'.'), value) << Escaped(text);
    EXPECT_EQ(exporter::GridNumber(L"8606,64", L','), 8606.64);
    for (const wchar_t* text :
         {L"INF", L"NAN", L"-INF", L"", L"-", L"1.", L".5", L"1.2.3", L"1e5", L" 1", L"1 ", L"+1",
          L"--1", L"1-", L"1,000.5", L"0x10", L"１２", L"1e400", L"8606,64"})
        EXPECT_FALSE(exporter::GridNumber(text, L'.')) << Escaped(text);
    EXPECT_FALSE(exporter::GridNumber(L"8606.64", L','));
    EXPECT_FALSE(exporter::GridNumber(std::wstring(400, L'9'), L'.'));
}

TEST(GridNames, TitlesBecomeSheetAndFileNamesAndExtensionsPickTheFormat) {
    // clang-format off
    const std::pair<std::wstring, std::wstring> sheets[] = {
        {L"等额本息贷款分期还款表", L"等额本息贷款分期还款表"}, {L"a:b\\c/d?e*f[g]h", L"a_b_c_d_e_f_g_h"},
        {L"'quoted'", L"quoted"}, {L"''", L"Sheet1"}, {L"", L"Sheet1"}, {L"tab\there", L"tab_here"},
        {L"History", L"History_"}, {std::wstring(40, L'表'), std::wstring(31, L'表')},
        {std::wstring(30, L'x') + L"\U0001F600", std::wstring(30, L'x')}}; // no half pair
    // clang-format on
    for (const auto& [title, name] : sheets)
        EXPECT_EQ(exporter::SheetNameFromTitle(title), name) << Escaped(title);
    const std::pair<const wchar_t*, FileFormat> files[] = {
        {L"C:\\a\\表.xlsx", FileFormat::Xlsx}, {L"C:\\a\\表.XLSX", FileFormat::Xlsx},
        {L"C:\\a\\表.Csv", FileFormat::Csv},   {L"C:\\a\\表.xls", FileFormat::Xls},
        {L"C:\\a.csv\\表", FileFormat::Xls},   {L"表.txt", FileFormat::Xls}};
    for (const auto& [file, format] : files)
        EXPECT_EQ(exporter::FormatOfFile(file), format) << Escaped(file);
    EXPECT_EQ(xlsx::CellName(0, 26) + xlsx::CellName(9, 16383), "AA1XFD10");
}

#ifndef _WIN32 // the readers run under Linux's python only
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

const std::pair<FileFormat, const char*> kFormats[] = {
    {FileFormat::Xls, "out.xls"}, {FileFormat::Xlsx, "out.xlsx"}, {FileFormat::Csv, "out.csv"}};

void Export(const Grid& g, wchar_t sep, FileFormat format, const std::wstring& title,
            const std::filesystem::path& file) {
    exporter::BuiltInWorkbookWriter writer(format, title);
    writer.Connect();
    exporter::WriteGridCells(GridOf(g, sep), writer.AddWorkbook());
    writer.SaveCopyAs(file.wstring());
}

// What sheet_dump.py reads in the file.
std::string Dump(const std::filesystem::path& file) {
    const auto script = std::filesystem::path(EXPORT_TEST_DIR) / "sheet_dump.py";
    int status = 0;
    std::string dump = Capture("/usr/bin/python3 " + Quoted(script) + " " + Quoted(file), status);
    EXPECT_EQ(status, 0) << "the reader rejected " << file;
    return dump;
}

// What the reader must see: amounts (parsed here by wcstod) as numbers; the
// header, the dates and the texts listed as text.
std::string
Expected(const Grid& g, wchar_t sep, const std::string& sheet,
         const std::map<std::pair<std::size_t, std::size_t>, std::wstring>& texts = {}) {
    std::string cells;
    std::size_t rows = 0, cols = 0;
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c) {
            std::wstring t = g[r][c];
            if (t.empty()) continue;
            rows = r + 1, cols = std::max(cols, c + 1);
            char line[96];
            if (r > 0 && c > 0 && !texts.count({r, c})) {
                std::replace(t.begin(), t.end(), sep, L'.');
                std::snprintf(line, sizeof line, "%zu\t%zu\tn\t%.17g\n", r, c,
                              std::wcstod(t.c_str(), nullptr));
                cells += line;
            } else {
                cells += std::to_string(r) + "\t" + std::to_string(c) + "\ts\t" + Escaped(t) + "\n";
            }
        }
    return sheet + "\t" + std::to_string(rows) + " " + std::to_string(cols) + "\n" + cells;
}

// Line by line, so that a failure names the first cell that differs.
void ExpectSameLines(const std::string& got, const std::string& expected) {
    std::istringstream a(got), b(expected);
    std::string la, lb;
    bool same = true;
    while (same && std::getline(b, lb))
        same = std::getline(a, la) && la == lb;
    EXPECT_TRUE(same) << "got " << la << "\nnot " << lb;
    EXPECT_TRUE(a.peek() == EOF) << "more lines than expected";
}

} // namespace

TEST(GridFormats, A361RowScheduleReadsBackCellByCellInEveryFormat) {
    ScratchDir dir;
    for (const wchar_t sep : {L'.', L','}) {
        Grid g = ScheduleGrid(360);
        for (auto& row : g)
            for (auto& cell : row)
                std::replace(cell.begin(), cell.end(), L'.', sep);
        // What an absurd loan or a hand-made grid can hold: never numbers.
        const std::wstring s(1, sep);
        // clang-format off
        const std::map<std::pair<std::size_t, std::size_t>, std::wstring> texts = {
            {{5, 2}, L"INF"}, {{6, 3}, L"NAN"}, {{8, 1}, L"1 234"}, {{9, 2}, L"2e5"},
            {{10, 3}, L"- 5"}, {{11, 4}, s + L"5"}, {{12, 2}, L"1" + s}, {{13, 3}, L"1" + s + L"2" + s},
            {{12, 1}, std::wstring(400, L'9')}, {{13, 2}, L"say \"a, b\"\r\nthen & <c> "}};
        // clang-format on
        for (const auto& [at, text] : texts)
            g[at.first][at.second] = text;
        g[14][0] = L"2009年03月, \"x\"", g[7][4] = L"-1234" + s + L"5", g[15][5] = L"0";
        for (const auto& [format, file] : kFormats) {
            SCOPED_TRACE(std::string(file) + " separator " + static_cast<char>(sep));
            const char* sheet = format == FileFormat::Xls    ? "Sheet1"
                                : format == FileFormat::Xlsx ? "等额本息贷款分期还款表"
                                                             : "";
            const auto start = std::chrono::steady_clock::now();
            Export(g, sep, format, L"等额本息贷款分期还款表", dir / file);
            // Not a timed test: prints what the 导出 of a 30-year table costs (budget 100 ms).
            std::printf(
                "361 x 6 export to %s: %.3f ms\n", file,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            ExpectSameLines(Dump(dir / file), Expected(g, sep, sheet, texts));
        }
    }
}

TEST(GridFormats, TitlesNoSheetCanHoldAndEmptyGridsStillGiveValidFiles) {
    ScratchDir dir;
    const Grid g = ScheduleGrid(12);
    for (const wchar_t* title : {L"'[贷款]: a/b\\c?*'", L"''''",
                                 L"一个很长很长很长很长很长很长"
                                 L"很长很长很长很长很长很长的标题"}) {
        Export(g, L'.', FileFormat::Xlsx, title, dir / "t.xlsx");
        ExpectSameLines(Dump(dir / "t.xlsx"),
                        Expected(g, L'.', Utf8(xls::ToUtf16(exporter::SheetNameFromTitle(title)))));
    }
    Grid empty(13, std::vector<std::wstring>(6));
    for (const auto& [format, file] : kFormats) {
        Export(empty, L'.', format, L"t", dir / file);
        const std::string dump = Dump(dir / file);
        EXPECT_EQ(dump.substr(dump.find('\t')), format == FileFormat::Xlsx ? "\t1 1\n" : "\t0 0\n");
    }
    empty[0] = kHeader;
    Export(empty, L'.', FileFormat::Csv, L"t", dir / "h.csv");
    const Bytes csv = ReadFile(dir / "h.csv");
    EXPECT_EQ(std::string(csv.begin(), csv.end()),
              "\xEF\xBB\xBF还款时间,月利息还款额（元）,月本金还款额（元）,月还款额（元）,"
              "剩余本金（元）,提前还贷（元）\r\n");
}

#endif
