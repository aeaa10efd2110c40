// The export of a grid to a file, with the dialogs answered by the test and
// the written workbook read back.
#include "export/BuiltInWorkbookWriter.h"
#include "export/ExcelAutomation.h"
#include "export/GridExport.h"

#include "BiffReader.h"
#include "../support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

using exporter::ExportGrid;

struct Grid final : exporter::GridSource {
    Grid(int cols, int rows)
        : cols(cols), rows(rows), cells(static_cast<std::size_t>(cols * rows)) {}
    int ColCount() const override { return cols; }
    int RowCount() const override { return rows; }
    std::wstring Cell(int c, int r) const override {
        return cells[static_cast<std::size_t>(r * cols + c)];
    }
    void Set(int c, int r, std::wstring t) {
        cells[static_cast<std::size_t>(r * cols + c)] = std::move(t);
    }
    int cols, rows;
    std::vector<std::wstring> cells;
};

Grid Schedule(int periods) {
    Grid g(6, periods + 1);
    const wchar_t* headers[] = {L"还款时间",       L"月利息还款额（元）", L"月本金还款额（元）",
                                L"月还款额（元）", L"剩余本金（元）",     L"提前还贷（元）"};
    for (int c = 0; c < 6; ++c)
        g.Set(c, 0, headers[c]);
    for (int r = 1; r <= periods; ++r) {
        g.Set(0, r,
              std::to_wstring(2008 + (r - 1) / 12) + L"年" + std::to_wstring(10 + (r - 1) % 12) +
                  L"月");
        for (int c = 1; c < 5; ++c)
            g.Set(c, r, std::to_wstring(r * 100 + c) + L".5");
    }
    return g;
}

struct Ui final : exporter::ExportUi {
    std::optional<std::wstring> ChooseFile(const exporter::SaveDialogRequest& r) override {
        request = r;
        log.push_back(L"dialog");
        return answer;
    }
    void ShowCannotOpen() override { log.push_back(L"cannot open"); }
    bool ConfirmReplace(const std::wstring&) override {
        log.push_back(L"replace?");
        return replace;
    }
    void RestoreCursor() override { log.push_back(L"cursor"); }
    std::optional<std::wstring> answer;
    bool replace = true;
    exporter::SaveDialogRequest request;
    std::vector<std::wstring> log;
};

// A file writer that fails at a chosen step.
struct Failing final : exporter::WorkbookWriter, exporter::SheetSink {
    explicit Failing(std::string step) : step(std::move(step)) {}
    void Check(const char* here) {
        if (step == here) throw std::runtime_error(here);
    }
    void Connect() override { inner.Connect(); }
    exporter::SheetSink& AddWorkbook() override {
        sheet = &inner.AddWorkbook();
        return *this;
    }
    void PutCellText(int r, int c, const std::wstring& t) override {
        if (r == 3) Check("cell");
        sheet->PutCellText(r, c, t);
    }
    void SaveCopyAs(const std::wstring& f) override {
        Check("save");
        inner.SaveCopyAs(f);
    }
    void CloseWithoutSaving() override {
        Check("close");
        inner.CloseWithoutSaving();
    }
    void Disconnect() override { inner.Disconnect(); }
    std::string step;
    exporter::BuiltInWorkbookWriter inner;
    exporter::SheetSink* sheet = nullptr;
};

class GridExport : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir + L"\\等额本息贷款分期还款表.xls";
        ui.answer = file;
    }
    std::vector<std::wstring> Files() const { return folder.Files(); }
    xlstest::Bytes Read(const std::wstring& path) const {
        std::ifstream in(path.c_str(), std::ios::binary);
        return xlstest::Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void WriteOld() { std::ofstream(file.c_str(), std::ios::binary) << "old workbook"; }
    static exporter::WriterFactory FileWriter() {
        return [] { return std::make_unique<exporter::BuiltInWorkbookWriter>(); };
    }
    static exporter::WriterFactory FailingAt(const char* step) {
        return [step] { return std::make_unique<Failing>(step); };
    }

    ScratchFolder folder{L"lanan-export"};
    const std::wstring& dir = folder.path;
    std::wstring file;
    Ui ui;
};

std::u16string U16(const std::wstring& s) {
    return std::u16string(s.begin(), s.end());
}

} // namespace

TEST_F(GridExport, WritesEveryCellOfA241RowGridAndReadsBack) {
    Grid grid = Schedule(240);
    ASSERT_EQ(ExportGrid(grid, L"等额本息贷款分期还款表", L"C:\\app", ui, FileWriter()), 1);
    EXPECT_EQ(ui.request.fileName, L"等额本息贷款分期还款表");
    EXPECT_EQ(ui.request.defaultExt, L"xls");
    EXPECT_EQ(ui.request.title, L"导出 等额本息贷款分期还款表 至Excel文件");
    EXPECT_EQ(ui.request.filter,
              L"Excel files (*.xls)|*.xls|Excel 工作簿 (*.xlsx)|*.xlsx|CSV 文件 (*.csv)|*.csv");
    EXPECT_EQ(ui.request.initialDir, L"C:\\app");
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{L"dialog", L"cursor"}));

    xlstest::Workbook book = xlstest::ReadXls(Read(file));
    EXPECT_EQ(book.rowMac, 241);
    EXPECT_EQ(book.colMac, 6);
    for (int r = 0; r < 241; ++r)
        for (int c = 0; c < 6; ++c) {
            auto it = book.cells.find({r, c});
            const std::wstring expected = grid.Cell(c, r);
            if (expected.empty())
                EXPECT_TRUE(it == book.cells.end()) << r << "," << c;
            else
                EXPECT_TRUE(it != book.cells.end() && it->second == U16(expected)) << r << "," << c;
        }
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"等额本息贷款分期还款表.xls"});
}

