// The main window: the tool bar, the 等额本息 and 等额本金 tabs with their
// input panels, plan lists and schedules, and the 浮动年利率 tab.
#pragma once

#include "framework/Forms.h"

#include <vector>

class TCustomImageList;
class TLabel;
class TSplitter;
class TStringGrid;
class TToolButton;
class TsuiButton;
class TsuiComboBox;
class TsuiForm;
class TsuiGroupBox;
class TsuiListBox;
class TsuiMessageDialog;
class TsuiNumberEdit;
class TsuiPageControl;
class TsuiRadioButton;
class TsuiRadioGroup;
class TsuiStatusBar;
class TsuiStringGrid;
class TsuiTabSheet;
class TsuiToolBar;

// The controls one repayment tab works with; both tabs share the handlers'
// logic through this.
struct TRepaymentTab {
    TsuiRadioGroup* mode = nullptr;
    TsuiNumberEdit* area = nullptr;
    TsuiNumberEdit* price = nullptr;
    TsuiComboBox* ratio = nullptr;
    TsuiNumberEdit* total = nullptr;
    TsuiComboBox* years = nullptr;
    TsuiNumberEdit* periods = nullptr;
    TsuiRadioButton* fixed = nullptr;
    TsuiRadioButton* floating = nullptr;
    TsuiNumberEdit* rate = nullptr;
    TsuiComboBox* firstYear = nullptr;
    TsuiComboBox* firstMonth = nullptr;
    TsuiComboBox* planYear = nullptr;
    TsuiComboBox* planMonth = nullptr;
    TsuiNumberEdit* planAmount = nullptr;
    TsuiListBox* plan = nullptr;
    TsuiStringGrid* grid = nullptr;
    TsuiNumberEdit* first = nullptr; // 月还款额 or 月本金还款额
    TsuiNumberEdit* sum = nullptr;   // 还款总额
    TsuiNumberEdit* interest = nullptr;
};

