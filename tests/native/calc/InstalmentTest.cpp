// 等额本息: the figures are those a bank's annuity table gives for the same
// loans (100000 元 at 6 %, 12 or 24 months).
#include "ScheduleHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace calc_test;

namespace {

Harness FixedTwelve() {
    Harness h;
    h.in = Fixed(100000, 12, 6, 2008, 1);
    return h;
}

} // namespace

TEST(EqualInstalment, PrepaymentLowersTheLaterPayments) {
    Harness h = FixedTwelve();
    h.AddPlan(2008, 6, L"50000.00");
    ASSERT_TRUE(h.Instalment());
    Harness plain = FixedTwelve();
    plain.Instalment();
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(h.Row(row), plain.Row(row)) << row;
    EXPECT_EQ(h.Cell(3, 6), L"8606.64");
    EXPECT_EQ(h.Cell(4, 6), L"50748.08");
    EXPECT_EQ(h.Cell(5, 6), L"50000");
    EXPECT_EQ(h.Row(7), (Cells{L"2008年07月", L"3.74", L"123.13", L"126.87", L"624.95", L""}));
    EXPECT_EQ(h.Cell(4, 12), L"0");
    EXPECT_EQ(h.first.value, 0);
    EXPECT_FALSE(h.first.enabled);
    EXPECT_EQ(h.total.value, 102401.08);
    EXPECT_EQ(h.interest.value, 2401.08);
    EXPECT_TRUE(h.messages.empty());
}

TEST(EqualInstalment, PlanItemsCountByTheirMonthWhateverTheirOrder) {
    // Of two items for one month the first counts; month 13 or 00 of a
    // year is no month, not the next or the last.
    Harness h, inOrder;
    h.in = inOrder.in = Fixed(100000, 12, 6, 2008, 7);
    for (const wchar_t* item : {L"2009年03月  <=>  1000.00元", L"2008年09月  <=>  2000.00元",
                                L"2008年09月  <=>  5000.00元", L"2008年13月  <=>  3000.00元",
                                L"2009年00月  <=>  4000.00元"})
        h.plan.push_back(item);
    inOrder.AddPlan(2008, 9, L"2000.00");
    inOrder.AddPlan(2009, 3, L"1000.00");
    ASSERT_TRUE(h.Instalment());
    ASSERT_TRUE(inOrder.Instalment());
    for (int row = 1; row <= 12; ++row) {
        EXPECT_EQ(h.Cell(5, row), row == 3 ? L"2000" : row == 9 ? L"1000" : L"") << row;
        EXPECT_EQ(h.Row(row), inOrder.Row(row)) << row;
    }
    EXPECT_EQ(h.total.value, inOrder.total.value);
}

TEST(EqualInstalment, OverpayingPlanStopsWithANoticeBeforeTheTotals) {
    Harness h = FixedTwelve();
    h.AddPlan(2008, 6, L"60000.00");
    ASSERT_TRUE(h.Instalment());
    EXPECT_EQ(h.Cell(5, 6), L"50748.08");
    ASSERT_EQ(h.messages, (Cells{L"2008年06月提前还完贷款，计划超额9251.92元！"}));
    for (int row = 7; row <= 12; ++row)
        EXPECT_EQ(h.Row(row), Cells(6)) << row;
    EXPECT_EQ(h.grid.RowCount(), 13);
    EXPECT_EQ(h.total.value, 102387.93);
    EXPECT_EQ(h.interest.value, 2387.93);
    const auto message = std::find(h.log.begin(), h.log.end(), L"message");
    const auto total = std::find(h.log.begin(), h.log.end(), L"total=102387.93");
    EXPECT_LT(message, total);
}