TEST_F(GridExport, AGridBeforeAnyCalculationGivesTheHeaderAndTwelveEmptyRows) {
    Grid grid = Schedule(0);
    grid.rows = 13;
    grid.cells.resize(13 * 6);
    ASSERT_EQ(ExportGrid(grid, L"等额本金贷款分期还款表", L"C:\\app", ui, FileWriter()), 1);
    EXPECT_EQ(ui.request.fileName, L"等额本金贷款分期还款表");
    xlstest::Workbook book = xlstest::ReadXls(Read(file));
    EXPECT_EQ(book.cells.size(), 6u);
    EXPECT_EQ(book.cells.at({0, 0}), u"还款时间");
}

TEST_F(GridExport, CancellingTheDialogExportsNothing) {
    ui.answer.reset();
    bool created = false;
    EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui,
                         [&created] {
                             created = true;
                             return std::make_unique<exporter::BuiltInWorkbookWriter>();
                         }),
              2);
    EXPECT_FALSE(created);
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"dialog"});
    EXPECT_TRUE(Files().empty());
}

TEST_F(GridExport, DecliningToReplaceLeavesTheOldFileUntouched) {
    WriteOld();
    ui.replace = false;
    EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui, FileWriter()), 2);
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{L"dialog", L"replace?"}));
    const auto bytes = Read(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old workbook");
}

TEST_F(GridExport, ReplacingWritesTheNewWorkbookOverTheOldFile) {
    WriteOld();
    EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui, FileWriter()), 1);
    EXPECT_EQ(xlstest::ReadXls(Read(file)).rowMac, 13);
    EXPECT_EQ(Files().size(), 1u);
}

TEST_F(GridExport, AFailureKeepsTheOldFileAndLeavesNoPartialFile) {
    for (const char* step : {"cell", "save", "close"}) {
        WriteOld();
        ui.log.clear();
        EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui, FailingAt(step)), 0) << step;
        EXPECT_EQ(ui.log.back(), L"cursor");
        if (std::string(step) != "close") {
            const auto bytes = Read(file);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old workbook") << step;
        }
        EXPECT_EQ(Files().size(), 1u) << step; // no temporary file left behind
    }
}

TEST_F(GridExport, NoBackEndAtAllShowsTheMessageAndExportsNothing) {
    EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui,
                         []() -> std::unique_ptr<exporter::WorkbookWriter> {
                             throw std::runtime_error("no COM");
                         }),
              2);
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{L"dialog", L"cannot open"}));
}

TEST_F(GridExport, WithoutExcelTheBestWriterIsTheBuiltInOne) {
    auto writer = exporter::CreateBestWriter();
    ASSERT_NE(writer, nullptr);
    if (!exporter::ExcelWorkbookWriter::ExcelRegistered()) {
        EXPECT_NE(dynamic_cast<exporter::BuiltInWorkbookWriter*>(writer.get()), nullptr);
    }
    EXPECT_EQ(ExportGrid(Schedule(3), L"t", L"C:\\app", ui), 1);
}

TEST_F(GridExport, XlsxAndCsvAlwaysUseTheBuiltInWritersWithTheSameQuestions) {
    // A back end that cannot be had: only .xls asks for one.
    const exporter::WriterFactory none = []() -> std::unique_ptr<exporter::WorkbookWriter> {
        throw std::runtime_error("no COM");
    };
    for (const wchar_t* name : {L"\\表.xlsx", L"\\表.csv"}) {
        ui.answer = dir + name;
        EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui, none), 1);
        ui.replace = false;
        EXPECT_EQ(ExportGrid(Schedule(12), L"t", L"C:\\app", ui, none), 2);
        ui.replace = true;
        const auto before = Read(*ui.answer);
        SetFileAttributesW(ui.answer->c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(ExportGrid(Schedule(3), L"t", L"C:\\app", ui, none), 0);
        SetFileAttributesW(ui.answer->c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Read(*ui.answer), before);
    }
    EXPECT_EQ(ui.log,
              (std::vector<std::wstring>{L"dialog", L"cursor", L"dialog", L"replace?", L"dialog",
                                         L"replace?", L"cursor", L"dialog", L"cursor", L"dialog",
                                         L"replace?", L"dialog", L"replace?", L"cursor"}));
    ui.answer = dir + L"\\表.xls";
    EXPECT_EQ(ExportGrid(Schedule(12), L"a/b:c", L"C:\\app", ui, none), 2);
    EXPECT_EQ(ui.log.back(), L"cannot open");
    EXPECT_EQ(Files(), (std::vector<std::wstring>{L"表.csv", L"表.xlsx"}));
    // A title no file may be named after is proposed with '_' in their place.
    EXPECT_EQ(ui.request.fileName, L"a_b_c");
}
