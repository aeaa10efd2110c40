// The input panel as a person edits it, on both repayment tabs: periods from
// years, prepayment years from periods and first year, the total derived
// from area, price and ratio or rounded to whole ten-thousands, enabling by
// mode, and the plan emptied when a basic term of the loan changes.

#include "../support/MainWindow.h"

#include <chrono>

using namespace main_window_test;

namespace {

using Texts = std::vector<std::wstring>;

void PickMode(const RepaymentTab& p, int item) {
    Click(p.mode->ItemButton(item));
    ASSERT_EQ(p.mode->ItemIndex(), item);
}

} // namespace

TEST(MainWindowInput, PrepaymentYearsFollowPeriodsAndFirstYear) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        PickText(p.years, L"30");
        EXPECT_EQ(p.periods->Text(), L"360");
        EXPECT_EQ(p.periods->Value(), 360);
        EXPECT_EQ(Items(p.planYear), Years(1997, 2027));
        EXPECT_EQ(p.planYear->Text(), L"1997");
        PickText(p.years, L"1");
        EXPECT_EQ(p.periods->Text(), L"12");
        EXPECT_EQ(Items(p.planYear), Years(1997, 1998));

        for (const wchar_t* periods : {L"0", L"7", L"11"}) {
            TypeInto(p.periods, periods);
            EXPECT_EQ(Items(p.planYear), Years(1997, 1997)) << periods;
            EXPECT_EQ(p.planYear->ItemIndex(), 0);
        }
        TypeInto(p.periods, L"13");
        EXPECT_EQ(Items(p.planYear), Years(1997, 1998));

        // The list counts from the first repayment year picked.
        PickText(p.firstYear, L"2008");
        EXPECT_EQ(Items(p.planYear), Years(2008, 2009));
        EXPECT_EQ(p.planYear->Text(), L"2008");

        // Every keystroke rebuilds the list; an absurd count must neither
        // hang nor offer more years than the calculations accept periods.
        const auto start = std::chrono::steady_clock::now();
        TypeInto(p.periods, L"999999999");
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(5));
        EXPECT_EQ(p.periods->Value(), 999999999);
        EXPECT_EQ(Items(p.planYear), Years(2008, 2108));
        EXPECT_EQ(p.planYear->Text(), L"2008");

        PickText(p.years, L"20");
        EXPECT_EQ(p.periods->Text(), L"240");
        EXPECT_EQ(Items(p.planYear), Years(2008, 2028));
    }
    // The second tab's edits left the first tab's list alone.
    EXPECT_EQ(Items(w->suiCBtqyear), Years(2008, 2028));
    EXPECT_EQ(messages.texts, Texts{});
}

TEST(MainWindowInput, TotalFromAreaPriceAndRatio) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        TypeInto(p.total, L"123.00");
        PickMode(p, 0);
        EXPECT_TRUE(p.area->Enabled());
        EXPECT_TRUE(p.price->Enabled());
        EXPECT_TRUE(p.ratio->Enabled());
        EXPECT_FALSE(p.total->Enabled());
        EXPECT_TRUE(p.roundUp->Enabled());
        EXPECT_EQ(p.total->Text(), L"123.00");

        PickText(p.ratio, L"9");
        EXPECT_EQ(messages.Take(), L"面积须大于零！");
        EXPECT_EQ(p.total->Text(), L"123.00");

        TypeInto(p.area, L"100");
        EXPECT_EQ(p.total->Text(), L"123.00"); // the area has no handler of its own
        PickText(p.ratio, L"8");
        EXPECT_EQ(messages.Take(), L"单价须大于零！");
        EXPECT_EQ(p.total->Text(), L"123.00");

        TypeInto(p.price, L"5000.00");
        EXPECT_EQ(messages.texts, Texts{});
        EXPECT_EQ(p.total->Text(), L"400000.00");
        EXPECT_EQ(p.total->Value(), 400000);
        PickText(p.ratio, L"9");
        EXPECT_EQ(p.total->Text(), L"450000.00");
        PickText(p.ratio, L"3");
        EXPECT_EQ(p.total->Text(), L"150000.00");
        TypeInto(p.area, L"89.99");
        TypeInto(p.price, L"12345.67");
        EXPECT_EQ(p.total->Text(), L"333296.05");

        // Switching the mode only enables; nothing is cleared or derived.
        PickMode(p, 1);
        EXPECT_FALSE(p.area->Enabled());
        EXPECT_FALSE(p.price->Enabled());
        EXPECT_FALSE(p.ratio->Enabled());
        EXPECT_TRUE(p.total->Enabled());
        EXPECT_EQ(p.area->Text(), L"89.99");
        EXPECT_EQ(p.price->Text(), L"12345.67");
        EXPECT_EQ(p.ratio->Text(), L"3");
        EXPECT_EQ(p.total->Text(), L"333296.05");
        TypeInto(p.total, L"1000.00");
        PickMode(p, 0);
        EXPECT_EQ(p.total->Text(), L"1000.00");
        EXPECT_EQ(messages.texts, Texts{});
        PickMode(p, 1);

        // The rate field follows the rate mode and keeps its value.
        TypeInto(p.rate, L"4.9");
        Click(p.floating);
        EXPECT_TRUE(p.floating->Checked());
        EXPECT_FALSE(p.rate->Enabled());
        EXPECT_EQ(p.rate->Text(), L"4.900");
        Click(p.fixed);
        EXPECT_TRUE(p.fixed->Checked());
        EXPECT_TRUE(p.rate->Enabled());
        EXPECT_EQ(p.rate->Text(), L"4.900");
    }
    // The first tab's fields are its own.
    EXPECT_EQ(w->suiNEdkze->Text(), L"1000.00");
    EXPECT_EQ(w->suiRadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(messages.texts, Texts{});
}

