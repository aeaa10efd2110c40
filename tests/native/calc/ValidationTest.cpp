// Checks run in a fixed order; the first failure is shown and nothing else
// changes. Also the limits kept on inputs that would otherwise read past the
// rate table, divide by zero or overflow.
#include "ScheduleHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace calc_test;

namespace {

std::vector<std::wstring> MessagesOf(calc::ScheduleInputs in, bool instalment) {
    Harness h;
    h.in = in;
    const bool ran = instalment ? h.Instalment() : h.Principal();
    EXPECT_FALSE(ran);
    // A refused run only shows its message.
    EXPECT_EQ(h.log, Cells{L"message"});
    EXPECT_EQ(h.cellWrites, 0);
    return h.messages;
}

} // namespace

TEST(Validation, MessagesInTheirOrderForBothMethods) {
    for (bool instalment : {true, false}) {
        EXPECT_EQ(MessagesOf(Fixed(0, 12, 6, 2008, 1), instalment), Cells{L"贷款总额须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(-5, 0, 0, 2008, 1), instalment), Cells{L"贷款总额须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, 0, 6, 2008, 1), instalment), Cells{L"按揭期数须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, 0, 0, 2008, 1), instalment), Cells{L"按揭期数须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, 12, 0, 2008, 1), instalment),
                  Cells{L"固定年利率须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, 12, -1, 2008, 1), instalment),
                  Cells{L"固定年利率须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, 1201, 0, 2008, 1), instalment),
                  Cells{L"按揭期数须小于等于1200！"});
        EXPECT_EQ(MessagesOf(Fixed(std::nan(""), 12, 6, 2008, 1), instalment),
                  Cells{L"贷款总额须大于零！"});
        EXPECT_EQ(MessagesOf(Fixed(1000, INFINITY, 6, 2008, 1), instalment),
                  Cells{L"按揭期数须小于等于1200！"});
        // No year to start from is refused last, once the inputs are valid.
        auto noYear = [](calc::ScheduleInputs in) {
            in.firstYear.reset();
            return in;
        };
        EXPECT_EQ(MessagesOf(noYear(Fixed(0, 12, 6, 2008, 1)), instalment),
                  Cells{L"贷款总额须大于零！"});
        EXPECT_EQ(MessagesOf(noYear(Fixed(1000, 12, 6, 2008, 1)), instalment),
                  Cells{L"请选择还款首月的年份！"});
        EXPECT_EQ(MessagesOf(noYear(Floating(1000, 12, {6, 6}, 2008, 1)), instalment),
                  Cells{L"请选择还款首月的年份！"});
    }
}

TEST(Validation, FloatingEntriesUpToTruncNDiv12PlusOne) {
    for (bool instalment : {true, false}) {
        // 24 periods from January touch two years but entry 3 is checked too.
        EXPECT_EQ(MessagesOf(Floating(100000, 24, {6, 5, 0}, 2008, 1), instalment),
                  Cells{L"第3年 年利率须大于零！"});
        EXPECT_EQ(MessagesOf(Floating(100000, 24, {6, 0, 0}, 2008, 1), instalment),
                  Cells{L"第2年 年利率须大于零！"});
        EXPECT_EQ(MessagesOf(Floating(100000, 24, {}, 2008, 1), instalment),
                  Cells{L"第1年 年利率须大于零！"});
    }
}

TEST(Validation, FloatingAlsoChecksEveryCalendarYearTheScheduleReaches) {
    // 14 periods from December reach a third calendar year (January of Y0 + 2),
    // one beyond Trunc(n) div 12 + 1 = 2.
    EXPECT_EQ(MessagesOf(Floating(100000, 14, {6, 5, 0}, 2008, 12), true),
              Cells{L"第3年 年利率须大于零！"});
    Harness ok;
    ok.in = Floating(100000, 14, {6, 5, 0}, 2008, 11); // ends in December of Y0 + 1
    EXPECT_TRUE(ok.Instalment());
}

