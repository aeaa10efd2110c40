// How the message window is answered and what Execute then returns; the
// Ctrl+C copy; nothing left behind after Execute.

#include "DialogTestSupport.h"

#include "framework/Graphics.h"
#include "framework/Utils.h"

#include <string>

using namespace dialog_test;

namespace {

// Three buttons whose results differ from every default.
void ThreeButtons(TsuiMessageDialog& dialog) {
    dialog.SetText(L"是否保存年利率？");
    dialog.SetButtonCount(3);
    dialog.SetButton1Caption(L"是");
    dialog.SetButton2Caption(L"否");
    dialog.SetButton3Caption(L"忽略");
    dialog.SetButton1ModalResult(mrYes);
    dialog.SetButton2ModalResult(mrNo);
    dialog.SetButton3ModalResult(mrIgnore);
}

// Copies from the window; the clipboard's text afterwards.
std::wstring CopiedFrom(bool ctrl) {
    SetClipboardText(L"before");
    PumpUntil([&] { return GetFocus() != nullptr && FocusedControl() != nullptr; });
    HeldKeys keys(false, ctrl);
    PostKey(GetFocus(), 'C');
    return GetClipboardText();
}

} // namespace

TEST(MessageDialogAnswers, TitleBarCloseGivesCancelWhateverTheButtonsSay) {
    TsuiMessageDialog dialog(nullptr);
    ThreeButtons(dialog);
    EXPECT_EQ(mrCancel, ExecuteAnswered(dialog, [](TfrmMsg& form) {
                  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                  PumpUntil([&] { return form.ModalResult() != mrNone; });
              }));
    EXPECT_EQ(mrCancel, ExecuteAnswered(dialog, [](TfrmMsg& form) {
                  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
                  PumpUntil([&] { return form.ModalResult() != mrNone; });
              }));
}

TEST(MessageDialogAnswers, ExecuteReturnsTheResultOfTheButtonUsed) {
    TsuiMessageDialog dialog(nullptr);
    ThreeButtons(dialog);
    // By the mouse, on the middle button.
    EXPECT_EQ(mrNo, ExecuteAnswered(dialog, [](TfrmMsg& form) {
                  ClickButton(*ButtonsLeftToRight(form).at(1));
              }));
    // By Space on the focused button, which is button 1.
    EXPECT_EQ(mrYes, ExecuteAnswered(dialog, [](TfrmMsg& form) {
                  TsuiButton* first = ButtonsLeftToRight(form).at(0);
                  ASSERT_TRUE(PumpUntil([&] { return first->Focused(); }));
                  PostKey(first->Handle(), VK_SPACE);
                  PumpUntil([&] { return form.ModalResult() != mrNone; });
              }));
    // Escape is no answer: no button is the cancel button.
    EXPECT_EQ(mrIgnore, ExecuteAnswered(dialog, [](TfrmMsg& form) {
                  PostKey(GetFocus(), VK_ESCAPE);
                  EXPECT_EQ(mrNone, form.ModalResult());
                  ClickButton(*ButtonsLeftToRight(form).at(2));
              }));
}

TEST(MessageDialogAnswers, AButtonWithoutResultLeavesTheWindowOpen) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"提示");
    dialog.SetButtonCount(2);
    dialog.SetButton1ModalResult(mrNone);
    dialog.SetButton2ModalResult(mrRetry);
    bool stayedOpen = false;
    EXPECT_EQ(mrRetry, ExecuteAnswered(dialog, [&](TfrmMsg& form) {
                  auto buttons = ButtonsLeftToRight(form);
                  ClickButton(*buttons.at(0));
                  Pump();
                  stayedOpen = form.Modal() && IsWindowVisible(form.Handle()) &&
                               form.ModalResult() == mrNone;
                  ClickButton(*buttons.at(1));
              }));
    EXPECT_TRUE(stayedOpen);

    // Only a button with a result, or the title bar, closes it.
    EXPECT_EQ(mrCancel, ExecuteAnswered(dialog, [&](TfrmMsg& form) {
                  ClickButton(*ButtonsLeftToRight(form).at(0));
                  EXPECT_EQ(mrNone, form.ModalResult());
                  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                  PumpUntil([&] { return form.ModalResult() != mrNone; });
              }));
}

TEST(MessageDialogCopy, CtrlCPutsTitleMessageAndButtonsBetweenRules) {
    const std::wstring rule(27, L'-');
    TsuiMessageDialog dialog(nullptr);
    dialog.SetCaption(L"温馨提示");
    dialog.SetText(L"导出成功！");
    std::wstring copied, plainC;
    ExecuteAndLook(dialog, [&](TfrmMsg&) {
        plainC = CopiedFrom(false);
        copied = CopiedFrom(true);
    });
    EXPECT_EQ(L"before", plainC) << "C alone copies nothing";
    EXPECT_EQ(rule + L"\r\n温馨提示\r\n" + rule + L"\r\n导出成功！\r\n" + rule + L"\r\nOK\r\n" +
                  rule,
              copied);

    // Buttons in the order they were made, the rightmost first; the text as given.
    ThreeButtons(dialog);
    dialog.SetText(L"第一行\r第二行");
    ExecuteAndLook(dialog, [&](TfrmMsg&) { copied = CopiedFrom(true); });
    EXPECT_EQ(rule + L"\r\n温馨提示\r\n" + rule + L"\r\n第一行\r第二行\r\n" + rule +
                  L"\r\n忽略   否   是\r\n" + rule,
              copied);
}

TEST(MessageDialogLifetime, NoWindowSurvivesAndNoGdiObjectLeaks) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"导出成功！");
    dialog.SetIconType(TsuiIconType::suiInformation);
    const int ownedBefore = Application->ComponentCount();
    HWND seen = nullptr;
    ExecuteAndLook(dialog, [&](TfrmMsg& form) { seen = form.Handle(); });
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(ownedBefore, Application->ComponentCount());

    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 20; ++i) {
        dialog.SetIconType(TsuiIconType(i % 5));
        dialog.SetButtonCount(1 + i % 3);
        ExecuteAndLook(dialog, [](TfrmMsg&) {});
    }
    Pump();
    EXPECT_EQ(before, ProcessGdiObjectCount());
    EXPECT_EQ(ownedBefore, Application->ComponentCount());
}
