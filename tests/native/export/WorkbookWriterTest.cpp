#include "ExportTestSupport.h"
#include "export/BuiltInWorkbookWriter.h"
#include "export/FileReplace.h"

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
TEST(XlsWorkbookTiming, Report361RowExportTime) {
    const Grid g = ScheduleGrid(360);
    ScratchDir dir;
    const auto file = dir / "361.xls";
    constexpr int kRuns = 20;
    using Clock = std::chrono::steady_clock;
    using Ms = std::chrono::duration<double, std::milli>;
    Ms fill{}, encode{}, write{};
    std::size_t bytes = 0;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        xls::XlsWorkbook wb;
        Fill(wb, g);
        const auto t1 = Clock::now();
        const auto content = wb.Save();
        const auto t2 = Clock::now();
        xls::WriteFileReplacing(file, content);
        const auto t3 = Clock::now();
        fill += t1 - t0;
        encode += t2 - t1;
        write += t3 - t2;
        bytes = content.size();
    }
    std::printf("361 x 6 export: fill %.3f ms, encode %.3f ms, write %.3f ms, total %.3f ms; "
                "%zu bytes\n",
                fill.count() / kRuns, encode.count() / kRuns, write.count() / kRuns,
                (fill + encode + write).count() / kRuns, bytes);
    RecordProperty("bytes", std::to_string(bytes));
    EXPECT_EQ(std::filesystem::file_size(file), bytes);
    EXPECT_EQ(ReadXls(ReadFile(file)).cells.size(), 361u * 6 - 330);
}