TEST(Validation, ThirtyYearsOfFloatingRatesAreUsable) {
    std::vector<double> rates(30);
    for (int j = 0; j < 30; ++j)
        rates[static_cast<std::size_t>(j)] = 4 + j * 0.05;
    for (bool instalment : {true, false}) {
        // From January: entries 1 to 30 exactly; no 31st entry is asked for.
        Harness jan;
        jan.in = Floating(1000000, 360, rates, 2010, 1);
        EXPECT_TRUE(instalment ? jan.Instalment() : jan.Principal());
        EXPECT_EQ(jan.Cell(4, 360), L"0");
        // From July the 31st calendar year keeps entry 30's rate, so its
        // payment carries on unchanged through January.
        Harness jul;
        jul.in = Floating(1000000, 360, rates, 2010, 7);
        EXPECT_TRUE(instalment ? jul.Instalment() : jul.Principal());
        EXPECT_EQ(jul.Cell(0, 355), L"2040年01月");
        EXPECT_EQ(jul.Cell(4, 360), L"0");
        if (instalment) {
            EXPECT_EQ(jul.Cell(3, 355), jul.Cell(3, 354));
        }
        EXPECT_TRUE(jul.messages.empty());
    }
}

TEST(Validation, NoRadioButtonSelectedDoesNothingAfterTheChecks) {
    Harness h;
    h.in = Fixed(1000, 12, 6, 2008, 1);
    h.in.mode = calc::RateMode::None;
    EXPECT_TRUE(h.Instalment());
    EXPECT_TRUE(h.log.empty());
    h.in.loan = 0;
    EXPECT_FALSE(h.Instalment());
}

TEST(ExtremeInputs, GiveTextsAndNeverCrash) {
    struct Case {
        double loan, periods, rate;
    };
    for (Case c : {Case{1e300, 1200, 1e6}, Case{1e300, 360, 5}, Case{1.7e308, 1200, 1e6},
                   Case{0.01, 1200, 1e-30}, Case{1e300, 1, 1e300}, Case{1e-300, 12, 6}}) {
        for (bool instalment : {true, false}) {
            for (bool withPlan : {false, true}) {
                Harness h;
                h.in = Fixed(c.loan, c.periods, c.rate, 2008, 1);
                if (withPlan) h.AddPlan(2008, 2, L"1.00");
                EXPECT_TRUE(instalment ? h.Instalment() : h.Principal());
                // Every row is written unless a plan paid the loan off.
                if (h.messages.empty()) {
                    for (int row = 1; row < h.grid.RowCount(); ++row)
                        EXPECT_FALSE(h.Cell(4, row).empty()) << row;
                }
            }
        }
    }
}

TEST(ExtremeInputs, AVanishingRateBehavesLikeAnInterestFreeLoan) {
    Harness h;
    h.in = Fixed(120000, 12, 1e-25, 2008, 1);
    h.Instalment();
    EXPECT_EQ(h.first.value, 10000);
    EXPECT_EQ(h.Row(1), (Cells{L"2008年01月", L"0", L"10000", L"10000", L"110000", L""}));
    EXPECT_EQ(h.Cell(4, 12), L"0");
    Harness b;
    b.in = h.in;
    b.AddPlan(2008, 6, L"60000.00");
    b.Instalment();
    EXPECT_EQ(b.Cell(3, 6), L"10000");
    EXPECT_EQ(b.messages, Cells{L"2008年06月提前还完贷款"});
}

TEST(ExtremeInputs, FractionalPeriodsUseTruncForRowsAndNForFormulas) {
    Harness h;
    h.in = Fixed(100000, 12.5, 6, 2008, 1);
    h.Instalment();
    EXPECT_EQ(h.grid.RowCount(), 13);
    EXPECT_NE(h.Cell(4, 12), L"0"); // half a period is still owed
}

TEST(PlanItems, TextAndAmount) {
    EXPECT_EQ(calc::PlanItemText(2010, 5, L"50000.00"), L"2010年05月  <=>  50000.00元");
    EXPECT_EQ(calc::PlanItemAmount(L">  50000.00元", L'.'), 50000);
    EXPECT_EQ(calc::PlanItemAmount(L">  50000,5元", L','), 50000.5);
    EXPECT_EQ(calc::PlanItemAmount(L">  50000,5元", L'.'), 0);
    EXPECT_EQ(calc::PlanItemAmount(L">元", L'.'), 0);
    EXPECT_EQ(calc::PlanItemAmount(L"", L'.'), 0);
}

TEST(PlanItems, TheCommaSeparatorRunsThroughTheWholeSchedule) {
    Harness h;
    h.in = Fixed(100000, 12, 6, 2008, 1);
    h.in.decimalSeparator = L',';
    h.AddPlan(2008, 6, L"50000,00");
    h.Instalment();
    EXPECT_EQ(h.Cell(4, 6), L"50748,08");
    EXPECT_EQ(h.Cell(5, 6), L"50000");
    EXPECT_EQ(h.total.value, 102401.08);
}
