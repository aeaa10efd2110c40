#include "app/Umain.h"

#include "app/GridScheduleSink.h"
#include "app/UPublicFunction.h"
#include "app/Uabout.h"
#include "app/Version.h"
#include "calc/Money.h"
#include "calc/Schedule.h"
#include "framework/ExtCtrls.h"
#include "framework/ToolBar.h"
#include "framework/Utils.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIDialog.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIPageControl.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIRegister.h"
#include "skin/controls/SUIStatusBar.h"
#include "skin/controls/SUIToolBar.h"

#include <algorithm>
#include <cmath>

TForm1* Form1 = nullptr;

int (*TForm1::CurrentYear)() = [] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return int(now.wYear);
};

namespace {

constexpr int kRateYears = 30;
// The prepayment-year list offers one year per 12 periods; the calculations
// refuse more than this many periods, so more years would only be clutter
// (and an absurd period count would otherwise fill the list for minutes).
constexpr double kMaxPlanPeriods = calc::kMaxPeriods;

// A total shown by a result box of the tab.
class TEditResult : public calc::ResultBox {
  public:
    explicit TEditResult(TsuiNumberEdit& edit) : edit_(edit) {}
    void SetValue(double v) override { edit_.SetValue(v); }
    void SetEnabled(bool enabled) override { edit_.SetEnabled(enabled); }

  private:
    TsuiNumberEdit& edit_;
};

std::wstring PlanKey(const std::wstring& year, const std::wstring& month) {
    return year + L"年" + month + L"月  <";
}

double ItemAmount(const TStringList& items, int index) {
    return calc::PlanItemAmount(items.ValueFromIndex(index), DecimalSeparator());
}

} // namespace

void RegisterProgramClasses() {
    RegisterSkinClasses();
    TForm1::StaticClass();
    TfrmAbout::StaticClass();
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    LoadDescription(L"TForm1");
    // The caption carries the program's version; the frame passes it on to
    // the window text, which the task bar shows.
    suiForm1->SetCaption(MainWindowCaption());
    for (int k = 1; k <= kRateYears; ++k) {
        suiNEper[k - 1] =
            dynamic_cast<TsuiNumberEdit*>(FindComponent(L"suiNEper" + std::to_wstring(k)));
        if (!suiNEper[k - 1])
            throw EComponentError(L"suiNEper" + std::to_wstring(k) + L" is missing");
    }
}

