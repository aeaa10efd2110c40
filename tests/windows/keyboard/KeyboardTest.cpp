// The main window used from the keyboard alone: the command keys, Tab and
// Ctrl+Tab, focused buttons, and the keys of the message and About windows.
// Keys are posted to the focused window and go through the message loop, as
// the keyboard's do.

#include "MainWindowTestSupport.h"

#include "app/Uabout.h"
#include "../support/Painted.h"
#include "../support/ScratchFolder.h"

#include <map>

using namespace main_window_test;

namespace {

void Press(WORD key, bool shift = false, bool ctrl = false) {
    HeldKeys held(shift, ctrl);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    Pump();
    PostMessageW(GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001));
    Pump();
}

// Replaces the focused edit's text: Home, Shift+End, then the characters.
void Type(const std::wstring& text) {
    Press(VK_HOME);
    Press(VK_END, true);
    for (wchar_t ch : text)
        PostMessageW(GetFocus(), WM_CHAR, ch, 1);
    Pump();
}

// The control holding the focus (a combo box for its edit), by name.
std::wstring FocusName() {
    for (HWND h = GetFocus(); h; h = GetParent(h))
        if (TWinControl* c = TWinControl::FindControl(h))
            return c->Name().empty() ? c->ClassName() : c->Name();
    return L"(none)";
}

// Tab until the control named has the focus; false after a whole round.
bool TabTo(const std::wstring& name) {
    for (int i = 0; i < 40 && FocusName() != name; ++i)
        Press(VK_TAB);
    return FocusName() == name;
}

struct CommandKey {
    const char* name;
    WORD key;
    bool ctrl;
};
const CommandKey kF5{"F5", VK_F5, false}, kCtrlE{"Ctrl+E", 'E', true}, kCtrlS{"Ctrl+S", 'S', true},
    kF1{"F1", VK_F1, false};

} // namespace

// Each key runs its button's click where the button shows and nothing where
// it is hidden; the edit holding the focus never sees the key.
TEST(Keyboard, CommandKeysRunTheShownButtonsOnly) {
    MainWindow w;
    std::wstring ran;
    w->TBjs->OnClick = [&](TObject*) { ran += L"计算"; };
    w->TBdc->OnClick = [&](TObject*) { ran += L"导出"; };
    w->TBbcnll->OnClick = [&](TObject*) { ran += L"存档"; };
    w->ToolButton1->OnClick = [&](TObject*) { ran += L"关于"; };
    struct Case {
        int page;
        TsuiNumberEdit* focus;
        std::map<const CommandKey*, std::wstring> runs;
    };
    const Case cases[] = {
        {0, w->suiNEdkze, {{&kF5, L"计算"}, {&kCtrlE, L"导出"}, {&kCtrlS, L""}, {&kF1, L"关于"}}},
        {1, w->suiNEnll2, {{&kF5, L"计算"}, {&kCtrlE, L"导出"}, {&kCtrlS, L""}, {&kF1, L"关于"}}},
        {2, w->suiNEper[4], {{&kF5, L""}, {&kCtrlE, L""}, {&kCtrlS, L"存档"}, {&kF1, L"关于"}}},
    };
    for (const Case& c : cases) {
        ClickTab(w->suiPageControl1, c.page);
        c.focus->SetFocus();
        Pump();
        const std::wstring text = c.focus->Text();
        int seen = 0;
        c.focus->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++seen; };
        c.focus->OnKeyPress = [&](TObject*, wchar_t&) { ++seen; };
        for (const auto& [key, expected] : c.runs) {
            SCOPED_TRACE(std::to_string(c.page) + " " + key->name);
            ran.clear();
            Press(key->key, false, key->ctrl);
            EXPECT_EQ(expected, ran);
            EXPECT_EQ(c.focus->Handle(), GetFocus());
        }
        EXPECT_EQ(0, seen) << "the edit saw a command key";
        EXPECT_EQ(text, c.focus->Text());
        c.focus->OnKeyDown = nullptr;
        c.focus->OnKeyPress = nullptr;
    }
}