TEST(EqualInstalment, PlanEqualToTheBalancePaysOffExactly) {
    // Follow path B's own chain of single-row runs to get the unrounded
    // balance after June's regular payment.
    Harness scratch;
    scratch.grid.SetRowCount(13);
    double balance = 100000, remaining = 12, paid = 0;
    for (int k = 1; k <= 6; ++k) {
        balance =
            calc::FillInstalmentRows(scratch.grid, paid, 2008, 1, balance, remaining, 6, k, k);
        remaining -= 1;
    }
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.17g", balance);
    Harness h = FixedTwelve();
    h.AddPlan(2008, 6, std::wstring(exact, exact + std::char_traits<char>::length(exact)));
    h.Instalment();
    EXPECT_EQ(h.messages, (Cells{L"2008年06月提前还完贷款"}));
    EXPECT_EQ(h.Cell(5, 6), L"50748.08");
    EXPECT_EQ(h.Row(7), Cells(6));
}

TEST(EqualInstalment, PlanForTheLastMonthMeetsAZeroBalance) {
    Harness h = FixedTwelve();
    h.AddPlan(2008, 12, L"100.00");
    h.Instalment();
    EXPECT_EQ(h.Cell(5, 12), L"0");
    EXPECT_EQ(h.messages, (Cells{L"2008年12月提前还完贷款，计划超额100元！"}));
    EXPECT_EQ(h.total.value, 103279.72);
    EXPECT_EQ(h.interest.value, 3279.72);

    Harness bad = FixedTwelve();
    bad.plan.push_back(L"2008年12月  <=>  abc元");
    bad.Instalment();
    EXPECT_EQ(bad.Cell(5, 12), L"0");
    EXPECT_EQ(bad.messages, (Cells{L"2008年12月提前还完贷款"}));
}

TEST(EqualInstalment, UnconvertibleAmountCountsAsZero) {
    Harness h = FixedTwelve();
    h.plan.push_back(L"2008年03月  <=>  12x4元");
    h.plan.push_back(L"2008年04月  <=>"); // too short to hold an amount
    h.Instalment();
    Harness plain = FixedTwelve();
    plain.Instalment();
    EXPECT_EQ(h.Cell(5, 3), L"0");
    EXPECT_EQ(h.Cell(5, 4), L"0");
    for (int row = 1; row <= 12; ++row)
        for (int col = 0; col <= 4; ++col)
            EXPECT_EQ(h.Cell(col, row), plain.Cell(col, row)) << row;
    EXPECT_EQ(h.total.value, 103279.72);
}

TEST(EqualInstalment, DecemberStartRollsIntoJanuary) {
    Harness h;
    h.in = Fixed(100000, 12, 6, 2008, 12);
    h.Instalment();
    EXPECT_EQ(h.Cell(0, 1), L"2008年12月");
    EXPECT_EQ(h.Cell(0, 2), L"2009年01月");
    EXPECT_EQ(h.Cell(0, 12), L"2009年11月");
}

TEST(EqualInstalment, FloatingRatesRecomputeThePaymentEveryJanuary) {
    Harness h;
    h.in = Floating(100000, 24, {6, 5, 4}, 2008, 7);
    ASSERT_TRUE(h.Instalment());
    EXPECT_EQ(h.Cell(0, 1), L"2008年07月");
    EXPECT_EQ(h.Cell(1, 1), L"500");
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(h.Cell(3, row), L"4432.06") << row;
    EXPECT_EQ(h.Cell(0, 7), L"2009年01月");
    EXPECT_EQ(h.Cell(1, 7), L"317.13");
    for (int row = 7; row <= 18; ++row)
        EXPECT_EQ(h.Cell(3, row), L"4397.72") << row;
    EXPECT_EQ(h.Cell(0, 19), L"2010年01月");
    EXPECT_EQ(h.Cell(1, 19), L"86.69");
    for (int row = 19; row <= 24; ++row)
        EXPECT_EQ(h.Cell(3, row), L"4385") << row;
    EXPECT_EQ(h.Cell(0, 24), L"2010年06月");
    EXPECT_EQ(h.Cell(4, 24), L"0");
    EXPECT_EQ(h.total.value, 105675.01);
    EXPECT_EQ(h.interest.value, 5675.01);
    EXPECT_EQ(h.first.value, 0);
    EXPECT_FALSE(h.first.enabled);
}