class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The 30 floating rates in percent; empty until the window is shown.
    const std::vector<double>& Rates() const { return RateTable; }
    // Today's year for the first-repayment lists; tests put in another clock.
    static int (*CurrentYear)();

    // Window.
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void suiPageControl1Change(TObject* Sender);
    void TBjsClick(TObject* Sender);
    void TBbcnllClick(TObject* Sender);
    void TBdcClick(TObject* Sender);
    void ToolButton1Click(TObject* Sender);

    // F5 计算, Ctrl+E 导出, Ctrl+S 存档 and F1 关于: each runs its tool
    // button's click while the button shows, before any control sees the key.
    bool IsShortCut(WORD key, TShiftState shift) override;

    // The calculations over the active tab's controls.
    void CalcEqualInstalment();
    void CalcEqualPrincipal();

    // Input panels.
    void suiComboBox1Click(TObject* Sender);
    void suiComboBox2Click(TObject* Sender);
    void suiRadioGroup1Click(TObject* Sender);
    void suiRadioGroup2Click(TObject* Sender);
    void suiRBgdClick(TObject* Sender);
    void suiRBgd2Click(TObject* Sender);
    void suiRBfdClick(TObject* Sender);
    void suiRBfd2Click(TObject* Sender);
    void suiNEajqsChange(TObject* Sender);
    void suiNEajqs2Change(TObject* Sender);
    void suiCBfirstyearClick(TObject* Sender);
    void suiCBfirstyear2Click(TObject* Sender);
    void suiNEdkzeChange(TObject* Sender);
    void suiNEdkze2Change(TObject* Sender);
    void suiCBfirstmonthClick(TObject* Sender);
    void suiCBfirstmonth2Click(TObject* Sender);
    void suiButton6Click(TObject* Sender);
    void suiButton7Click(TObject* Sender);
    void suiNEdjChange(TObject* Sender);
    void suiNEdj2Change(TObject* Sender);
    void suiCBajcsClick(TObject* Sender);
    void suiCBajcs2Click(TObject* Sender);

    // Prepayment plans.
    void suiButton2Click(TObject* Sender);
    void suiButton4Click(TObject* Sender);
    void suiButton3Click(TObject* Sender);
    void suiButton5Click(TObject* Sender);
    void suiListBox1Click(TObject* Sender);
    void suiListBox2Click(TObject* Sender);

    // Floating rates.
    void LoadRates();
    void SaveRates();
    void suiNEperChange(TObject* Sender);
    void suiButton1Click(TObject* Sender);

    // Components of the description.
    TsuiForm* suiForm1 = nullptr;
    TCustomImageList* ImageList1 = nullptr;
    TsuiToolBar* suiToolBar1 = nullptr;
    TToolButton* TBjs = nullptr;
    TToolButton* TBbcnll = nullptr;
    TToolButton* TBdc = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TsuiStatusBar* suiStatusBar1 = nullptr;
    TsuiPageControl* suiPageControl1 = nullptr;
    TsuiTabSheet* suiTabSheet1 = nullptr;
    TsuiTabSheet* suiTabSheet2 = nullptr;
    TsuiTabSheet* suiTabSheet3 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;

    TsuiGroupBox* suiGroupBox1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TsuiRadioGroup* suiRadioGroup1 = nullptr;
    TsuiNumberEdit* suiNEmj = nullptr;
    TsuiNumberEdit* suiNEdj = nullptr;
    TsuiComboBox* suiCBajcs = nullptr;
    TsuiNumberEdit* suiNEdkze = nullptr;
    TsuiButton* suiButton6 = nullptr;
    TsuiComboBox* suiComboBox1 = nullptr;
    TsuiNumberEdit* suiNEajqs = nullptr;
    TsuiGroupBox* suiGroupBox9 = nullptr;
    TsuiRadioButton* suiRBgd = nullptr;
    TsuiNumberEdit* suiNEnll = nullptr;
    TsuiRadioButton* suiRBfd = nullptr;
    TsuiComboBox* suiCBfirstyear = nullptr;
    TsuiComboBox* suiCBfirstmonth = nullptr;
    TsuiGroupBox* suiGroupBox11 = nullptr;
    TsuiComboBox* suiCBtqyear = nullptr;
    TsuiComboBox* suiCBtqmonth = nullptr;
    TsuiNumberEdit* suiNEtqse = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiButton* suiButton3 = nullptr;
    TsuiListBox* suiListBox1 = nullptr;
    TsuiGroupBox* suiGroupBox2 = nullptr;
    TsuiGroupBox* suiGroupBox3 = nullptr;
    TsuiNumberEdit* suiNEyhke = nullptr;
    TsuiNumberEdit* suiNEhkze = nullptr;
    TsuiNumberEdit* suiNElxze = nullptr;
    TsuiGroupBox* suiGroupBox4 = nullptr;
    TsuiStringGrid* suiSG1 = nullptr;

    TsuiGroupBox* suiGroupBox5 = nullptr;
    TSplitter* Splitter2 = nullptr;
    TsuiRadioGroup* suiRadioGroup2 = nullptr;
    TsuiNumberEdit* suiNEmj2 = nullptr;
    TsuiNumberEdit* suiNEdj2 = nullptr;
    TsuiComboBox* suiCBajcs2 = nullptr;
    TsuiNumberEdit* suiNEdkze2 = nullptr;
    TsuiButton* suiButton7 = nullptr;
    TsuiComboBox* suiComboBox2 = nullptr;
    TsuiNumberEdit* suiNEajqs2 = nullptr;
    TsuiGroupBox* suiGroupBox10 = nullptr;
    TsuiRadioButton* suiRBgd2 = nullptr;
    TsuiNumberEdit* suiNEnll2 = nullptr;
    TsuiRadioButton* suiRBfd2 = nullptr;
    TsuiComboBox* suiCBfirstyear2 = nullptr;
    TsuiComboBox* suiCBfirstmonth2 = nullptr;
    TsuiGroupBox* suiGroupBox12 = nullptr;
    TsuiComboBox* suiCBtqyear2 = nullptr;
    TsuiComboBox* suiCBtqmonth2 = nullptr;
    TsuiNumberEdit* suiNEtqse2 = nullptr;
    TsuiButton* suiButton4 = nullptr;
    TsuiButton* suiButton5 = nullptr;
    TsuiListBox* suiListBox2 = nullptr;
    TsuiGroupBox* suiGroupBox6 = nullptr;
    TsuiGroupBox* suiGroupBox7 = nullptr;
    TsuiNumberEdit* suiNEybjhke2 = nullptr;
    TsuiNumberEdit* suiNEhkze2 = nullptr;
    TsuiNumberEdit* suiNElxze2 = nullptr;
    TsuiGroupBox* suiGroupBox8 = nullptr;
    TsuiStringGrid* suiSG2 = nullptr;

    TsuiNumberEdit* suiNEper[30] = {};
    TsuiNumberEdit* suiNEperone = nullptr;
    TsuiButton* suiButton1 = nullptr;

  private:
    TRepaymentTab Tab1() const;
    TRepaymentTab Tab2() const;
    void ShowMessageText(const std::wstring& text);
    void Calculate(const TRepaymentTab& tab, bool equalInstalment);
    void PeriodsFromYears(const TRepaymentTab& tab);
    void EnableByMode(const TRepaymentTab& tab);
    void RebuildPlanYears(const TRepaymentTab& tab);
    void RoundTotal(const TRepaymentTab& tab);
    void DeriveTotal(const TRepaymentTab& tab);
    void SubmitPlanItem(const TRepaymentTab& tab);
    void WithdrawPlanItems(const TRepaymentTab& tab);
    void LoadPlanItemBack(const TRepaymentTab& tab);

    std::vector<double> RateTable;
};

extern TForm1* Form1;

// Makes every class the program's form descriptions name known, the skin's
// and the framework's included; called once at start-up, harmless again.
void RegisterProgramClasses();