const TClassInfo& TForm1::StaticClass() {
    using T = TForm1;
    static const TClassInfo& info =
        TClassBuilder<T>(L"TForm1", &TForm::StaticClass())
            .Field(L"suiForm1", &T::suiForm1)
            .Field(L"ImageList1", &T::ImageList1)
            .Field(L"suiToolBar1", &T::suiToolBar1)
            .Field(L"TBjs", &T::TBjs)
            .Field(L"TBbcnll", &T::TBbcnll)
            .Field(L"TBdc", &T::TBdc)
            .Field(L"ToolButton1", &T::ToolButton1)
            .Field(L"suiStatusBar1", &T::suiStatusBar1)
            .Field(L"suiPageControl1", &T::suiPageControl1)
            .Field(L"suiTabSheet1", &T::suiTabSheet1)
            .Field(L"suiTabSheet2", &T::suiTabSheet2)
            .Field(L"suiTabSheet3", &T::suiTabSheet3)
            .Field(L"suiMessageDialog1", &T::suiMessageDialog1)
            // 等额本息
            .Field(L"suiGroupBox1", &T::suiGroupBox1)
            .Field(L"Splitter1", &T::Splitter1)
            .Field(L"suiRadioGroup1", &T::suiRadioGroup1)
            .Field(L"suiNEmj", &T::suiNEmj)
            .Field(L"suiNEdj", &T::suiNEdj)
            .Field(L"suiCBajcs", &T::suiCBajcs)
            .Field(L"suiNEdkze", &T::suiNEdkze)
            .Field(L"suiButton6", &T::suiButton6)
            .Field(L"suiComboBox1", &T::suiComboBox1)
            .Field(L"suiNEajqs", &T::suiNEajqs)
            .Field(L"suiGroupBox9", &T::suiGroupBox9)
            .Field(L"suiRBgd", &T::suiRBgd)
            .Field(L"suiNEnll", &T::suiNEnll)
            .Field(L"suiRBfd", &T::suiRBfd)
            .Field(L"suiCBfirstyear", &T::suiCBfirstyear)
            .Field(L"suiCBfirstmonth", &T::suiCBfirstmonth)
            .Field(L"suiGroupBox11", &T::suiGroupBox11)
            .Field(L"suiCBtqyear", &T::suiCBtqyear)
            .Field(L"suiCBtqmonth", &T::suiCBtqmonth)
            .Field(L"suiNEtqse", &T::suiNEtqse)
            .Field(L"suiButton2", &T::suiButton2)
            .Field(L"suiButton3", &T::suiButton3)
            .Field(L"suiListBox1", &T::suiListBox1)
            .Field(L"suiGroupBox2", &T::suiGroupBox2)
            .Field(L"suiGroupBox3", &T::suiGroupBox3)
            .Field(L"suiNEyhke", &T::suiNEyhke)
            .Field(L"suiNEhkze", &T::suiNEhkze)
            .Field(L"suiNElxze", &T::suiNElxze)
            .Field(L"suiGroupBox4", &T::suiGroupBox4)
            .Field(L"suiSG1", &T::suiSG1)
            // 等额本金
            .Field(L"suiGroupBox5", &T::suiGroupBox5)
            .Field(L"Splitter2", &T::Splitter2)
            .Field(L"suiRadioGroup2", &T::suiRadioGroup2)
            .Field(L"suiNEmj2", &T::suiNEmj2)
            .Field(L"suiNEdj2", &T::suiNEdj2)
            .Field(L"suiCBajcs2", &T::suiCBajcs2)
            .Field(L"suiNEdkze2", &T::suiNEdkze2)
            .Field(L"suiButton7", &T::suiButton7)
            .Field(L"suiComboBox2", &T::suiComboBox2)
            .Field(L"suiNEajqs2", &T::suiNEajqs2)
            .Field(L"suiGroupBox10", &T::suiGroupBox10)
            .Field(L"suiRBgd2", &T::suiRBgd2)
            .Field(L"suiNEnll2", &T::suiNEnll2)
            .Field(L"suiRBfd2", &T::suiRBfd2)
            .Field(L"suiCBfirstyear2", &T::suiCBfirstyear2)
            .Field(L"suiCBfirstmonth2", &T::suiCBfirstmonth2)
            .Field(L"suiGroupBox12", &T::suiGroupBox12)
            .Field(L"suiCBtqyear2", &T::suiCBtqyear2)
            .Field(L"suiCBtqmonth2", &T::suiCBtqmonth2)
            .Field(L"suiNEtqse2", &T::suiNEtqse2)
            .Field(L"suiButton4", &T::suiButton4)
            .Field(L"suiButton5", &T::suiButton5)
            .Field(L"suiListBox2", &T::suiListBox2)
            .Field(L"suiGroupBox6", &T::suiGroupBox6)
            .Field(L"suiGroupBox7", &T::suiGroupBox7)
            .Field(L"suiNEybjhke2", &T::suiNEybjhke2)
            .Field(L"suiNEhkze2", &T::suiNEhkze2)
            .Field(L"suiNElxze2", &T::suiNElxze2)
            .Field(L"suiGroupBox8", &T::suiGroupBox8)
            .Field(L"suiSG2", &T::suiSG2)
            // 浮动年利率
            .Field(L"suiNEperone", &T::suiNEperone)
            .Field(L"suiButton1", &T::suiButton1)
            // Handlers.
            .Handler(L"FormShow", &T::FormShow)
            .Handler(L"FormClose", &T::FormClose)
            .Handler(L"suiPageControl1Change", &T::suiPageControl1Change)
            .Handler(L"TBjsClick", &T::TBjsClick)
            .Handler(L"TBbcnllClick", &T::TBbcnllClick)
            .Handler(L"TBdcClick", &T::TBdcClick)
            .Handler(L"ToolButton1Click", &T::ToolButton1Click)
            .Handler(L"suiComboBox1Click", &T::suiComboBox1Click)
            .Handler(L"suiComboBox2Click", &T::suiComboBox2Click)
            .Handler(L"suiRadioGroup1Click", &T::suiRadioGroup1Click)
            .Handler(L"suiRadioGroup2Click", &T::suiRadioGroup2Click)
            .Handler(L"suiRBgdClick", &T::suiRBgdClick)
            .Handler(L"suiRBgd2Click", &T::suiRBgd2Click)
            .Handler(L"suiRBfdClick", &T::suiRBfdClick)
            .Handler(L"suiRBfd2Click", &T::suiRBfd2Click)
            .Handler(L"suiNEajqsChange", &T::suiNEajqsChange)
            .Handler(L"suiNEajqs2Change", &T::suiNEajqs2Change)
            .Handler(L"suiCBfirstyearClick", &T::suiCBfirstyearClick)
            .Handler(L"suiCBfirstyear2Click", &T::suiCBfirstyear2Click)
            .Handler(L"suiNEdkzeChange", &T::suiNEdkzeChange)
            .Handler(L"suiNEdkze2Change", &T::suiNEdkze2Change)
            .Handler(L"suiCBfirstmonthClick", &T::suiCBfirstmonthClick)
            .Handler(L"suiCBfirstmonth2Click", &T::suiCBfirstmonth2Click)
            .Handler(L"suiButton6Click", &T::suiButton6Click)
            .Handler(L"suiButton7Click", &T::suiButton7Click)
            .Handler(L"suiNEdjChange", &T::suiNEdjChange)
            .Handler(L"suiNEdj2Change", &T::suiNEdj2Change)
            .Handler(L"suiCBajcsClick", &T::suiCBajcsClick)
            .Handler(L"suiCBajcs2Click", &T::suiCBajcs2Click)
            .Handler(L"suiButton2Click", &T::suiButton2Click)
            .Handler(L"suiButton4Click", &T::suiButton4Click)
            .Handler(L"suiButton3Click", &T::suiButton3Click)
            .Handler(L"suiButton5Click", &T::suiButton5Click)
            .Handler(L"suiListBox1Click", &T::suiListBox1Click)
            .Handler(L"suiListBox2Click", &T::suiListBox2Click)
            .Handler(L"suiNEperChange", &T::suiNEperChange)
            .Handler(L"suiButton1Click", &T::suiButton1Click)
            .Build();
    return info;
}