TEST(EqualInstalment, FloatingPlanOutsideTheScheduleGivesThePathCResult) {
    Harness c;
    c.in = Floating(100000, 24, {6, 5, 4}, 2008, 7);
    c.Instalment();
    Harness d;
    d.in = c.in;
    d.AddPlan(2015, 3, L"1000.00");
    d.Instalment();
    for (int row = 1; row <= 24; ++row)
        EXPECT_EQ(d.Row(row), c.Row(row)) << row;
    EXPECT_EQ(d.total.value, 105675.01);
    EXPECT_EQ(d.interest.value, 5675.01);
    EXPECT_EQ(d.first.value, 0);
    EXPECT_TRUE(d.messages.empty());
}

TEST(EqualInstalment, FloatingPlanTakesEachRowsCalendarYearRate) {
    Harness d;
    d.in = Floating(100000, 24, {6, 5, 4}, 2008, 7);
    d.AddPlan(2009, 2, L"10000.00");
    d.Instalment();
    EXPECT_EQ(d.Cell(1, 7), L"317.13"); // January 2009 at entry 2, before the prepayment
    EXPECT_EQ(d.Cell(5, 8), L"10000");
    // After the prepayment the payment drops and stays until the next January.
    EXPECT_EQ(d.Cell(3, 9), d.Cell(3, 18));
    EXPECT_NE(d.Cell(3, 9), L"4397.72");
    EXPECT_EQ(d.Cell(4, 24), L"0");
}

TEST(EqualInstalment, ClosedFormEnablesThePaymentBoxAgain) {
    Harness h = FixedTwelve();
    h.AddPlan(2008, 6, L"1000.00");
    h.Instalment();
    EXPECT_FALSE(h.first.enabled);
    h.plan.clear();
    h.Instalment();
    EXPECT_TRUE(h.first.enabled);
    EXPECT_EQ(h.first.value, 8606.64);
}

TEST(EqualInstalment, ALongerPreviousRunLeavesNoStaleRows) {
    Harness h;
    h.in = Fixed(100000, 24, 6, 2008, 1);
    h.Instalment();
    EXPECT_EQ(h.grid.RowCount(), 25);
    h.in.periods = 12;
    h.Instalment();
    EXPECT_EQ(h.grid.RowCount(), 13);
    h.grid.SetRowCount(25); // stored cells of cut rows would come back here
    for (int row = 13; row <= 24; ++row)
        EXPECT_EQ(h.Row(row), Cells(6)) << row;
}

TEST(EqualInstalment, PathBWithoutAMatchingItemEqualsTheClosedForm) {
    Harness a;
    a.in = Fixed(500000, 360, 4.9, 2020, 3);
    a.Instalment();
    Harness b;
    b.in = a.in;
    b.AddPlan(1999, 1, L"1.00");
    b.Instalment();
    for (int row = 1; row <= 360; ++row)
        EXPECT_EQ(b.Row(row), a.Row(row)) << row;
    EXPECT_EQ(b.total.value, a.total.value);
}

TEST(FillInstalmentRows, CountBelowOneWritesNothing) {
    Harness h;
    double total = 123;
    const int before = h.cellWrites;
    EXPECT_EQ(calc::FillInstalmentRows(h.grid, total, 2008, 0.5, 1000, 12, 6, 1, 1), 1000);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(h.cellWrites, before);
}

TEST(ClearScheduleRows, EmptiesEveryRowButTheHeader) {
    Harness h;
    h.grid.cells[0][0] = L"还款时间";
    h.grid.cells[12][5] = L"x";
    h.grid.cells[1][0] = L"y";
    calc::ClearScheduleRows(h.grid);
    EXPECT_EQ(h.Cell(0, 0), L"还款时间");
    EXPECT_EQ(h.Cell(5, 12), L"");
    EXPECT_EQ(h.Cell(0, 1), L"");
    EXPECT_EQ(h.cellWrites, 12 * 6);
}

