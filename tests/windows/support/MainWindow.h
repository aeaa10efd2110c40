#pragma once
// Drives the main window as a person would: typing into its edits, picking
// combo items from the dropped list, clicking buttons, tool buttons and tabs,
// and answering every message dialog through the modal seam.

#include "app/Umain.h"
#include "framework/ModalHook.h"
#include "framework/ToolBar.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIDialog.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIPageControl.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUITabControl.h"
#include "skin/controls/SUITitleBar.h"
#include "skin/controls/frmMessage.h"

#include "MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace main_window_test {

// A fresh main window, shown and active; freed at the end of the test.
class MainWindow {
  public:
    MainWindow() {
        form_ = new TForm1(Application);
        form_->Show();
        SetForegroundWindow(form_->Handle());
        PumpUntil([this] { return form_->Active(); });
        Pump();
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() {
        form_->Close();
        form_->Free();
        Pump();
    }
    TForm1* operator->() const { return form_; }
    TForm1* get() const { return form_; }

  private:
    TForm1* form_;
};

inline RECT WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

// The centre of the title bar's button of this type, in the bar's coordinates.
inline POINT ButtonCentre(TsuiTitleBar& bar, TsuiTitleBarBtnType type) {
    for (const auto& place : bar.Layout().buttons)
        if (bar.Buttons(place.index).ButtonType() == type)
            return POINT{(place.rect.left + place.rect.right) / 2,
                         (place.rect.top + place.rect.bottom) / 2};
    ADD_FAILURE() << "no button of type " << int(type);
    return POINT{};
}

// Every message shown through the window's message dialog, answered with OK.
class Messages {
  public:
    explicit Messages(TForm1* form)
        : hook_([this, form](TModalRequest& r) {
              if (r.kind != TModalKind::Form || !r.form) return;
              if (dynamic_cast<TfrmMsg*>(r.form)) {
                  texts.push_back(form->suiMessageDialog1->Text());
                  r.form->SetModalResult(mrOk);
              } else {
                  others.push_back(r.form->ClassName());
                  r.form->SetModalResult(mrCancel);
              }
          }) {}
    // The one message shown since the last Take, or "" when there was none.
    std::wstring Take() {
        std::wstring last = texts.empty() ? L"" : texts.back();
        EXPECT_LE(texts.size(), 1u) << "more than one message";
        texts.clear();
        return last;
    }
    std::vector<std::wstring> texts;
    std::vector<std::wstring> others;