TRepaymentTab TForm1::Tab1() const {
    TRepaymentTab t;
    t.mode = suiRadioGroup1;
    t.area = suiNEmj;
    t.price = suiNEdj;
    t.ratio = suiCBajcs;
    t.total = suiNEdkze;
    t.years = suiComboBox1;
    t.periods = suiNEajqs;
    t.fixed = suiRBgd;
    t.floating = suiRBfd;
    t.rate = suiNEnll;
    t.firstYear = suiCBfirstyear;
    t.firstMonth = suiCBfirstmonth;
    t.planYear = suiCBtqyear;
    t.planMonth = suiCBtqmonth;
    t.planAmount = suiNEtqse;
    t.plan = suiListBox1;
    t.grid = suiSG1;
    t.first = suiNEyhke;
    t.sum = suiNEhkze;
    t.interest = suiNElxze;
    return t;
}

TRepaymentTab TForm1::Tab2() const {
    TRepaymentTab t;
    t.mode = suiRadioGroup2;
    t.area = suiNEmj2;
    t.price = suiNEdj2;
    t.ratio = suiCBajcs2;
    t.total = suiNEdkze2;
    t.years = suiComboBox2;
    t.periods = suiNEajqs2;
    t.fixed = suiRBgd2;
    t.floating = suiRBfd2;
    t.rate = suiNEnll2;
    t.firstYear = suiCBfirstyear2;
    t.firstMonth = suiCBfirstmonth2;
    t.planYear = suiCBtqyear2;
    t.planMonth = suiCBtqmonth2;
    t.planAmount = suiNEtqse2;
    t.plan = suiListBox2;
    t.grid = suiSG2;
    t.first = suiNEybjhke2;
    t.sum = suiNEhkze2;
    t.interest = suiNElxze2;
    return t;
}

