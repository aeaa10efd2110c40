// The main window from the keyboard alone, and where the windows open.
#include "../support/MainWindow.h"

#include "../support/Rects.h"
#include "../support/ScratchFolder.h"

using namespace main_window_test;

namespace {
// Through the message loop to the focused window, as the keyboard's keys go.
void Press(WORD key, bool shift = false, bool ctrl = false) {
    HeldKeys held(shift, ctrl);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001));
    Pump();
}
std::wstring Focused() {
    TWinControl* c = TWinControl::FindControl(GetFocus());
    return (c ? c->Name() : L"?") + L" ";
}
} // namespace

TEST(Keyboard, CommandKeysClickTheirButtonWhereItShowsAndNeverReachTheEdit) {
    MainWindow w;
    std::wstring ran;
    for (TToolButton* b : {w->TBjs, w->TBdc, w->TBbcnll, w->ToolButton1})
        b->OnClick = [&ran, b](TObject*) { ran += b->Caption(); };
    TsuiNumberEdit* edits[] = {w->suiNEdkze, w->suiNEnll2, w->suiNEper[4]};
    const std::wstring runs[] = {L"计算导出关于", L"计算导出关于", L"存档关于"}; // F5 … F1
    for (int page = 0; page < 3; ++page) {
        ClickTab(w->suiPageControl1, page);
        TsuiNumberEdit* edit = edits[page];
        edit->SetFocus();
        int seen = 0;
        edit->OnKeyPress = [&seen](TObject*, wchar_t&) { ++seen; };
        ran.clear();
        for (auto [key, ctrl] : {std::pair{VK_F5, false}, {'E', true}, {'S', true}, {VK_F1, false}})
            Press(WORD(key), false, ctrl);
        EXPECT_EQ(runs[page], ran);
        EXPECT_EQ(0, seen); // so no beep
        EXPECT_EQ(edit->Handle(), GetFocus());
    }
}

TEST(Keyboard, TabAndShiftTabFollowReadingOrderPastDisabledFields) {
    MainWindow w;
    w->suiRadioGroup1->SetItemIndex(0); // area and price: the loan total is derived
    w->suiRBfd->SetChecked(true);       // floating rates: no fixed rate to type
    const std::wstring order =
        L" suiNEmj suiNEdj suiCBajcs suiButton6 suiComboBox1 suiNEajqs suiRBgd "
        L"suiRBfd suiCBfirstyear suiCBfirstmonth suiCBtqyear suiCBtqmonth "
        L"suiNEtqse suiButton2 suiButton3 suiListBox1 suiNEyhke suiNEhkze "
        L"suiNElxze suiSG1 "; // the radio group's item has no name
    std::wstring forward, back;
    w->suiSG1->SetFocus();
    for (int i = 0; i < 21; ++i) {
        Press(VK_TAB);
        forward += Focused();
    }
    for (int i = 0; i < 21; ++i) {
        back = Focused() + back;
        Press(VK_TAB, true);
    }
    EXPECT_EQ(order, forward);
    EXPECT_EQ(order, back);
}

// Tab to the fields, type, F5; Ctrl+E, Enter in the save dialog, Enter on the
// message (Escape leaves it open); F1, and Escape closes the About window.
TEST(Keyboard, CalculationAndExportWithTheKeyboardAlone) {
    ScratchFolder folder(L"lanan-keyboard");
    MainWindow w;
    std::vector<std::wstring> seen; // each window, its result after Escape, after Enter
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.kind == TModalKind::SaveDialog) {
            r.answered = true;
            r.result = 1;
            r.fileName = folder.path + L"\\" + r.fileName;
            return;
        }
        PumpUntil([&] { return GetAncestor(GetFocus(), GA_ROOT) == r.form->Handle(); });
        const bool message = r.form->ClassName() == L"TfrmMsg";
        seen.push_back(message ? w->suiMessageDialog1->Text() : r.form->ClassName());
        for (WORD key : {VK_ESCAPE, VK_RETURN}) {
            Press(key);
            seen.push_back(std::to_wstring(r.form->ModalResult()));
        }
        if (r.form->ModalResult() == mrNone) r.form->SetModalResult(mrCancel);
    });
    const std::pair<std::wstring, std::wstring> typed[] = {
        {L"suiNEdkze", L"100000"}, {L"suiNEajqs", L"12"}, {L"suiNEnll", L"6"}};
    for (const auto& [name, text] : typed) {
        for (int i = 0; i < 30 && Focused() != name + L" "; ++i)
            Press(VK_TAB);
        Press(VK_HOME);
        Press(VK_END, true);
        for (wchar_t ch : text)
            PostMessageW(GetFocus(), WM_CHAR, ch, 1);
    }
    Press(VK_F5);
    EXPECT_EQ(13, w->suiSG1->RowCount());
    EXPECT_EQ(L"8606.64", w->suiSG1->Cells(3, 1));
    Press('E', false, true);
    EXPECT_EQ(std::vector<std::wstring>{L"等额本息贷款分期还款表.xls"}, folder.Files());
    Press(VK_F1);
    EXPECT_EQ((std::vector<std::wstring>{L"导出成功！", L"0", L"1", L"TfrmAbout", L"2", L"2"}),
              seen);
    EXPECT_EQ(L"suiNEnll ", Focused());
    Press(VK_TAB, false, true); // Ctrl+Tab, and Ctrl+Shift+Tab twice
    Press(VK_TAB, true, true);
    Press(VK_TAB, true, true);
    EXPECT_EQ(2, w->suiPageControl1->ActivePageIndex());
    EXPECT_EQ(L"suiNEper1 ", Focused());
}

// Centred as stored, the top-left corner inside the work area: at its corner
// where the window is larger. 1093 × 614 is a 1366 × 768 panel at 125 %.
TEST(Placement, WindowsOpenCentredWithTheirTitleBarInsideTheWorkArea) {
    static RECT work;
    const auto real = std::exchange(TForm::MonitorWorkArea, [](const RECT&) { return work; });
    const RECT cases[][4] = {
        // work area; main, About and message window
        {{0, 0, 1280, 1024}, {183, 153, 1096, 871}, {407, 270, 873, 753}, {504, 427, 776, 596}},
        {{0, 0, 1093, 614}, {180, 0, 1093, 718}, {407, 131, 873, 614}, {504, 427, 776, 596}},
        {{100, 40, 900, 1024}, {100, 153, 1013, 871}, {407, 270, 873, 753}, {504, 427, 776, 596}}};
    for (const auto& c : cases) {
        work = c[0];
        MainWindow w;
        RECT opened[3] = {WindowRectOf(w->Handle())};
        TScopedModalHook hook([&](TModalRequest& r) {
            opened[r.form->ClassName() == L"TfrmAbout" ? 1 : 2] = WindowRectOf(r.form->Handle());
            r.form->SetModalResult(mrOk);
        });
        ClickTool(w->ToolButton1);
        w->suiMessageDialog1->Execute();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c[i + 1], opened[i]) << i;
    }
    TForm::MonitorWorkArea = real;
}
