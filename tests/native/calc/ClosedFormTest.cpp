// Path A of both methods, fixed rate and no plan: the boxes, in the order
// each method writes them, then the grid. 等额本息 from a bank's annuity
// table (100000 元 at 6 %, 12 months); 等额本金 120000 元 at 6 %.
#include "ScheduleHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace calc_test;

TEST(ClosedForm, TwelveMonthsOfBothMethods) {
    struct Cell {
        int col, row;
        const wchar_t* text;
    };
    const struct {
        bool instalment;
        double loan, first, total, interest;
        Cells row1, row12;
        std::vector<Cell> more;
        Cells log; // the boxes first, in this order, then the rows
    } cases[] = {
        {true,
         100000,
         8606.64,
         103279.72,
         3279.72,
         {L"2008年01月", L"500", L"8106.64", L"8606.64", L"91893.36", L""},
         {L"2008年12月", L"42.82", L"8563.82", L"8606.64", L"0", L""},
         {{2, 5, L"8270"}},
         {L"first on", L"first=8606.64", L"total=103279.72", L"interest=3279.72", L"rows 13"}},
        {false,
         120000,
         10000,
         123900,
         3900,
         {L"2008年01月", L"600", L"10000", L"10600", L"110000", L""},
         {L"2008年12月", L"50", L"10000", L"10050", L"0", L""},
         {{1, 2, L"550"}, {3, 2, L"10550"}},
         {L"first on", L"first=10000", L"interest=3900", L"total=123900", L"rows 13"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.instalment ? "instalment" : "principal");
        Harness h;
        h.in = Fixed(c.loan, 12, 6, 2008, 1);
        h.logCells = true;
        ASSERT_TRUE(c.instalment ? h.Instalment() : h.Principal());
        EXPECT_EQ(h.first.value, c.first);
        EXPECT_TRUE(h.first.enabled);
        EXPECT_EQ(h.total.value, c.total);
        EXPECT_EQ(h.interest.value, c.interest);
        EXPECT_EQ(h.grid.RowCount(), 13);
        EXPECT_EQ(h.Row(1), c.row1);
        EXPECT_EQ(h.Row(12), c.row12);
        for (const Cell& cell : c.more)
            EXPECT_EQ(h.Cell(cell.col, cell.row), cell.text);
        EXPECT_TRUE(h.messages.empty());
        ASSERT_GE(h.log.size(), c.log.size());
        EXPECT_EQ(Cells(h.log.begin(), h.log.begin() + std::ptrdiff_t(c.log.size())), c.log);
    }
}