void TForm1::ShowMessageText(const std::wstring& text) {
    suiMessageDialog1->SetText(text);
    suiMessageDialog1->Execute();
}

// ---------------------------------------------------------------------------
// Window

void TForm1::FormShow(TObject*) {
    RateTable.assign(kRateYears, 0.0);
    LoadRates();

    // The window is shown once, but a second showing must not list years twice.
    suiCBfirstyear->Items().Clear();
    suiCBfirstyear2->Items().Clear();
    const int thisYear = CurrentYear();
    for (int year = 1997; year <= thisYear; ++year) {
        suiCBfirstyear->Items().Add(std::to_wstring(year));
        suiCBfirstyear2->Items().Add(std::to_wstring(year));
    }
    suiCBfirstyear->SetItemIndex(0);
    suiCBfirstyear2->SetItemIndex(0);

    suiCBfirstyearClick(suiCBfirstyear);
    suiCBtqyear->SetItemIndex(0);
    suiCBfirstyear2Click(suiCBfirstyear2);
    suiCBtqyear2->SetItemIndex(0);

    for (TsuiListBox* list : {suiListBox1, suiListBox2}) {
        list->Items().SetNameValueSeparator(L'=');
        list->SetSorted(true);
    }

    const auto& headers = calc::ScheduleHeaders();
    for (TStringGrid* grid : {static_cast<TStringGrid*>(suiSG1), static_cast<TStringGrid*>(suiSG2)})
        for (int c = 0; c < calc::kScheduleColumns; ++c)
            grid->SetCells(c, 0, headers[size_t(c)]);

    TBjs->SetVisible(true);
    TBdc->SetVisible(true);
    TBbcnll->SetVisible(false);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    RateTable.clear();
}

void TForm1::suiPageControl1Change(TObject*) {
    const bool rates = suiPageControl1->ActivePageIndex() >= 2;
    TBbcnll->SetVisible(rates);
    TBdc->SetVisible(!rates);
    TBjs->SetVisible(!rates);
}

bool TForm1::IsShortCut(WORD key, TShiftState shift) {
    const bool ctrl = shift == TShiftState{ssCtrl}, plain = shift == TShiftState{};
    TToolButton* button = nullptr;
    if (plain && key == VK_F5)
        button = TBjs;
    else if (ctrl && key == 'E')
        button = TBdc;
    else if (ctrl && key == 'S')
        button = TBbcnll;
    else if (plain && key == VK_F1)
        button = ToolButton1;
    if (!button) return false;
    // The key of a hidden button is still taken, so an edit never beeps at it.
    // The click leaves the focus where it is, as a click on the tool bar does.
    if (button->Visible() && button->Enabled()) button->Click();
    return true;
}

void TForm1::TBjsClick(TObject*) {
    if (suiPageControl1->ActivePage() == suiTabSheet1)
        CalcEqualInstalment();
    else
        CalcEqualPrincipal();
}

void TForm1::TBbcnllClick(TObject*) {
    bool saved = false;
    try {
        SaveRates();
        saved = true;
    } catch (const std::exception&) {
    }
    ShowMessageText(saved ? L"保存贷款年利率成功！" : L"保存贷款年利率失败！");
}

