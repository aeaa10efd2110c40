// ExportGridToExcel on a real string grid: the save dialog and the message
// boxes are answered through the modal seam, the workbook is read back.

#include "app/UPublicFunction.h"

#include "export/BuiltInWorkbookWriter.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/ModalHook.h"
#include "framework/Utils.h"

#include "../support/WorkbookCheck.h"
#include "ExportTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::wstring kTitle1 = L"等额本息贷款分期还款表";
const std::wstring kTitle2 = L"等额本金贷款分期还款表";

exporter::WriterFactory FileWriter() {
    return [] { return std::make_unique<exporter::BuiltInWorkbookWriter>(); };
}

class ExportToExcel : public testing::Test {
  protected:
    void SetUp() override {
        form.reset(new TForm(Application));
        grid = new TStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        grid->SetColCount(6);
        Fill(xlstest::ScheduleGrid(0), 13);
    }

    // The grid as the main window leaves it: the given rows, then empty ones
    // up to rowCount.
    void Fill(const xlstest::Grid& rows, int rowCount) {
        grid->SetRowCount(rowCount);
        for (int r = 0; r < rowCount; ++r)
            for (int c = 0; c < 6; ++c)
                grid->SetCells(c, r, r < int(rows.size()) ? rows[size_t(r)][size_t(c)] : L"");
    }

    std::vector<std::wstring> Files() const { return folder.Files(); }

    // Chooses the proposed name in the scratch folder (or cancels) and gives
    // every message box the same answer; every request is kept.
    TModalHook Answer(bool choose, int boxAnswer) {
        return [this, choose, boxAnswer](TModalRequest& r) {
            requests.push_back(r);
            r.answered = true;
            if (r.kind == TModalKind::SaveDialog) {
                r.result = choose ? 1 : 0;
                r.fileName = dir + L"\\" + r.fileName;
            } else if (r.kind == TModalKind::MessageBox) {
                r.result = boxAnswer;
            } else {
                ADD_FAILURE() << "unexpected modal window";
            }
        };
    }
    std::vector<TModalRequest> Boxes() const {
        std::vector<TModalRequest> boxes;
        for (const TModalRequest& r : requests)
            if (r.kind == TModalKind::MessageBox) boxes.push_back(r);
        return boxes;
    }

    void ExpectFileHoldsTheGrid(const std::wstring& path) const {
        ::ExpectFileHoldsTheGrid(path, *grid);
    }

    TOwned<TForm> form;
    TStringGrid* grid = nullptr;
    ScratchFolder folder{L"lanan-app-export"};
    const std::wstring& dir = folder.path;
    std::vector<TModalRequest> requests;
};

} // namespace

TEST_F(ExportToExcel, TheDialogProposesTheTitleInTheProgramsFolder) {
    TScopedModalHook hook(Answer(true, IDOK));
    EXPECT_EQ(ExportGridToExcel(*grid, kTitle2, FileWriter()), 1);
    ASSERT_EQ(requests.size(), 1u) << "no message box for a new file";
    const TModalRequest& dialog = requests[0];
    EXPECT_EQ(dialog.kind, TModalKind::SaveDialog);
    EXPECT_EQ(dialog.fileName, kTitle2);
    EXPECT_EQ(dialog.defaultExt, L"xls");
    EXPECT_EQ(dialog.title, L"导出 等额本金贷款分期还款表 至Excel文件");
    EXPECT_EQ(dialog.filter,
              L"Excel files (*.xls)|*.xls|Excel 工作簿 (*.xlsx)|*.xlsx|CSV 文件 (*.csv)|*.csv");
    std::wstring exeDir = ExeDirectory();
    exeDir.pop_back();
    EXPECT_EQ(dialog.initialDir, exeDir);
    EXPECT_NE(exeDir.back(), L'\\');
    // The dialog adds the default extension to the proposed name.
    EXPECT_EQ(Files(), std::vector<std::wstring>{kTitle2 + L".xls"});
}