  private:
    TScopedModalHook hook_;
};

// The year texts from … to, as a year combo box lists them.
inline std::vector<std::wstring> Years(int from, int to) {
    std::vector<std::wstring> out;
    for (int y = from; y <= to; ++y)
        out.push_back(std::to_wstring(y));
    return out;
}

// Replaces the edit's text by typing, as the keyboard does.
inline void TypeInto(TsuiNumberEdit* edit, const std::wstring& text) {
    edit->SetFocus();
    Pump();
    SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
    if (text.empty()) SendMessageW(edit->Handle(), WM_CHAR, VK_BACK, 1);
    for (wchar_t ch : text)
        SendMessageW(edit->Handle(), WM_CHAR, ch, 1);
    Pump();
}

// Picks item index from the dropped list with the mouse.
inline void Pick(TComboBox* combo, int index) {
    ASSERT_TRUE(combo->Enabled());
    ASSERT_LT(index, combo->Items().Count());
    bool clicked = false;
    auto before = combo->OnClick;
    combo->OnClick = [&](TObject* s) {
        clicked = true;
        if (before) before(s);
    };
    combo->SetDroppedDown(true);
    Pump();
    HWND list = combo->ListHandle();
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    POINT p{item.left + 5, (item.top + item.bottom) / 2};
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    // Picking the item already selected is no pick, so no click to wait for.
    PumpUntil([&] { return clicked; }, 500);
    Pump();
    combo->OnClick = before;
    EXPECT_EQ(combo->ItemIndex(), index);
}

// Picks the item with this text.
inline void PickText(TComboBox* combo, const std::wstring& text) {
    const int index = combo->Items().IndexOf(text);
    ASSERT_GE(index, 0) << "no item " << std::string(text.begin(), text.end());
    Pick(combo, index);
}

inline void Click(TWinControl* control) {
    const int x = control->Width() / 2, y = control->Height() / 2;
    SendMessageW(control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

inline void ClickTool(TToolButton* button) {
    ASSERT_TRUE(button->Visible());
    TToolBar* bar = button->ToolBar();
    const RECT r = bar->ButtonRect(button);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

// Clicks the tab of page index on the strip.
inline void ClickTab(TsuiPageControl* pc, int index) {
    TsuiTabControlTopPanel& strip = pc->TabPanel();
    int x = strip.LeftMargin();
    for (int i = 0; i < index; ++i)
        x += std::max(0, strip.TabWidth(i));
    x += std::max(2, strip.TabWidth(index)) / 2;
    const int y = strip.TabHeight() / 2;
    strip.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    strip.Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

// Clicks item index of a list box (with Ctrl to add to a multiple selection).
inline void ClickItem(TListBox* list, int index, bool ctrl = false) {
    const RECT r = list->ItemRect(index);
    const int x = r.left + 5, y = (r.top + r.bottom) / 2;
    HeldKeys held(false, ctrl);
    const WPARAM keys = ctrl ? MK_CONTROL : 0;
    SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    SendMessageW(list->Handle(), WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    Pump();
}

inline std::vector<std::wstring> Items(const TCustomListControl* list) {
    return list->Items().ToVector();
}

// Row r of a grid, columns 0 to 5.
inline std::vector<std::wstring> Row(const TStringGrid* grid, int r) {
    std::vector<std::wstring> cells;
    for (int c = 0; c < 6; ++c)
        cells.push_back(grid->Cells(c, r));
    return cells;
}

// The controls of one repayment tab, so that a test runs alike on both.
struct RepaymentTab {
    int page = 0;
    TsuiRadioGroup* mode = nullptr;
    TsuiNumberEdit *area = nullptr, *price = nullptr, *total = nullptr, *periods = nullptr,
                   *rate = nullptr, *amount = nullptr;
    TsuiNumberEdit *first = nullptr, *sum = nullptr, *interest = nullptr; // the totals
    TsuiComboBox *ratio = nullptr, *years = nullptr, *firstYear = nullptr, *firstMonth = nullptr,
                 *planYear = nullptr, *planMonth = nullptr;
    TsuiButton *roundUp = nullptr, *submit = nullptr, *withdraw = nullptr;
    TsuiRadioButton *fixed = nullptr, *floating = nullptr;
    TsuiListBox* plan = nullptr;
    TStringGrid* grid = nullptr;
};

inline RepaymentTab Instalment(TForm1* f) {
    RepaymentTab t;
    t.page = 0;
    t.mode = f->suiRadioGroup1;
    t.area = f->suiNEmj;
    t.price = f->suiNEdj;
    t.total = f->suiNEdkze;
    t.periods = f->suiNEajqs;
    t.rate = f->suiNEnll;
    t.amount = f->suiNEtqse;
    t.first = f->suiNEyhke;
    t.sum = f->suiNEhkze;
    t.interest = f->suiNElxze;
    t.ratio = f->suiCBajcs;
    t.years = f->suiComboBox1;
    t.firstYear = f->suiCBfirstyear;
    t.firstMonth = f->suiCBfirstmonth;
    t.planYear = f->suiCBtqyear;
    t.planMonth = f->suiCBtqmonth;
    t.roundUp = f->suiButton6;
    t.submit = f->suiButton2;
    t.withdraw = f->suiButton3;
    t.fixed = f->suiRBgd;
    t.floating = f->suiRBfd;
    t.plan = f->suiListBox1;
    t.grid = f->suiSG1;
    return t;
}

inline RepaymentTab Principal(TForm1* f) {
    RepaymentTab t;
    t.page = 1;
    t.mode = f->suiRadioGroup2;
    t.area = f->suiNEmj2;
    t.price = f->suiNEdj2;
    t.total = f->suiNEdkze2;
    t.periods = f->suiNEajqs2;
    t.rate = f->suiNEnll2;
    t.amount = f->suiNEtqse2;
    t.first = f->suiNEybjhke2;
    t.sum = f->suiNEhkze2;
    t.interest = f->suiNElxze2;
    t.ratio = f->suiCBajcs2;
    t.years = f->suiComboBox2;
    t.firstYear = f->suiCBfirstyear2;
    t.firstMonth = f->suiCBfirstmonth2;
    t.planYear = f->suiCBtqyear2;
    t.planMonth = f->suiCBtqmonth2;
    t.roundUp = f->suiButton7;
    t.submit = f->suiButton4;
    t.withdraw = f->suiButton5;
    t.fixed = f->suiRBgd2;
    t.floating = f->suiRBfd2;
    t.plan = f->suiListBox2;
    t.grid = f->suiSG2;
    return t;
}

// Turns to the tab unless it is the active one.
inline void Open(TForm1* f, const RepaymentTab& t) {
    if (f->suiPageControl1->ActivePageIndex() != t.page) ClickTab(f->suiPageControl1, t.page);
}
inline void Open(MainWindow& w, const RepaymentTab& t) {
    Open(w.get(), t);
}

// A prepayment picked, typed and submitted with 提交.
inline void Submit(const RepaymentTab& t, const std::wstring& year, const std::wstring& month,
                   const std::wstring& amount) {
    PickText(t.planYear, year);
    PickText(t.planMonth, month);
    TypeInto(t.amount, amount);
    Click(t.submit);
}

} // namespace main_window_test