void TForm1::TBdcClick(TObject*) {
    const int result = suiPageControl1->ActivePage() == suiTabSheet1
                           ? ExportGridToExcel(*suiSG1, L"等额本息贷款分期还款表")
                           : ExportGridToExcel(*suiSG2, L"等额本金贷款分期还款表");
    if (result == 1)
        ShowMessageText(L"导出成功！");
    else if (result == 0)
        ShowMessageText(L"导出失败！");
}

void TForm1::ToolButton1Click(TObject*) {
    ShowAboutWindow(this);
}

// ---------------------------------------------------------------------------
// Calculations

void TForm1::CalcEqualInstalment() {
    Calculate(Tab1(), true);
}

void TForm1::CalcEqualPrincipal() {
    Calculate(Tab2(), false);
}

void TForm1::Calculate(const TRepaymentTab& tab, bool equalInstalment) {
    calc::ScheduleInputs in;
    in.loan = tab.total->Value();
    in.periods = tab.periods->Value();
    in.mode = tab.fixed->Checked()      ? calc::RateMode::Fixed
              : tab.floating->Checked() ? calc::RateMode::Floating
                                        : calc::RateMode::None;
    in.fixedRate = tab.rate->Value();
    for (size_t i = 0; i < in.rates.size() && i < RateTable.size(); ++i)
        in.rates[i] = RateTable[i];
    const std::vector<std::wstring> plan = tab.plan->Items().ToVector();
    in.plan = plan;
    // The year list is empty when the clock is before its first year.
    int firstYear = 0;
    if (TryStrToInt(tab.firstYear->Text(), firstYear)) in.firstYear = firstYear;
    in.firstMonth = StrToInt(tab.firstMonth->Text());
    in.decimalSeparator = DecimalSeparator();

    TGridScheduleSink sink(*tab.grid);
    TEditResult first(*tab.first), sum(*tab.sum), interest(*tab.interest);
    calc::ScheduleOutputs out{sink, first, sum, interest,
                              [this](const std::wstring& text) { ShowMessageText(text); }};
    if (equalInstalment)
        calc::CalcEqualInstalment(in, out);
    else
        calc::CalcEqualPrincipal(in, out);
}

// ---------------------------------------------------------------------------
// Input panels

void TForm1::PeriodsFromYears(const TRepaymentTab& tab) {
    tab.periods->SetValue(StrToInt(tab.years->Text()) * 12.0);
}

void TForm1::EnableByMode(const TRepaymentTab& tab) {
    const bool derive = tab.mode->ItemIndex() == 0;
    tab.area->SetEnabled(derive);
    tab.price->SetEnabled(derive);
    tab.ratio->SetEnabled(derive);
    tab.total->SetEnabled(!derive);
}

void TForm1::RebuildPlanYears(const TRepaymentTab& tab) {
    tab.plan->Items().Clear();
    tab.planYear->Items().Clear();
    const double periods = tab.periods->Value();
    if (std::isnan(periods)) return;
    const long long whole =
        static_cast<long long>(std::trunc(std::clamp(periods, -1e9, kMaxPlanPeriods)));
    const long long n = whole / 12;
    int first = 0;
    // No first year to start from (a clock before 1997): no prepayment years.
    if (n >= 0 && TryStrToInt(tab.firstYear->Text(), first))
        for (long long k = 0; k <= n; ++k)
            tab.planYear->Items().Add(std::to_wstring(first + k));
    if (tab.planYear->Items().Count() > 0) tab.planYear->SetItemIndex(0);
}

void TForm1::RoundTotal(const TRepaymentTab& tab) {
    tab.total->SetValue(calc::RoundToMultiple(tab.total->Value(), 4));
}

