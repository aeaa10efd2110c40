#include "ExportTestSupport.h"
#include "export/BuiltInWorkbookWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

using namespace xlstest;
using exporter::BuiltInWorkbookWriter;
using exporter::WorkbookWriter;

TEST(BuiltInWorkbookWriter, CellsCountFromOneLikeExcelsAddresses) {
    ScratchDir dir;
    BuiltInWorkbookWriter builtIn;
    WorkbookWriter& writer = builtIn;
    writer.Connect();
    exporter::SheetSink& sheet = writer.AddWorkbook();
    sheet.PutCellText(1, 1, L"还款时间");
    sheet.PutCellText(241, 6, L"8606.64");
    EXPECT_THROW(sheet.PutCellText(0, 1, L"x"), std::out_of_range);
    const std::wstring file = (dir.Path() / "out.xls").wstring();
    writer.SaveCopyAs(file);
    writer.CloseWithoutSaving();
    writer.Disconnect();

    const Workbook read = ReadXls(ReadFile(file));
    EXPECT_EQ(read.cells.size(), 2u);
    EXPECT_EQ(read.cells.at({0, 0}), u"还款时间");
    EXPECT_EQ(read.cells.at({240, 5}), u"8606.64");
}

TEST(BuiltInWorkbookWriter, StepsOutOfOrderFailLikeAMissingWorkbook) {
    ScratchDir dir;
    BuiltInWorkbookWriter writer;
    EXPECT_THROW(writer.AddWorkbook(), std::logic_error);
    EXPECT_THROW(writer.SaveCopyAs((dir.Path() / "a.xls").wstring()), std::logic_error);
    writer.Connect();
    exporter::SheetSink& sheet = writer.AddWorkbook();
    writer.CloseWithoutSaving();
    EXPECT_THROW(sheet.PutCellText(1, 1, L"x"), std::logic_error);
    EXPECT_THROW(writer.SaveCopyAs((dir.Path() / "a.xls").wstring()), std::logic_error);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// Not a timed test: prints what the 导出 of a 30-year table costs.
TEST(BuiltInWorkbookWriter, Report361RowExportTime) {
    const Grid g = ScheduleGrid(360);
    ScratchDir dir;
    const auto file = dir / "361.xls";
    constexpr int kRuns = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        BuiltInWorkbookWriter writer;
        writer.Connect();
        exporter::SheetSink& sheet = writer.AddWorkbook();
        for (std::size_t r = 0; r < g.size(); ++r)
            for (std::size_t c = 0; c < g[r].size(); ++c)
                sheet.PutCellText(static_cast<int>(r + 1), static_cast<int>(c + 1), g[r][c]);
        writer.SaveCopyAs(file.wstring());
        writer.CloseWithoutSaving();
        writer.Disconnect();
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        kRuns;
    const auto size = std::filesystem::file_size(file);
    std::printf("361 x 6 export: %.3f ms per workbook, %llu bytes\n", ms,
                static_cast<unsigned long long>(size));
    RecordProperty("milliseconds", std::to_string(ms));
    RecordProperty("bytes", std::to_string(size));
    EXPECT_EQ(ReadXls(ReadFile(file)).cells.size(), 361u * 6 - 330);
}
