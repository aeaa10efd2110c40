// The dialog as a component: its defaults, the style it takes from its
// window, the file theme it lets go of, a description holding one, and what
// it hands to the message window. The screenshots are taken here.

#include "DialogTestSupport.h"

#include "skin/SUIMgr.h"

#include "framework/Screenshot.h"

#include <string>

using namespace dialog_test;

namespace {

// The main window's dialog as its description stores it.
const wchar_t* const kHostDescription = LR"(
object HostForm: TForm
  Caption = 'host'
  ClientWidth = 300
  ClientHeight = 200
  object suiForm1: TsuiForm
    UIStyle = BlueGlass
  end
  object suiMessageDialog1: TsuiMessageDialog
    Caption = '温馨提示'
    Position = poScreenCenter
    UIStyle = BlueGlass
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    CaptionFont.Name = 'Tahoma'
    CaptionFont.Height = -11
    CaptionFont.Color = clBlack
    CaptionFont.Style = [fsBold]
    ButtonCursor = crHandPoint
    ButtonCount = 1
    Button1Caption = 'OK'
    Button1ModalResult = 1
    IconType = suiNone
    Text = '累计提前还贷数额须小于等于贷款总'#13'额！'
  end
end
)";

TsuiMessageDialog* FindDialog(TForm& host) {
    return dynamic_cast<TsuiMessageDialog*>(host.FindComponent(L"suiMessageDialog1"));
}

} // namespace

TEST(TsuiMessageDialog, DefaultsOfANewDialog) {
    TsuiMessageDialog d(nullptr);
    EXPECT_EQ(L"suiDialog", d.Caption());
    EXPECT_EQ(poScreenCenter, d.Position());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, d.UIStyle());
    EXPECT_EQ(nullptr, d.FileTheme());
    EXPECT_EQ(L"Tahoma", d.CaptionFont().Name());
    EXPECT_EQ(TFontStyles{fsBold}, d.CaptionFont().Style());
    EXPECT_EQ(clWhite, d.CaptionFont().Color());
    EXPECT_TRUE(d.Font().SameAs(TFont()));
    EXPECT_EQ(crHandPoint, d.ButtonCursor());
    EXPECT_EQ(1, d.ButtonCount());
    EXPECT_EQ(L"OK", d.Button1Caption());
    EXPECT_EQ(L"Cancel", d.Button2Caption());
    EXPECT_EQ(L"Cancel", d.Button3Caption());
    EXPECT_EQ(mrOk, d.Button1ModalResult());
    EXPECT_EQ(mrCancel, d.Button2ModalResult());
    EXPECT_EQ(mrCancel, d.Button3ModalResult());
    EXPECT_EQ(TsuiIconType::suiNone, d.IconType());
    EXPECT_EQ(L"Hello world!", d.Text());
    // Its own copies: changing the source afterwards changes nothing.
    TFont big;
    big.SetHeight(-20);
    d.SetFont(big);
    big.SetHeight(-30);
    EXPECT_EQ(-20, d.Font().Height());
}

TEST(TsuiMessageDialog, StyleFromItsWindowAndBackToDeepBlueWithoutItsTheme) {
    TOwned<TForm> host(new TForm(nullptr));
    auto* frame = Make<TsuiForm>(host.get(), host.get());
    frame->SetUIStyle(TsuiUIStyle::Protein);
    auto* dialog = new TsuiMessageDialog(host.get());
    EXPECT_EQ(TsuiUIStyle::Protein, dialog->UIStyle());

    auto* theme = new TsuiFileTheme(host.get());
    dialog->SetFileTheme(theme);
    dialog->SetUIStyle(TsuiUIStyle::FromThemeFile);
    theme->Free();
    EXPECT_EQ(nullptr, dialog->FileTheme());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, dialog->UIStyle());
}