TEST_F(ExportToExcel, BeforeAnyCalculationTheHeaderAndTwelveEmptyRowsAreWritten) {
    TScopedModalHook hook(Answer(true, IDOK));
    ASSERT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 1);
    ExpectFileHoldsTheGrid(dir + L"\\" + kTitle1 + L".xls");
    const std::string bytes = FileBytes(dir + L"\\" + kTitle1 + L".xls");
    const auto book = xlstest::ReadXls(xlstest::Bytes(bytes.begin(), bytes.end()));
    EXPECT_EQ(book.cells.size(), 6u);
    EXPECT_EQ(book.cells.at({0, 5}), u"提前还贷（元）");
}

TEST_F(ExportToExcel, A241RowScheduleIsWrittenCellByCell) {
    Fill(xlstest::ScheduleGrid(240), 241);
    TScopedModalHook hook(Answer(true, IDOK));
    ASSERT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 1);
    const std::wstring file = dir + L"\\" + kTitle1 + L".xls";
    ExpectFileHoldsTheGrid(file);
    const std::string bytes = FileBytes(file);
    const auto book = xlstest::ReadXls(xlstest::Bytes(bytes.begin(), bytes.end()));
    EXPECT_EQ(book.rowMac, 241);
    EXPECT_EQ(book.colMac, 6);
    EXPECT_EQ(book.cells.at({240, 0}), u"2027年12月");

    // For checking the file with other spreadsheet programs by hand.
    wchar_t copyTo[MAX_PATH];
    if (GetEnvironmentVariableW(L"LANAN_EXPORT_COPY_TO", copyTo, MAX_PATH) > 0)
        CopyFileW(file.c_str(), (std::wstring(copyTo) + L"\\" + kTitle1 + L".xls").c_str(), FALSE);
}

TEST_F(ExportToExcel, CancellingTheDialogExportsNothingAndSaysNothing) {
    TScopedModalHook hook(Answer(false, IDOK));
    bool writerMade = false;
    EXPECT_EQ(ExportGridToExcel(*grid, kTitle1,
                                [&writerMade] {
                                    writerMade = true;
                                    return std::make_unique<exporter::BuiltInWorkbookWriter>();
                                }),
              2);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(writerMade);
    EXPECT_TRUE(Files().empty());
}

TEST_F(ExportToExcel, NoBackEndShowsTheExcelMessageAndExportsNothing) {
    TScopedModalHook hook(Answer(true, IDOK));
    EXPECT_EQ(ExportGridToExcel(*grid, kTitle1,
                                []() -> std::unique_ptr<exporter::WorkbookWriter> {
                                    throw std::runtime_error("no automation");
                                }),
              2);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"无法打开xls文件﹐请确定已经安裝了Excel.");
    EXPECT_EQ(boxes[0].caption, L"消息");
    EXPECT_EQ(boxes[0].flags, UINT(MB_ICONERROR | MB_OK));
    EXPECT_TRUE(Files().empty());
}

TEST_F(ExportToExcel, AnExistingFileIsReplacedOnlyAfterOk) {
    const std::wstring file = dir + L"\\" + kTitle1 + L".xls";
    const std::string old = std::string("old workbook\0\x01\xff", 16);
    std::ofstream(file.c_str(), std::ios::binary) << old;
    {
        TScopedModalHook hook(Answer(true, IDCANCEL));
        EXPECT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 2);
    }
    EXPECT_EQ(FileBytes(file), old);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"文件已经存在，是否替换该文件？");
    EXPECT_EQ(boxes[0].caption, L"消息");
    EXPECT_EQ(boxes[0].flags, UINT(MB_ICONERROR | MB_OKCANCEL));

    requests.clear();
    Fill(xlstest::ScheduleGrid(12), 13);
    {
        TScopedModalHook hook(Answer(true, IDOK));
        EXPECT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 1);
    }
    EXPECT_EQ(Boxes().size(), 1u);
    ExpectFileHoldsTheGrid(file);
    EXPECT_EQ(Files(), std::vector<std::wstring>{kTitle1 + L".xls"});
}