// A rate as large as the field takes overflows (1 + r)^n even in extended
// precision; the amounts are then huge, but numbers, not NaN.
TEST(EqualInstalment, HugeRatesGiveNumbersNotNaN) {
    for (double rate : {1e25, 1e300}) {
        for (bool withPlan : {false, true}) {
            SCOPED_TRACE(std::to_string(rate) + (withPlan ? " with a plan" : ""));
            Harness h;
            h.in = Fixed(300000, 240, rate, 2008, 1);
            if (withPlan) h.AddPlan(2008, 3, L"1.00");
            ASSERT_TRUE(h.Instalment());
            for (double v : {h.first.value, h.total.value, h.interest.value})
                EXPECT_TRUE(std::isfinite(v));
            for (int row = 1; row < h.grid.RowCount(); ++row)
                for (int col = 1; col <= 4; ++col)
                    ASSERT_EQ(h.Cell(col, row).find_first_of(L"NI"), std::wstring::npos)
                        << "row " << row << " col " << col;
            EXPECT_EQ(h.Cell(4, 240), L"0"); // paid off all the same
        }
    }
}

// A grid that keeps the texts of an earlier, longer or shorter run ends cell
// for cell like a fresh one, also where a plan stops the schedule early and
// in the stored rows that come back when the grid grows again.
TEST(ScheduleGrid, ReusedGridEndsLikeAFreshOne) {
    const struct {
        double periods;
        const wchar_t* plan; // nullptr: none
    } runs[] = {{360, nullptr},     {24, L"1000.00"}, {360, L"2000000.00"},
                {120, L"50000.00"}, {12, nullptr},    {240, L"1.00"}};
    for (bool instalment : {true, false}) {
        Harness reused;
        reused.in = Fixed(1000000, 360, 4.9, 2020, 7);
        for (const auto& run : runs) {
            SCOPED_TRACE(std::to_string(run.periods) + (instalment ? " instalment" : " principal"));
            Harness fresh;
            fresh.in = reused.in;
            fresh.in.periods = run.periods;
            if (run.plan) fresh.AddPlan(2021, 3, run.plan);
            reused.in.periods = run.periods;
            reused.plan = fresh.plan;
            // What the grid shows while a notice is open must match too.
            auto calc = [instalment](Harness& h) {
                std::vector<std::vector<std::wstring>> shown;
                h.in.plan = h.plan;
                calc::ScheduleOutputs out{h.grid, h.first, h.total, h.interest,
                                          [&](const std::wstring&) { shown = h.grid.cells; }};
                instalment ? calc::CalcEqualInstalment(h.in, out)
                           : calc::CalcEqualPrincipal(h.in, out);
                shown.resize(std::min<std::size_t>(shown.size(), std::size_t(h.grid.RowCount())));
                return shown;
            };
            EXPECT_EQ(calc(reused), calc(fresh));
            const int rows = fresh.grid.RowCount();
            ASSERT_EQ(reused.grid.RowCount(), rows);
            reused.grid.SetRowCount(361); // cut rows come back
            fresh.grid.SetRowCount(361);
            for (int row = 1; row <= 360; ++row)
                ASSERT_EQ(reused.Row(row), fresh.Row(row)) << "row " << row;
            reused.grid.SetRowCount(rows);
        }
    }
}

// Rates keep their powers from their second calculation on, in slots that
// later rates take over: a schedule comes out the same the first time, with
// its powers kept, and again after other rates have taken every slot.
TEST(EqualInstalment, FiguresDoNotDependOnTheRatesCalculatedBefore) {
    std::vector<double> rates;
    for (int j = 0; j < 30; ++j)
        rates.push_back(3.1 + 0.07 * j);
    for (bool withPlan : {false, true}) {
        SCOPED_TRACE(withPlan ? "with a plan" : "without a plan");
        auto run = [&] {
            Harness h;
            h.in = Floating(800000, 360, rates, 2019, 5);
            if (withPlan) h.AddPlan(2024, 2, L"90000.00");
            EXPECT_TRUE(h.Instalment());
            return std::pair{h.grid.cells, h.total.value};
        };
        const auto first = run();
        EXPECT_EQ(run(), first);
        for (int i = 0; i < 40; ++i) {
            Harness other;
            other.in = Fixed(50000, 120, 2 + 0.01 * i, 2019, 5);
            ASSERT_TRUE(other.Instalment());
        }
        EXPECT_EQ(run(), first);
        EXPECT_EQ(run(), first);
    }
}