TEST(TsuiMessageDialog, TheMainWindowsDialogFromADescription) {
    TOwned<TForm> host(new TForm(nullptr));
    host->LoadDescriptionText(kHostDescription, L"host");
    TsuiMessageDialog* dialog = FindDialog(*host);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"温馨提示", dialog->Caption());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, dialog->UIStyle());
    EXPECT_EQ(TColor(clBlack), dialog->CaptionFont().Color());
    EXPECT_EQ(L"累计提前还贷数额须小于等于贷款总\r额！", dialog->Text());

    struct {
        std::wstring windowCaption, frameCaption;
        TsuiUIStyle frameStyle = TsuiUIStyle::FromThemeFile;
        std::vector<TsuiUIStyle> buttonStyles;
        std::vector<TCursor> cursors;
        bool captionFontCopied = false;
        bool labelFontCopied = false;
        RECT window{};
    } seen;
    const TModalResult result = ExecuteAnswered(*dialog, [&](TfrmMsg& form) {
        seen.windowCaption = form.Caption();
        seen.frameCaption = form.suiForm1->Caption();
        seen.frameStyle = form.suiForm1->UIStyle();
        for (TsuiButton* b : ButtonsMade(form)) {
            seen.buttonStyles.push_back(b->UIStyle());
            seen.cursors.push_back(b->Cursor());
        }
        seen.captionFontCopied = form.suiForm1->CaptionFont().SameAs(dialog->CaptionFont());
        seen.labelFontCopied = form.lbl->Font().SameAs(dialog->Font());
        GetWindowRect(form.Handle(), &seen.window);
        PumpUntil([&] { return ButtonsMade(form).at(0)->Focused(); });
        Pump();
        SaveWindowScreenshot(form.Handle(), L"message-dialog");
        ClickButton(*ButtonsMade(form).at(0));
    });
    EXPECT_EQ(mrOk, result);
    EXPECT_EQ(L"温馨提示", seen.frameCaption);
    EXPECT_EQ(L"温馨提示", seen.windowCaption);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, seen.frameStyle);
    // The frame hands its style down to the buttons.
    EXPECT_EQ(std::vector<TsuiUIStyle>{TsuiUIStyle::BlueGlass}, seen.buttonStyles);
    EXPECT_EQ(std::vector<TCursor>{crHandPoint}, seen.cursors);
    EXPECT_TRUE(seen.captionFontCopied);
    EXPECT_TRUE(seen.labelFontCopied);
    // Centred on the screen.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(screenW / 2, (seen.window.left + seen.window.right) / 2, 1);
    EXPECT_NEAR(screenH / 2, (seen.window.top + seen.window.bottom) / 2, 1);

    // Changes between two Executes reach the next window.
    dialog->Font().SetHeight(-16);
    dialog->SetUIStyle(TsuiUIStyle::MacOS);
    int labelFontHeight = 0;
    TsuiUIStyle buttonStyle = TsuiUIStyle::FromThemeFile;
    ExecuteAndLook(*dialog, [&](TfrmMsg& form) {
        labelFontHeight = form.lbl->Font().Height();
        buttonStyle = ButtonsMade(form).at(0)->UIStyle();
    });
    EXPECT_EQ(-16, labelFontHeight);
    EXPECT_EQ(TsuiUIStyle::MacOS, buttonStyle);
}

TEST(TsuiMessageDialog, ScreenshotWithIconAndThreeButtons) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetCaption(L"温馨提示");
    dialog.SetUIStyle(TsuiUIStyle::BlueGlass);
    dialog.CaptionFont().SetColor(clBlack);
    dialog.SetIconType(TsuiIconType::suiWarning);
    dialog.SetText(
        L"提前还贷的年份和月份必须在首次还款日期之后，并且在贷款期限之内。\r请重新选择。");
    dialog.SetButtonCount(3);
    dialog.SetButton1Caption(L"是");
    dialog.SetButton2Caption(L"否");
    dialog.SetButton3Caption(L"取消");
    ExecuteAndLook(dialog, [&](TfrmMsg& form) {
        PumpUntil([&] { return ButtonsLeftToRight(form).at(0)->Focused(); });
        Pump();
        EXPECT_FALSE(SaveWindowScreenshot(form.Handle(), L"message-dialog-icon").empty());
    });
}