TEST(MainWindowInput, PriceTypedWithoutAreaComplainsAtEachKeystroke) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        // A message's window takes the focus for a moment; the field being
        // typed into must keep its text as typed, as if it had kept the focus.
        TypeInto(p.amount, L"5");
        ClickTool(w->TBjs); // loan total 0
        EXPECT_EQ(messages.Take(), L"贷款总额须大于零！");
        EXPECT_EQ(p.amount->Text(), L"5");
        // Otherwise each message below would open another inside itself.
        if (p.amount->Text() != L"5") continue;

        PickMode(p, 0);
        TypeInto(p.price, L"5000");
        EXPECT_EQ(messages.texts, Texts(4, L"面积须大于零！"));
        messages.texts.clear();
        EXPECT_EQ(p.price->Text(), L"5000");
        EXPECT_EQ(p.total->Text(), L"0.00");

        // Leaving the price tidies its text, which complains again.
        TypeInto(p.area, L"100");
        EXPECT_FALSE(messages.texts.empty());
        for (const std::wstring& text : messages.texts)
            EXPECT_EQ(text, L"面积须大于零！");
        messages.texts.clear();
        TypeInto(p.price, L"0");
        EXPECT_EQ(messages.Take(), L"单价须大于零！");
        TypeInto(p.price, L"12");
        EXPECT_EQ(messages.texts, Texts{});
        EXPECT_EQ(p.total->Text(), L"960.00");
    }
}

TEST(MainWindowInput, WholeTenThousandsRoundsHalvesToEven) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        const std::pair<const wchar_t*, const wchar_t*> cases[] = {
            {L"123456.78", L"120000.00"}, {L"15000", L"20000.00"}, {L"25000", L"20000.00"},
            {L"35000", L"40000.00"},      {L"5000", L"0.00"},      {L"45000.01", L"50000.00"},
        };
        for (const auto& [typed, shown] : cases) {
            TypeInto(p.total, typed);
            Click(p.roundUp);
            EXPECT_EQ(p.total->Text(), shown) << typed;
        }

        // A total already whole keeps its text, and so its plan.
        TypeInto(p.total, L"20000");
        Submit(p, L"1997", L"03", L"1000");
        ASSERT_EQ(p.plan->Count(), 1);
        Click(p.roundUp);
        EXPECT_EQ(p.total->Text(), L"20000.00");
        EXPECT_EQ(p.plan->Count(), 1);
        TypeInto(p.total, L"26000");
        Submit(p, L"1997", L"03", L"1000");
        ASSERT_EQ(p.plan->Count(), 1);
        Click(p.roundUp);
        EXPECT_EQ(p.total->Text(), L"30000.00");
        EXPECT_EQ(p.plan->Count(), 0);

        // The button works in the derived mode too.
        TypeInto(p.total, L"35000");
        PickMode(p, 0);
        Click(p.roundUp);
        EXPECT_EQ(p.total->Text(), L"40000.00");
        PickMode(p, 1);
    }
    EXPECT_EQ(messages.texts, Texts{});
}

TEST(MainWindowInput, TermChangesEmptyThePlan) {
    MainWindow w;
    Messages messages(w.get());
    for (const RepaymentTab& p : {Instalment(w.get()), Principal(w.get())}) {
        SCOPED_TRACE(p.page);
        Open(w, p);
        PickText(p.firstYear, L"2008");
        PickText(p.firstMonth, L"05");
        TypeInto(p.total, L"300000");
        const auto planned = [&] {
            Submit(p, L"2010", L"06", L"1000");
            ASSERT_EQ(Items(p.plan), Texts{L"2010年06月  <=>  1000.00元"});
        };

        // Loan total and first month: the plan goes, the year list stays.
        planned();
        TypeInto(p.total, L"250000");
        EXPECT_EQ(p.plan->Count(), 0);
        EXPECT_EQ(Items(p.planYear), Years(2008, 2028));
        EXPECT_EQ(p.planYear->Text(), L"2010");
        planned();
        PickText(p.firstMonth, L"07");
        EXPECT_EQ(p.plan->Count(), 0);
        EXPECT_EQ(Items(p.planYear), Years(2008, 2028));
        EXPECT_EQ(p.planYear->Text(), L"2010");
        EXPECT_EQ(p.planMonth->Text(), L"06");

        // Periods and first year: the year list starts over at its first year.
        planned();
        PickText(p.years, L"25");
        EXPECT_EQ(p.plan->Count(), 0);
        EXPECT_EQ(Items(p.planYear), Years(2008, 2033));
        EXPECT_EQ(p.planYear->Text(), L"2008");
        planned();
        TypeInto(p.periods, L"120");
        EXPECT_EQ(p.plan->Count(), 0);
        EXPECT_EQ(Items(p.planYear), Years(2008, 2018));
        EXPECT_EQ(p.planYear->Text(), L"2008");
        planned();
        PickText(p.firstYear, L"2009");
        EXPECT_EQ(p.plan->Count(), 0);
        EXPECT_EQ(Items(p.planYear), Years(2009, 2019));
        EXPECT_EQ(p.planYear->Text(), L"2009");
        EXPECT_EQ(p.planMonth->Text(), L"06");
        planned();
    }
    // Editing the second tab left the first tab's plan in place.
    EXPECT_EQ(Items(w->suiListBox1), Texts{L"2010年06月  <=>  1000.00元"});
    EXPECT_EQ(messages.texts, Texts{});
}