void TForm1::DeriveTotal(const TRepaymentTab& tab) {
    if (!(tab.area->Value() > 0)) {
        ShowMessageText(L"面积须大于零！");
        return;
    }
    if (!(tab.price->Value() > 0)) {
        ShowMessageText(L"单价须大于零！");
        return;
    }
    const int tenths = StrToInt(tab.ratio->Text());
    const long double product =
        static_cast<long double>(tab.area->Value()) * tab.price->Value() * tenths / 10;
    tab.total->SetValue(calc::RoundToCents(static_cast<double>(product)));
}

void TForm1::suiComboBox1Click(TObject*) {
    PeriodsFromYears(Tab1());
}
void TForm1::suiComboBox2Click(TObject*) {
    PeriodsFromYears(Tab2());
}
void TForm1::suiRadioGroup1Click(TObject*) {
    EnableByMode(Tab1());
}
void TForm1::suiRadioGroup2Click(TObject*) {
    EnableByMode(Tab2());
}
void TForm1::suiRBgdClick(TObject*) {
    suiNEnll->SetEnabled(true);
}
void TForm1::suiRBgd2Click(TObject*) {
    suiNEnll2->SetEnabled(true);
}
void TForm1::suiRBfdClick(TObject*) {
    suiNEnll->SetEnabled(false);
}
void TForm1::suiRBfd2Click(TObject*) {
    suiNEnll2->SetEnabled(false);
}
void TForm1::suiNEajqsChange(TObject*) {
    RebuildPlanYears(Tab1());
}
void TForm1::suiNEajqs2Change(TObject*) {
    RebuildPlanYears(Tab2());
}
void TForm1::suiCBfirstyearClick(TObject*) {
    RebuildPlanYears(Tab1());
}
void TForm1::suiCBfirstyear2Click(TObject*) {
    RebuildPlanYears(Tab2());
}
void TForm1::suiNEdkzeChange(TObject*) {
    suiListBox1->Items().Clear();
}
void TForm1::suiNEdkze2Change(TObject*) {
    suiListBox2->Items().Clear();
}
void TForm1::suiCBfirstmonthClick(TObject*) {
    suiListBox1->Items().Clear();
}
void TForm1::suiCBfirstmonth2Click(TObject*) {
    suiListBox2->Items().Clear();
}
void TForm1::suiButton6Click(TObject*) {
    RoundTotal(Tab1());
}
void TForm1::suiButton7Click(TObject*) {
    RoundTotal(Tab2());
}
void TForm1::suiNEdjChange(TObject*) {
    DeriveTotal(Tab1());
}
void TForm1::suiNEdj2Change(TObject*) {
    DeriveTotal(Tab2());
}
void TForm1::suiCBajcsClick(TObject*) {
    DeriveTotal(Tab1());
}
void TForm1::suiCBajcs2Click(TObject*) {
    DeriveTotal(Tab2());
}

// ---------------------------------------------------------------------------
// Prepayment plans

void TForm1::SubmitPlanItem(const TRepaymentTab& tab) {
    const std::wstring year = tab.planYear->Text();
    const std::wstring month = tab.planMonth->Text();
    int planMonth = 0, firstMonth = 0;
    if (year == tab.firstYear->Text() && TryStrToInt(month, planMonth) &&
        TryStrToInt(tab.firstMonth->Text(), firstMonth) && planMonth < firstMonth) {
        ShowMessageText(L"提前还贷时间须在还款首月之后！");
        return;
    }
    const double total = tab.total->Value();
    const double amount = tab.planAmount->Value();
    if (!(total > 0)) {
        ShowMessageText(L"贷款总额须大于零！");
        return;
    }
    if (!(amount > 0)) {
        ShowMessageText(L"提前还贷数额须大于零！");
        return;
    }
    if (amount > total) {
        ShowMessageText(L"提前还贷数额须小于等于贷款总额！");
        return;
    }
    TStringList& items = tab.plan->Items();
    const int existing = items.IndexOfName(PlanKey(year, month));
    double sum = amount;
    for (int i = 0; i < items.Count(); ++i)
        if (i != existing) sum += ItemAmount(items, i);
    if (sum > total) {
        ShowMessageText(L"累计提前还贷数额须小于等于贷款总\r额！");
        return;
    }
    if (existing >= 0) items.Delete(existing);
    items.Add(year + L"年" + month + L"月  <=>  " + tab.planAmount->Text() + L"元");
}

