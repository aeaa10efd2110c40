// The prepayment plan as a person keeps it, on both repayment tabs: the
// checks on 提交 in their order, one item per month kept in date order,
// 撤销 of the selected items, an item clicked back into the entry fields,
// and the plan read by 计算.

#include "../support/MainWindow.h"

using namespace main_window_test;

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kTooMuchInAll[] = L"累计提前还贷数额须小于等于贷款总\r额！";

} // namespace

TEST(MainWindowPlan, SubmitChecksInTheirOrder) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        // Loan total 0 comes before the amount, even an amount of 0.
        Submit(p, L"1997", L"01", L"0");
        EXPECT_EQ(messages.Take(), L"贷款总额须大于零！");
        Submit(p, L"1997", L"01", L"1000");
        EXPECT_EQ(messages.Take(), L"贷款总额须大于零！");

        // A month before the first repayment month comes first of all.
        PickText(p.firstYear, L"2008");
        PickText(p.firstMonth, L"05");
        Submit(p, L"2008", L"04", L"1000");
        EXPECT_EQ(messages.Take(), L"提前还贷时间须在还款首月之后！");

        TypeInto(p.total, L"300000");
        Submit(p, L"2008", L"04", L"1000");
        EXPECT_EQ(messages.Take(), L"提前还贷时间须在还款首月之后！");
        Submit(p, L"2008", L"05", L"0");
        EXPECT_EQ(messages.Take(), L"提前还贷数额须大于零！");
        Submit(p, L"2008", L"05", L"300000.01");
        EXPECT_EQ(messages.Take(), L"提前还贷数额须小于等于贷款总额！");
        EXPECT_EQ(p.plan->Count(), 0);

        // The first repayment month itself is allowed, as is an earlier
        // month of a later year.
        Submit(p, L"2008", L"05", L"200000");
        EXPECT_EQ(messages.Take(), L"");
        Submit(p, L"2009", L"01", L"150000");
        EXPECT_EQ(messages.Take(), kTooMuchInAll);
        EXPECT_EQ(Items(p.plan), Texts{L"2008年05月  <=>  200000.00元"});

        // A month's second entry replaces its first, counted without it.
        Submit(p, L"2008", L"05", L"150000");
        EXPECT_EQ(messages.Take(), L"");
        EXPECT_EQ(Items(p.plan), Texts{L"2008年05月  <=>  150000.00元"});
        Submit(p, L"2009", L"01", L"150000");
        EXPECT_EQ(messages.Take(), L""); // exactly the loan total in all
        Submit(p, L"2009", L"04", L"0.01");
        EXPECT_EQ(messages.Take(), kTooMuchInAll);
        Submit(p, L"2009", L"01", L"150000.01");
        EXPECT_EQ(messages.Take(), kTooMuchInAll);
        // An amount equal to the loan total passes its own check.
        Submit(p, L"2010", L"01", L"300000");
        EXPECT_EQ(messages.Take(), kTooMuchInAll);
        EXPECT_EQ(Items(p.plan),
                  (Texts{L"2008年05月  <=>  150000.00元", L"2009年01月  <=>  150000.00元"}));
    }
    EXPECT_EQ(w->suiListBox1->Count(), 2);
}

TEST(MainWindowPlan, ItemsKeptInDateOrderAndWithdrawn) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        TypeInto(p.total, L"300000");
        Submit(p, L"2011", L"03", L"1000");
        Submit(p, L"2009", L"12", L"2000");
        Submit(p, L"2010", L"01", L"3000.5");
        EXPECT_EQ(messages.texts, Texts{});
        const Texts all{L"2009年12月  <=>  2000.00元", L"2010年01月  <=>  3000.50元",
                        L"2011年03月  <=>  1000.00元"};
        ASSERT_EQ(Items(p.plan), all);

        Click(p.withdraw); // nothing selected
        EXPECT_EQ(Items(p.plan), all);

        ClickItem(p.plan, 0);
        ClickItem(p.plan, 2, true);
        Click(p.withdraw);
        if (p.plan == w->suiListBox1) {
            EXPECT_EQ(Items(p.plan), Texts{L"2010年01月  <=>  3000.50元"});
        } else {
            // One item at a time here: the Ctrl+click moved the selection.
            EXPECT_EQ(Items(p.plan),
                      (Texts{L"2009年12月  <=>  2000.00元", L"2010年01月  <=>  3000.50元"}));
        }
        const Texts left = Items(p.plan);
        Click(p.withdraw);
        EXPECT_EQ(Items(p.plan), left);

        ClickItem(p.plan, 0);
        Click(p.withdraw);
        EXPECT_EQ(p.plan->Count(), int(left.size()) - 1);
    }
    EXPECT_EQ(messages.texts, Texts{});
}

TEST(MainWindowPlan, ClickedItemComesBackAndPlanEntersTheSchedule) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        TypeInto(p.total, L"120000");
        TypeInto(p.periods, L"12");
        TypeInto(p.rate, L"6");
        PickText(p.firstYear, L"2008");
        Submit(p, L"2009", L"11", L"1234.5");
        Submit(p, L"2008", L"06", L"40000");
        ASSERT_EQ(Items(p.plan),
                  (Texts{L"2008年06月  <=>  40000.00元", L"2009年11月  <=>  1234.50元"}));
        PickText(p.planYear, L"2008");
        PickText(p.planMonth, L"01");
        TypeInto(p.amount, L"7");

        // Both tabs load a clicked item back alike.
        ClickItem(p.plan, 1);
        EXPECT_EQ(p.planYear->Text(), L"2009");
        EXPECT_EQ(p.planMonth->Text(), L"11");
        EXPECT_EQ(p.amount->Text(), L"1234.50");
        EXPECT_EQ(p.amount->Value(), 1234.5);
        ClickItem(p.plan, 0);
        EXPECT_EQ(p.planYear->Text(), L"2008");
        EXPECT_EQ(p.planMonth->Text(), L"06");
        EXPECT_EQ(p.amount->Text(), L"40000.00");

        // Changed and submitted again, it replaces its month's entry.
        TypeInto(p.amount, L"50000");
        Click(p.submit);
        EXPECT_EQ(Items(p.plan),
                  (Texts{L"2008年06月  <=>  50000.00元", L"2009年11月  <=>  1234.50元"}));

        ClickTool(w->TBjs);
        EXPECT_EQ(messages.texts, Texts{});
        for (int r = 1; r <= 12; ++r)
            EXPECT_EQ(p.grid->Cells(5, r), r == 6 ? L"50000" : L"") << r;
        EXPECT_EQ(p.grid->Cells(4, 12), L"0");
    }
    // Each tab computed from its own plan.
    EXPECT_EQ(w->suiSG1->Cells(4, 6), L"60897.69");
    EXPECT_EQ(w->suiSG2->Cells(4, 6), L"60000");
}