// Tab walks the fields in reading order, column by column, and skips the
// disabled ones; Shift+Tab walks the same way back.
TEST(Keyboard, TabVisitsTheFieldsInReadingOrder) {
    MainWindow w;
    const std::vector<std::wstring> tail = {
        L"suiButton6", L"suiComboBox1",   L"suiNEajqs",       L"suiRBgd",     L"suiNEnll",
        L"suiRBfd",    L"suiCBfirstyear", L"suiCBfirstmonth", L"suiCBtqyear", L"suiCBtqmonth",
        L"suiNEtqse",  L"suiButton2",     L"suiButton3",      L"suiListBox1", L"suiNEyhke",
        L"suiNEhkze",  L"suiNElxze",      L"suiSG1"};
    auto withHead = [&](std::vector<std::wstring> head, const std::wstring& skipped) {
        for (const auto& name : tail)
            if (name != skipped) head.push_back(name);
        return head;
    };
    struct Case {
        const char* what;
        int mode;
        bool floating;
        std::vector<std::wstring> order;
    };
    const Case cases[] = {
        {"loan total, fixed rate", 1, false,
         withHead({L"TsuiRadioGroupButton", L"suiNEdkze"}, L"")},
        {"area and price, floating rate", 0, true,
         withHead({L"TsuiRadioGroupButton", L"suiNEmj", L"suiNEdj", L"suiCBajcs"}, L"suiNEnll")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w->suiRadioGroup1->SetItemIndex(c.mode);
        (c.floating ? w->suiRBfd : w->suiRBgd)->SetChecked(true);
        w->suiSG1->SetFocus();
        Pump();
        std::vector<std::wstring> forward, back;
        for (size_t i = 0; i < c.order.size(); ++i) {
            Press(VK_TAB);
            forward.push_back(FocusName());
        }
        EXPECT_EQ(c.order, forward);
        for (size_t i = 0; i < c.order.size(); ++i) {
            back.insert(back.begin(), FocusName());
            Press(VK_TAB, true);
        }
        EXPECT_EQ(c.order, back);
    }
}

TEST(Keyboard, CtrlTabTurnsTheTabsBothWays) {
    MainWindow w;
    w->suiNEdkze->SetFocus();
    Pump();
    for (int page : {1, 2, 0, 1}) {
        Press(VK_TAB, false, true);
        EXPECT_EQ(page, w->suiPageControl1->ActivePageIndex());
        EXPECT_TRUE(w->suiPageControl1->ActivePage()->ContainsControl(
            TWinControl::FindControl(GetFocus())));
    }
    EXPECT_FALSE(w->TBbcnll->Visible());
    Press(VK_TAB, true, true);
    Press(VK_TAB, true, true);
    EXPECT_EQ(2, w->suiPageControl1->ActivePageIndex());
    EXPECT_TRUE(w->TBbcnll->Visible());
    EXPECT_FALSE(w->TBjs->Visible());
}

// A person sees which button or radio button has the focus, and Space on a
// focused button presses it.
TEST(Keyboard, FocusedButtonsShowItAndSpacePressesThem) {
    MainWindow w;
    for (TWinControl* c : std::vector<TWinControl*>{w->suiButton6, w->suiRBgd, w->suiButton2}) {
        SCOPED_TRACE(WideToUtf8(c->Name()));
        w->suiSG1->SetFocus();
        Pump();
        auto unfocused = Painted(*c);
        c->SetFocus();
        Pump();
        auto focused = Painted(*c);
        int differ = 0;
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                differ += unfocused->Pixel(x, y) != focused->Pixel(x, y);
        EXPECT_GT(differ, 10);
    }
    w->suiNEdkze->SetFocus();
    Pump();
    Type(L"123456");
    Press(VK_TAB);
    ASSERT_EQ(L"suiButton6", FocusName());
    Press(VK_SPACE);
    EXPECT_EQ(L"120000.00", w->suiNEdkze->Text());
}

// Tab to the fields, type, F5; Ctrl+E, Enter in the save dialog, Enter on
// the message: the workbook is there. Escape leaves the message open.
TEST(Keyboard, CalculationAndExportWithTheKeyboardAlone) {
    ScratchFolder folder(L"lanan-keyboard");
    MainWindow w;
    std::vector<std::wstring> messages;
    bool escapeKeptIt = false;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.kind == TModalKind::SaveDialog) { // Enter: the proposed name
            r.answered = true;
            r.result = 1;
            r.fileName = folder.path + L"\\" + r.fileName;
            return;
        }
        ASSERT_TRUE(r.form);
        ASSERT_EQ(L"TfrmMsg", r.form->ClassName());
        messages.push_back(w->suiMessageDialog1->Text());
        PumpUntil([] { return dynamic_cast<TsuiButton*>(TWinControl::FindControl(GetFocus())); });
        Press(VK_ESCAPE);
        escapeKeptIt = r.form->ModalResult() == mrNone && r.form->Visible();
        Press(VK_RETURN);
        EXPECT_EQ(mrOk, r.form->ModalResult());
        if (r.form->ModalResult() == mrNone) r.form->SetModalResult(mrCancel);
    });
    ASSERT_TRUE(TabTo(L"suiNEdkze"));
    Type(L"100000");
    ASSERT_TRUE(TabTo(L"suiNEajqs"));
    Type(L"12");
    ASSERT_TRUE(TabTo(L"suiNEnll"));
    Type(L"6");
    Press(VK_F5);
    EXPECT_EQ(std::vector<std::wstring>{}, messages);
    EXPECT_EQ(13, w->suiSG1->RowCount());
    EXPECT_EQ(L"8606.64", w->suiSG1->Cells(3, 1));
    EXPECT_EQ(L"suiNEnll", FocusName());

    Press('E', false, true);
    EXPECT_EQ(std::vector<std::wstring>{L"导出成功！"}, messages);
    EXPECT_TRUE(escapeKeptIt);
    EXPECT_EQ(std::vector<std::wstring>{L"等额本息贷款分期还款表.xls"}, folder.Files());
    EXPECT_EQ(L"suiNEnll", FocusName());
}

// F1 opens the About window and Escape closes it, even from its memo.
TEST(Keyboard, EscapeClosesTheAboutWindow) {
    MainWindow w;
    bool closed = false;
    TScopedModalHook hook([&](TModalRequest& r) {
        ASSERT_TRUE(r.form);
        ASSERT_EQ(L"TfrmAbout", r.form->ClassName());
        static_cast<TfrmAbout*>(r.form)->suiMemo1->SetFocus();
        Pump();
        Press(VK_ESCAPE);
        closed = r.form->ModalResult() != mrNone;
        if (!closed) r.form->SetModalResult(mrCancel);
    });
    w->suiNEdkze->SetFocus();
    Pump();
    Press(VK_F1);
    EXPECT_TRUE(closed);
    EXPECT_EQ(nullptr, frmAbout);
}