void TForm1::WithdrawPlanItems(const TRepaymentTab& tab) {
    tab.plan->DeleteSelected();
}

void TForm1::LoadPlanItemBack(const TRepaymentTab& tab) {
    const int index = tab.plan->ItemIndex();
    const TStringList& items = tab.plan->Items();
    if (index < 0 || index >= items.Count()) return;
    const std::wstring& item = items[index];
    int year = 0, month = 0, firstListed = 0, firstMonthListed = 0;
    if (item.size() < 8 || !TryStrToInt(item.substr(0, 4), year) ||
        !TryStrToInt(item.substr(5, 2), month))
        return;
    const TStringList& years = tab.planYear->Items();
    if (years.Count() > 0 && TryStrToInt(years[0], firstListed)) {
        const int at = year - firstListed;
        if (at >= 0 && at < years.Count()) tab.planYear->SetItemIndex(at);
    }
    const TStringList& months = tab.planMonth->Items();
    if (months.Count() > 0 && TryStrToInt(months[0], firstMonthListed)) {
        const int at = month - firstMonthListed;
        if (at >= 0 && at < months.Count()) tab.planMonth->SetItemIndex(at);
    }
    const std::wstring value = items.ValueFromIndex(index);
    if (value.size() >= 4) tab.planAmount->SetText(value.substr(3, value.size() - 4));
}

void TForm1::suiButton2Click(TObject*) {
    SubmitPlanItem(Tab1());
}
void TForm1::suiButton4Click(TObject*) {
    SubmitPlanItem(Tab2());
}
void TForm1::suiButton3Click(TObject*) {
    WithdrawPlanItems(Tab1());
}
void TForm1::suiButton5Click(TObject*) {
    WithdrawPlanItems(Tab2());
}
void TForm1::suiListBox1Click(TObject*) {
    LoadPlanItemBack(Tab1());
}
// The 等额本金 list loads an item back too: both tabs behave alike.
void TForm1::suiListBox2Click(TObject*) {
    LoadPlanItemBack(Tab2());
}

// ---------------------------------------------------------------------------
// Floating rates

void TForm1::LoadRates() {
    for (int k = 1; k <= kRateYears; ++k) {
        const std::wstring text = ReadSetting(L"PERCENTS", L"percent" + std::to_wstring(k), L"0");
        double v = 0;
        // Unreadable, and also non-finite, values count as 0.
        if (!TryStrToFloat(text, v) || !std::isfinite(v)) v = 0;
        if (size_t(k - 1) < RateTable.size())
            RateTable[size_t(k - 1)] = calc::RoundToMultiple(v, -3);
        suiNEper[k - 1]->SetValue(calc::RoundToMultiple(v, -3));
    }
}

void TForm1::SaveRates() {
    for (size_t i = 0; i < RateTable.size(); ++i)
        WriteSetting(L"PERCENTS", L"percent" + std::to_wstring(i + 1), FloatToStr(RateTable[i]));
}

void TForm1::suiNEperChange(TObject* Sender) {
    auto* edit = dynamic_cast<TComponent*>(Sender);
    if (!edit) return;
    const auto tag = edit->Tag();
    if (tag < 1 || tag > kRateYears || RateTable.size() < size_t(kRateYears)) return;
    RateTable[size_t(tag - 1)] = calc::RoundToMultiple(suiNEper[tag - 1]->Value(), -3);
}

void TForm1::suiButton1Click(TObject*) {
    for (int k = 0; k < kRateYears; ++k)
        suiNEper[k]->SetValue(suiNEperone->Value());
}
