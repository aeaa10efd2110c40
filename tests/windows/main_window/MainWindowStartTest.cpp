// The window as it opens: every control under its name with its initial
// state, the lists filled when shown, and the tool bar following the tabs.

#include "../support/MainWindow.h"

#include "framework/StatusBar.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIStatusBar.h"

using namespace main_window_test;

namespace {

template <class T> int CountOf(TComponent* owner) {
    int n = 0;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (dynamic_cast<T*>(owner->Components(i))) ++n;
    return n;
}

struct ClockAt {
    explicit ClockAt(int (*clock)()) : saved(TForm1::CurrentYear) { TForm1::CurrentYear = clock; }
    ~ClockAt() { TForm1::CurrentYear = saved; }
    int (*saved)();
};

} // namespace

TEST(MainWindowStart, EveryControlIsThereWithItsInitialState) {
    MainWindow w;
    EXPECT_EQ(w->Caption(), L"蓝桉房贷按揭计算器V1.0");
    EXPECT_EQ(w->Width(), 913);
    EXPECT_EQ(w->Height(), 718);
    EXPECT_EQ(CountOf<TsuiNumberEdit>(w.get()), 49);
    EXPECT_EQ(CountOf<TsuiComboBox>(w.get()), 12);
    EXPECT_EQ(CountOf<TsuiListBox>(w.get()), 2);
    EXPECT_EQ(CountOf<TsuiStringGrid>(w.get()), 2);
    EXPECT_EQ(w->suiForm1->UIStyle(), TsuiUIStyle::BlueGlass);
    EXPECT_EQ(w->suiMessageDialog1->Caption(), L"温馨提示");
    EXPECT_EQ(w->suiMessageDialog1->ButtonCount(), 1);
    EXPECT_EQ(w->suiStatusBar1->Panels().Count(), 2);
    EXPECT_EQ(w->suiStatusBar1->Panels()[1].Text(), L"  欢迎反馈使用意见及建议！");

    EXPECT_EQ(w->suiPageControl1->ActivePage(), w->suiTabSheet1);
    EXPECT_EQ(w->suiTabSheet1->Caption(), L"等额本息");
    EXPECT_EQ(w->suiTabSheet2->Caption(), L"等额本金");
    EXPECT_EQ(w->suiTabSheet3->Caption(), L"浮动年利率");

    // Both repayment tabs start alike.
    struct Tab {
        TsuiRadioGroup* mode;
        TsuiNumberEdit *mj, *dj, *dkze, *ajqs, *nll;
        TsuiComboBox *ajcs, *years, *firstMonth, *tqMonth;
        TsuiRadioButton *gd, *fd;
    };
    for (const Tab& t : {Tab{w->suiRadioGroup1, w->suiNEmj, w->suiNEdj, w->suiNEdkze, w->suiNEajqs,
                             w->suiNEnll, w->suiCBajcs, w->suiComboBox1, w->suiCBfirstmonth,
                             w->suiCBtqmonth, w->suiRBgd, w->suiRBfd},
                         Tab{w->suiRadioGroup2, w->suiNEmj2, w->suiNEdj2, w->suiNEdkze2,
                             w->suiNEajqs2, w->suiNEnll2, w->suiCBajcs2, w->suiComboBox2,
                             w->suiCBfirstmonth2, w->suiCBtqmonth2, w->suiRBgd2, w->suiRBfd2}}) {
        EXPECT_EQ(t.mode->ItemIndex(), 1);
        EXPECT_FALSE(t.mj->Enabled());
        EXPECT_FALSE(t.dj->Enabled());
        EXPECT_FALSE(t.ajcs->Enabled());
        EXPECT_TRUE(t.dkze->Enabled());
        EXPECT_EQ(t.ajcs->Text(), L"8");
        EXPECT_EQ(Items(t.ajcs),
                  (std::vector<std::wstring>{L"9", L"8", L"7", L"6", L"5", L"4", L"3", L"2"}));
        EXPECT_EQ(t.years->Text(), L"20");
        EXPECT_EQ(t.ajqs->Value(), 240);
        EXPECT_EQ(t.ajqs->Text(), L"240");
        EXPECT_EQ(t.dkze->Text(), L"0.00");
        EXPECT_EQ(t.nll->Text(), L"0.000");
        EXPECT_TRUE(t.gd->Checked());
        EXPECT_FALSE(t.fd->Checked());
        EXPECT_TRUE(t.nll->Enabled());
        EXPECT_EQ(t.firstMonth->Text(), L"01");
        EXPECT_EQ(t.tqMonth->Text(), L"01");
        EXPECT_EQ(t.firstMonth->Items().Count(), 12);
        EXPECT_EQ(t.dkze->Mask(), L"0.00");
        EXPECT_EQ(t.ajqs->Mask(), L"0");
        EXPECT_EQ(t.nll->Mask(), L"0.000");
    }
    EXPECT_TRUE(w->suiListBox1->MultiSelect());
    EXPECT_FALSE(w->suiListBox2->MultiSelect());
    EXPECT_TRUE(w->suiNEyhke->ReadOnly());
    EXPECT_FALSE(w->suiNEybjhke2->ReadOnly());

    // The rate tab: thirty edits tied to their year by Tag, all 0 without a file.
    ASSERT_EQ(w->Rates().size(), 30u);
    EXPECT_EQ(w->suiNEperone->Tag(), 1); // re-stores year 1 from 第1年's own edit
    for (int k = 1; k <= 30; ++k) {
        EXPECT_EQ(w->suiNEper[k - 1]->Tag(), k);
        EXPECT_EQ(w->suiNEper[k - 1]->Text(), L"0.000");
        EXPECT_EQ(w->Rates()[size_t(k - 1)], 0.0);
    }
}

