// The schedules as a person gets them: inputs typed and picked on the tab,
// 计算 clicked on the tool bar, figures read from the grid and the totals.

#include "MainWindowTestSupport.h"

using namespace main_window_test;

namespace {

using Cells = std::vector<std::wstring>;

// Loan, periods and first month typed and picked on the tab.
void Enter(TForm1* f, const RepaymentTab& t, const std::wstring& loan, const std::wstring& periods,
           const std::wstring& year, const std::wstring& month) {
    Open(f, t);
    TypeInto(t.total, loan);
    TypeInto(t.periods, periods);
    PickText(t.firstYear, year);
    PickText(t.firstMonth, month);
}

// The floating rates typed on the rate tab, then back to the tab.
void FloatingRates(TForm1* f, const RepaymentTab& t, const std::vector<std::wstring>& rates) {
    ClickTab(f->suiPageControl1, 2);
    for (size_t i = 0; i < rates.size(); ++i)
        TypeInto(f->suiNEper[i], rates[i]);
    ClickTab(f->suiPageControl1, t.page);
    Click(t.floating);
    ASSERT_TRUE(t.floating->Checked());
}

void Compute(TForm1* f) {
    ClickTool(f->TBjs);
}

} // namespace

TEST(MainWindowCalc, InstalmentFixedRateTwelveMonths) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Instalment(w.get());
    Enter(w.get(), t, L"100000", L"12", L"2008", L"01");
    TypeInto(t.rate, L"6");
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(t.grid->RowCount(), 13);
    EXPECT_EQ(Row(t.grid, 1),
              (Cells{L"2008年01月", L"500", L"8106.64", L"8606.64", L"91893.36", L""}));
    EXPECT_EQ(t.grid->Cells(2, 5), L"8270");
    EXPECT_EQ(Row(t.grid, 12), (Cells{L"2008年12月", L"42.82", L"8563.82", L"8606.64", L"0", L""}));
    EXPECT_EQ(t.first->Text(), L"8606.64");
    EXPECT_TRUE(t.first->Enabled());
    EXPECT_EQ(t.sum->Text(), L"103279.72");
    EXPECT_EQ(t.interest->Text(), L"3279.72");
    // The other tab is untouched.
    EXPECT_EQ(w->suiSG2->Cells(0, 1), L"");
}

TEST(MainWindowCalc, InstalmentWithPlanAndOverpayingPlan) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Instalment(w.get());
    Enter(w.get(), t, L"100000", L"12", L"2008", L"01");
    TypeInto(t.rate, L"6");
    Submit(t, L"2008", L"06", L"50000");
    EXPECT_EQ(messages.Take(), L"");
    ASSERT_EQ(Items(w->suiListBox1), (Cells{L"2008年06月  <=>  50000.00元"}));
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(t.grid->Cells(5, 6), L"50000");
    EXPECT_EQ(t.grid->Cells(4, 6), L"50748.08");
    EXPECT_EQ(Row(t.grid, 7),
              (Cells{L"2008年07月", L"3.74", L"123.13", L"126.87", L"624.95", L""}));
    EXPECT_EQ(t.grid->Cells(4, 12), L"0");
    EXPECT_EQ(t.first->Text(), L"0.00");
    EXPECT_FALSE(t.first->Enabled());
    EXPECT_EQ(t.sum->Text(), L"102401.08");
    EXPECT_EQ(t.interest->Text(), L"2401.08");

    // Replacing the month's item with 60000 pays the loan off in June.
    Submit(t, L"2008", L"06", L"60000");
    ASSERT_EQ(Items(w->suiListBox1), (Cells{L"2008年06月  <=>  60000.00元"}));
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"2008年06月提前还完贷款，计划超额9251.92元！");
    EXPECT_EQ(t.grid->Cells(5, 6), L"50748.08");
    for (int r = 7; r <= 12; ++r)
        EXPECT_EQ(Row(t.grid, r), Cells(6)) << r;
    EXPECT_EQ(t.sum->Text(), L"102387.93");
    EXPECT_EQ(t.interest->Text(), L"2387.93");

    // Without a plan, path A enables the monthly payment again.
    ClickItem(w->suiListBox1, 0);
    Click(w->suiButton3);
    ASSERT_EQ(w->suiListBox1->Count(), 0);
    Compute(w.get());
    EXPECT_TRUE(t.first->Enabled());
    EXPECT_EQ(t.first->Text(), L"8606.64");
}

TEST(MainWindowCalc, InstalmentFloatingRatesAcrossThreeYears) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Instalment(w.get());
    Enter(w.get(), t, L"100000", L"24", L"2008", L"07");
    FloatingRates(w.get(), t, {L"6", L"5", L"4"});
    EXPECT_FALSE(t.rate->Enabled());
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(t.grid->RowCount(), 25);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(t.grid->Cells(3, r), L"4432.06") << r;
    EXPECT_EQ(t.grid->Cells(1, 1), L"500");
    for (int r = 7; r <= 18; ++r)
        EXPECT_EQ(t.grid->Cells(3, r), L"4397.72") << r;
    EXPECT_EQ(t.grid->Cells(1, 7), L"317.13");
    EXPECT_EQ(t.grid->Cells(0, 19), L"2010年01月");
    for (int r = 19; r <= 24; ++r)
        EXPECT_EQ(t.grid->Cells(3, r), L"4385") << r;
    EXPECT_EQ(t.grid->Cells(1, 19), L"86.69");
    EXPECT_EQ(t.grid->Cells(4, 24), L"0");
    EXPECT_EQ(t.sum->Text(), L"105675.01");
    EXPECT_EQ(t.interest->Text(), L"5675.01");

    // A plan item outside the schedule changes no figure, but the path with
    // a plan leaves the monthly payment at 0.
    Submit(t, L"2010", L"12", L"1000");
    EXPECT_EQ(messages.Take(), L"");
    Compute(w.get());
    EXPECT_EQ(t.grid->Cells(3, 7), L"4397.72");
    EXPECT_EQ(t.sum->Text(), L"105675.01");
    EXPECT_EQ(t.first->Text(), L"0.00");
}