// Windows refuses to replace a read-only file, and the export then fails with
// the old file intact. Wine run by root replaces it (root writes past the
// permission bits the attribute becomes); the export then follows the system.
// Either way no temporary file is left behind.
// A read-only workbook is never replaced, as on Windows, even where the
// system itself would let the program write over it (Wine run by root).
TEST_F(ExportToExcel, AReadOnlyTargetFileIsLeftAsItWas) {
    const std::wstring file = dir + L"\\" + kTitle1 + L".xls";
    std::ofstream(file.c_str(), std::ios::binary) << "old workbook";
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    TScopedModalHook hook(Answer(true, IDOK));
    EXPECT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 0);
    EXPECT_EQ(FileBytes(file), "old workbook");
    EXPECT_EQ(Files(), std::vector<std::wstring>{kTitle1 + L".xls"});
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Windows itself ignores the read-only attribute of folders, so the export
// must then succeed; where the system refuses new files there, it fails
// cleanly.
TEST_F(ExportToExcel, AReadOnlyFolderEitherTakesTheFileOrFailsCleanly) {
    ASSERT_TRUE(SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring probe = dir + L"\\probe.tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool folderTakesFiles = h != INVALID_HANDLE_VALUE;
    if (folderTakesFiles) {
        CloseHandle(h);
        DeleteFileW(probe.c_str());
    }
    TScopedModalHook hook(Answer(true, IDOK));
    const int result = ExportGridToExcel(*grid, kTitle1, FileWriter());
    if (folderTakesFiles) {
        std::printf("this system creates files in read-only folders\n");
        EXPECT_EQ(result, 1);
        ExpectFileHoldsTheGrid(dir + L"\\" + kTitle1 + L".xls");
    } else {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(Files().empty());
    }
}

TEST_F(ExportToExcel, ATargetHeldOpenByAnotherProgramFailsAndStaysAsItWas) {
    const std::wstring file = dir + L"\\" + kTitle1 + L".xls";
    std::ofstream(file.c_str(), std::ios::binary) << "old workbook";
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        TScopedModalHook hook(Answer(true, IDOK));
        EXPECT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 0);
    }
    CloseHandle(held);
    EXPECT_EQ(FileBytes(file), "old workbook");
    EXPECT_EQ(Files(), std::vector<std::wstring>{kTitle1 + L".xls"});
}

// Budget 100 ms for 361 × 6 with the built-in writer; the figure is printed,
// and only a gross slip (ten times the budget) fails here.
TEST_F(ExportToExcel, A361RowScheduleExportsWithinBudget) {
    Fill(xlstest::ScheduleGrid(360), 361);
    TScopedModalHook hook(Answer(true, IDOK));
    const std::wstring file = dir + L"\\" + kTitle1 + L".xls";
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        DeleteFileW(file.c_str());
        QueryPerformanceCounter(&start);
        ASSERT_EQ(ExportGridToExcel(*grid, kTitle1, FileWriter()), 1);
        QueryPerformanceCounter(&end);
        best = std::min(best, double(end.QuadPart - start.QuadPart) * 1000.0 /
                                  double(frequency.QuadPart));
    }
    const std::size_t size = FileBytes(file).size();
    std::printf("361 x 6 export: %.1f ms (best of 3), %zu bytes\n", best, size);
    RecordProperty("export_ms", std::to_string(best));
    RecordProperty("file_bytes", std::to_string(size));
    EXPECT_LT(best, 1000.0);
    ExpectFileHoldsTheGrid(file);
}

TEST_F(ExportToExcel, TheBestBackEndWorksWhereExcelIsMissing) {
    TScopedModalHook hook(Answer(true, IDOK));
    EXPECT_EQ(ExportGridToExcel(*grid, kTitle1), 1);
    EXPECT_TRUE(Boxes().empty());
    ExpectFileHoldsTheGrid(dir + L"\\" + kTitle1 + L".xls");
}
