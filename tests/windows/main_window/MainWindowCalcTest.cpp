// The schedules as a person gets them: inputs typed and picked on the tab,
// 计算 clicked on the tool bar, and the grid and the totals showing what the
// engine gives for those inputs. The figures themselves are the engine's
// tests' business.

#include "../support/MainWindow.h"

#include "calc/Schedule.h"
#include "framework/Utils.h"

#include <string>
#include <utility>
#include <vector>

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

// A grid and three boxes as the engine fills them, for comparison.
struct EngineRun : calc::ScheduleSink {
    struct Box : calc::ResultBox {
        double value = 0;
        bool enabled = true;
        void SetValue(double v) override { value = v; }
        void SetEnabled(bool e) override { enabled = e; }
    } first, total, interest;
    std::vector<std::vector<std::wstring>> cells{13, std::vector<std::wstring>(6)};
    std::wstring message;

    int ColCount() const override { return 6; }
    int RowCount() const override { return int(cells.size()); }
    void SetRowCount(int rows) override {
        cells.resize(size_t(rows), std::vector<std::wstring>(6));
    }
    void SetCell(int col, int row, std::wstring_view text) override {
        cells[size_t(row)][size_t(col)] = text;
    }
};

// One tab's inputs: a single rate is the fixed rate, several the floating
// table; each step submits a plan item (an empty amount withdraws it) and
// computes again.
struct Step {
    std::wstring year, month, amount;
    bool notice = false; // the plan pays the loan off early
};
struct Case {
    const char* name;
    bool principal;
    std::wstring loan, periods, year, month;
    std::vector<std::wstring> rates;
    std::vector<Step> steps;
};

// The window's grid, boxes and message against the engine run on the case's
// own inputs (not read back from the window), with the plan items as submitted.
void ExpectTheEnginesResult(const RepaymentTab& t, const Case& c,
                            const std::vector<std::wstring>& plan, const std::wstring& shown) {
    calc::ScheduleInputs in;
    in.loan = std::stod(c.loan);
    in.periods = std::stod(c.periods);
    in.mode = c.rates.size() == 1 ? calc::RateMode::Fixed : calc::RateMode::Floating;
    in.fixedRate = std::stod(c.rates[0]);
    for (size_t i = 0; i < c.rates.size(); ++i)
        in.rates[i] = std::stod(c.rates[i]);
    in.plan = plan;
    in.firstYear = std::stoi(c.year);
    in.firstMonth = std::stoi(c.month);
    in.decimalSeparator = DecimalSeparator();
    EngineRun run;
    calc::ScheduleOutputs out{run, run.first, run.total, run.interest,
                              [&run](const std::wstring& m) { run.message = m; }};
    if (c.principal)
        calc::CalcEqualPrincipal(in, out);
    else
        calc::CalcEqualInstalment(in, out);
    EXPECT_EQ(shown, run.message);
    ASSERT_EQ(t.grid->RowCount(), run.RowCount());
    for (int r = 1; r < run.RowCount(); ++r)
        EXPECT_EQ(Row(t.grid, r), run.cells[size_t(r)]) << "row " << r;
    const std::pair<TsuiNumberEdit*, const EngineRun::Box*> boxes[] = {
        {t.first, &run.first}, {t.sum, &run.total}, {t.interest, &run.interest}};
    for (const auto& [shown, engine] : boxes) {
        EXPECT_EQ(shown->Value(), engine->value) << WideToUtf8(shown->Name());
        EXPECT_EQ(shown->Enabled(), engine->enabled) << WideToUtf8(shown->Name());
    }
}

} // namespace

TEST(MainWindowCalc, BothTabsShowWhatTheEngineGivesForTheirInputsAndPlans) {
    const Case cases[] = {
        // Closed form, then a plan, an overpaying plan, and none again.
        {"instalment fixed",
         false,
         L"100000",
         L"12",
         L"2008",
         L"01",
         {L"6"},
         {{}, {L"2008", L"06", L"50000"}, {L"2008", L"06", L"60000", true}, {L"2008", L"06", L""}}},
        // Three calendar years of rates; a plan item outside the schedule.
        {"instalment floating",
         false,
         L"100000",
         L"24",
         L"2008",
         L"07",
         {L"6", L"5", L"4"},
         {{}, {L"2010", L"12", L"1000"}}},
        {"principal fixed",
         true,
         L"120000",
         L"12",
         L"2008",
         L"01",
         {L"6"},
         {{}, {L"2008", L"06", L"50000"}, {L"2008", L"06", L"70000", true}}},
        {"principal floating", true, L"120000", L"24", L"2008", L"07", {L"6", L"5", L"4"}, {{}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow w;
        Messages messages(w.get());
        const RepaymentTab t = c.principal ? Principal(w.get()) : Instalment(w.get());
        Enter(w.get(), t, c.loan, c.periods, c.year, c.month);
        if (c.rates.size() == 1)
            TypeInto(t.rate, c.rates[0]);
        else
            FloatingRates(w.get(), t, c.rates);
        EXPECT_EQ(t.rate->Enabled(), c.rates.size() == 1);
        std::vector<std::wstring> plan;
        for (const Step& step : c.steps) {
            if (!step.year.empty() && !step.amount.empty()) {
                Submit(t, step.year, step.month, step.amount);
                plan = {calc::PlanItemText(std::stoi(step.year), std::stoi(step.month),
                                           step.amount + DecimalSeparator() + L"00")};
                ASSERT_EQ(Items(t.plan), plan);
            } else if (!step.year.empty()) {
                ClickItem(t.plan, 0);
                Click(t.withdraw);
                plan.clear();
                ASSERT_EQ(t.plan->Count(), 0);
            }
            EXPECT_EQ(messages.Take(), L"");
            Compute(w.get());
            const std::wstring shown = messages.Take();
            EXPECT_EQ(step.notice, !shown.empty()) << WideToUtf8(shown);
            ExpectTheEnginesResult(t, c, plan, shown);
        }
        // The other tab is untouched.
        const RepaymentTab other = c.principal ? Instalment(w.get()) : Principal(w.get());
        EXPECT_EQ(other.grid->Cells(0, 1), L"");
    }
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