TEST(MainWindowStart, ListsFilledWhenShownAndHeadersWritten) {
    MainWindow w;
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (TsuiComboBox* first : {w->suiCBfirstyear, w->suiCBfirstyear2}) {
        EXPECT_EQ(Items(first), Years(1997, now.wYear));
        EXPECT_EQ(first->ItemIndex(), 0);
        EXPECT_EQ(first->Text(), L"1997");
    }
    // 240 periods: the first year and twenty more.
    for (TsuiComboBox* plan : {w->suiCBtqyear, w->suiCBtqyear2}) {
        EXPECT_EQ(Items(plan), Years(1997, 2017));
        EXPECT_EQ(plan->Text(), L"1997");
    }
    for (TsuiListBox* list : {w->suiListBox1, w->suiListBox2}) {
        EXPECT_EQ(list->Count(), 0);
        EXPECT_TRUE(list->Sorted());
        EXPECT_EQ(list->Items().NameValueSeparator(), L'=');
    }
    const std::vector<std::wstring> headers{L"还款时间",           L"月利息还款额（元）",
                                            L"月本金还款额（元）", L"月还款额（元）",
                                            L"剩余本金（元）",     L"提前还贷（元）"};
    for (TStringGrid* grid :
         {static_cast<TStringGrid*>(w->suiSG1), static_cast<TStringGrid*>(w->suiSG2)}) {
        EXPECT_EQ(grid->ColCount(), 6);
        EXPECT_EQ(grid->RowCount(), 13);
        EXPECT_EQ(Row(grid, 0), headers);
        for (int r = 1; r < 13; ++r)
            EXPECT_EQ(Row(grid, r), std::vector<std::wstring>(6));
    }
}

TEST(MainWindowStart, AClockIn1997GivesOneYearAndAnEarlierClockNone) {
    {
        ClockAt clock([] { return 1997; });
        MainWindow w;
        EXPECT_EQ(Items(w->suiCBfirstyear), Years(1997, 1997));
        EXPECT_EQ(Items(w->suiCBfirstyear2), Years(1997, 1997));
    }
    {
        ClockAt clock([] { return 1996; });
        MainWindow w;
        EXPECT_EQ(w->suiCBfirstyear->Count(), 0);
        EXPECT_EQ(w->suiCBtqyear->Count(), 0); // no year to start from
        // 计算 then refuses with a message, after the other checks, and
        // leaves the grid as it was.
        for (const RepaymentTab& tab : {Instalment(w.get()), Principal(w.get())}) {
            Open(w, tab);
            Messages messages(w.get());
            ClickTool(w->TBjs);
            EXPECT_EQ(messages.Take(), L"贷款总额须大于零！");
            TypeInto(tab.total, L"100000");
            PickText(tab.years, L"20");
            TypeInto(tab.rate, L"4.9");
            ClickTool(w->TBjs);
            EXPECT_EQ(messages.Take(), L"请选择还款首月的年份！");
            EXPECT_EQ(tab.grid->RowCount(), 13);
            EXPECT_TRUE(messages.others.empty());
        }
    }
}

TEST(MainWindowStart, FieldAndGroupFramesAreBlack) {
    MainWindow w;
    auto pixel = [](TWinControl* c, HDC dc, int x, int y) {
        const COLORREF at = GetPixel(dc, x, y);
        ReleaseDC(c->Handle(), dc);
        return at;
    };
    for (TsuiNumberEdit* edit : {w->suiNEdkze, w->suiNEnll, w->suiNEyhke}) {
        const int y = edit->Height() / 2;
        EXPECT_EQ(pixel(edit, GetWindowDC(edit->Handle()), 0, y), RGB(0, 0, 0)) << edit->Name();
    }
    // The group's left line, below its caption.
    TsuiGroupBox* group = w->suiGroupBox1;
    EXPECT_EQ(pixel(group, GetDC(group->Handle()), 0, group->Height() / 2), RGB(0, 0, 0));
}

TEST(MainWindowStart, ToolBarFollowsTheTabs) {
    MainWindow w;
    auto shown = [&] {
        std::wstring s;
        for (TToolButton* b : {w->TBjs, w->TBbcnll, w->TBdc, w->ToolButton1})
            if (b->Visible()) s += b->Caption();
        return s;
    };
    EXPECT_EQ(shown(), L"计算导出关于");
    ClickTab(w->suiPageControl1, 2);
    EXPECT_EQ(w->suiPageControl1->ActivePage(), w->suiTabSheet3);
    EXPECT_EQ(shown(), L"存档关于");
    ClickTab(w->suiPageControl1, 1);
    EXPECT_EQ(w->suiPageControl1->ActivePage(), w->suiTabSheet2);
    EXPECT_EQ(shown(), L"计算导出关于");
    ClickTab(w->suiPageControl1, 2);
    ClickTab(w->suiPageControl1, 0);
    EXPECT_EQ(w->suiPageControl1->ActivePage(), w->suiTabSheet1);
    EXPECT_EQ(shown(), L"计算导出关于");
}
