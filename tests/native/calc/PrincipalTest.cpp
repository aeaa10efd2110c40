// 等额本金: equal principal parts, interest on the balance before the month.
#include "ScheduleHarness.h"

#include <gtest/gtest.h>

using namespace calc_test;

namespace {

Harness PrincipalFixedTwelve() {
    Harness h;
    h.in = Fixed(120000, 12, 6, 2008, 1);
    return h;
}

} // namespace

TEST(EqualPrincipal, PrepaymentLowersThePrincipalOfTheRemainingMonths) {
    Harness h = PrincipalFixedTwelve();
    h.AddPlan(2008, 6, L"50000.00");
    ASSERT_TRUE(h.Principal());
    Harness plain = PrincipalFixedTwelve();
    plain.Principal();
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(h.Row(row), plain.Row(row)) << row;
    EXPECT_EQ(h.Cell(5, 6), L"50000");
    EXPECT_EQ(h.Cell(4, 6), L"60000");
    EXPECT_EQ(h.Row(7), (Cells{L"2008年07月", L"50", L"1666.67", L"1716.67", L"8333.33", L""}));
    EXPECT_EQ(h.Cell(4, 12), L"0");
    EXPECT_EQ(h.first.value, 0);
    EXPECT_FALSE(h.first.enabled);
    EXPECT_EQ(h.total.value, 123025);
    EXPECT_EQ(h.interest.value, 3025);
}

TEST(EqualPrincipal, FloatingRatesChangeOnlyTheInterest) {
    Harness h;
    h.in = Floating(120000, 24, {6, 5, 4}, 2008, 7);
    ASSERT_TRUE(h.Principal());
    EXPECT_EQ(h.first.value, 5000);
    EXPECT_TRUE(h.first.enabled);
    for (int row = 1; row <= 24; ++row)
        EXPECT_EQ(h.Cell(2, row), L"5000") << row;
    EXPECT_EQ(h.Cell(1, 1), L"600");
    EXPECT_EQ(h.Cell(3, 1), L"5600");
    EXPECT_EQ(h.Cell(0, 7), L"2009年01月");
    EXPECT_EQ(h.Cell(1, 7), L"375");
    EXPECT_EQ(h.Cell(3, 7), L"5375");
    EXPECT_EQ(h.Cell(0, 19), L"2010年01月");
    EXPECT_EQ(h.Cell(1, 19), L"100");
    EXPECT_EQ(h.Cell(3, 19), L"5100");
    EXPECT_EQ(h.Row(24), (Cells{L"2010年06月", L"16.67", L"5000", L"5016.67", L"0", L""}));
    EXPECT_EQ(h.total.value, 126700);
    EXPECT_EQ(h.interest.value, 6700);
}

TEST(EqualPrincipal, OverpayingPlanGivesTheSameNotice) {
    Harness h = PrincipalFixedTwelve();
    h.AddPlan(2008, 6, L"80000.00");
    h.Principal();
    EXPECT_EQ(h.Cell(5, 6), L"60000");
    EXPECT_EQ(h.messages, (Cells{L"2008年06月提前还完贷款，计划超额20000元！"}));
    EXPECT_EQ(h.Row(7), Cells(6));
    EXPECT_EQ(h.total.value, 122850);
    EXPECT_EQ(h.interest.value, 2850);
}

TEST(EqualPrincipal, FloatingPlanDisablesTheBoxAndFollowsTheYears) {
    Harness h;
    h.in = Floating(120000, 24, {6, 5, 4}, 2008, 7);
    h.AddPlan(2020, 1, L"5.00");
    h.Principal();
    EXPECT_EQ(h.first.value, 0);
    EXPECT_FALSE(h.first.enabled);
    EXPECT_EQ(h.Cell(1, 7), L"375");
    EXPECT_EQ(h.Cell(1, 19), L"100");
    EXPECT_EQ(h.total.value, 126700);
}

TEST(EqualPrincipal, ClosedFormLastBalanceShowsZero) {
    Harness h;
    h.in = Fixed(100000, 7, 5.5, 2021, 9); // 100000 / 7 is not exact
    h.Principal();
    EXPECT_EQ(h.Cell(4, 7), L"0");
    EXPECT_EQ(h.Cell(2, 1), L"14285.71");
}