TEST(MainWindowCalc, ValidationMessagesLeaveGridAndTotalsAlone) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Instalment(w.get());
    Compute(w.get()); // loan 0
    EXPECT_EQ(messages.Take(), L"贷款总额须大于零！");
    EXPECT_EQ(t.grid->RowCount(), 13);
    EXPECT_EQ(t.sum->Text(), L"0.00");

    TypeInto(t.total, L"100000");
    TypeInto(t.periods, L"0");
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"按揭期数须大于零！");

    TypeInto(t.periods, L"24");
    Compute(w.get()); // fixed rate 0
    EXPECT_EQ(messages.Take(), L"固定年利率须大于零！");

    FloatingRates(w.get(), t, {L"6", L"5"});
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"第3年 年利率须大于零！");
    FloatingRates(w.get(), t, {L"6", L"0", L"4"});
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"第2年 年利率须大于零！");
    EXPECT_EQ(t.grid->RowCount(), 13);
    EXPECT_EQ(t.grid->Cells(0, 1), L"");
}

TEST(MainWindowCalc, PrincipalFixedRateWithAndWithoutPlan) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Principal(w.get());
    Enter(w.get(), t, L"120000", L"12", L"2008", L"01");
    TypeInto(t.rate, L"6");
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(Row(t.grid, 1), (Cells{L"2008年01月", L"600", L"10000", L"10600", L"110000", L""}));
    EXPECT_EQ(t.grid->Cells(1, 2), L"550");
    EXPECT_EQ(t.grid->Cells(3, 2), L"10550");
    EXPECT_EQ(Row(t.grid, 12), (Cells{L"2008年12月", L"50", L"10000", L"10050", L"0", L""}));
    EXPECT_EQ(t.first->Text(), L"10000.00");
    EXPECT_EQ(t.sum->Text(), L"123900.00");
    EXPECT_EQ(t.interest->Text(), L"3900.00");
    EXPECT_EQ(w->suiSG1->Cells(0, 1), L""); // the other tab's grid stays

    Submit(t, L"2008", L"06", L"50000");
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(t.grid->Cells(5, 6), L"50000");
    EXPECT_EQ(t.grid->Cells(4, 6), L"60000");
    EXPECT_EQ(Row(t.grid, 7),
              (Cells{L"2008年07月", L"50", L"1666.67", L"1716.67", L"8333.33", L""}));
    EXPECT_EQ(t.grid->Cells(4, 12), L"0");
    EXPECT_EQ(t.first->Text(), L"0.00");
    EXPECT_FALSE(t.first->Enabled());
    EXPECT_EQ(t.sum->Text(), L"123025.00");
    EXPECT_EQ(t.interest->Text(), L"3025.00");

    // An overpaying item: the same message form with this tab's balance.
    Submit(t, L"2008", L"06", L"70000");
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"2008年06月提前还完贷款，计划超额10000元！");
}

TEST(MainWindowCalc, PrincipalFloatingRates) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Principal(w.get());
    Enter(w.get(), t, L"120000", L"24", L"2008", L"07");
    FloatingRates(w.get(), t, {L"6", L"5", L"4"});
    Compute(w.get());
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(t.first->Text(), L"5000.00");
    EXPECT_TRUE(t.first->Enabled());
    for (int r = 1; r <= 24; ++r)
        EXPECT_EQ(t.grid->Cells(2, r), L"5000") << r;
    EXPECT_EQ(t.grid->Cells(1, 1), L"600");
    EXPECT_EQ(t.grid->Cells(3, 1), L"5600");
    EXPECT_EQ(t.grid->Cells(0, 7), L"2009年01月");
    EXPECT_EQ(t.grid->Cells(1, 7), L"375");
    EXPECT_EQ(t.grid->Cells(3, 7), L"5375");
    EXPECT_EQ(t.grid->Cells(1, 19), L"100");
    EXPECT_EQ(t.grid->Cells(3, 19), L"5100");
    EXPECT_EQ(Row(t.grid, 24), (Cells{L"2010年06月", L"16.67", L"5000", L"5016.67", L"0", L""}));
    EXPECT_EQ(t.sum->Text(), L"126700.00");
    EXPECT_EQ(t.interest->Text(), L"6700.00");
}

TEST(MainWindowCalc, DecemberStartAndNoStaleRowsAfterAShorterRun) {
    MainWindow w;
    Messages messages(w.get());
    const RepaymentTab t = Instalment(w.get());
    Enter(w.get(), t, L"100000", L"24", L"2008", L"12");
    TypeInto(t.rate, L"6");
    Compute(w.get());
    EXPECT_EQ(t.grid->Cells(0, 1), L"2008年12月");
    EXPECT_EQ(t.grid->Cells(0, 2), L"2009年01月");
    EXPECT_EQ(t.grid->RowCount(), 25);
    TypeInto(t.periods, L"6");
    Compute(w.get());
    EXPECT_EQ(t.grid->RowCount(), 7);
    TypeInto(t.periods, L"12");
    Compute(w.get());
    EXPECT_EQ(t.grid->RowCount(), 13);
    EXPECT_EQ(t.grid->Cells(0, 12), L"2009年11月");
    EXPECT_EQ(messages.Take(), L"");
}
