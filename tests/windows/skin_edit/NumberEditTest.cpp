// The number edit driven as a user drives it: typed characters, focus moving
// in and out, pasted text; and as the program drives it: Value assignments.
#include "skin/controls/SUIEdit.h"

#include "../support/HostForm.h"

#include "framework/ModalHook.h"
#include "framework/Utils.h"
#include "skin/SUIThemes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The program's locale here reads '.'; the tests type what the locale uses.
std::wstring Local(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'.') c = DecimalSeparator();
    return text;
}

struct Fields {
    HostForm form;
    TsuiNumberEdit* edit;
    TsuiNumberEdit* other; // somewhere for the focus to go
    int changes = 0;
    Fields() {
        edit = Make<TsuiNumberEdit>(form.get(), 10, 10, 120, 22);
        other = Make<TsuiNumberEdit>(form.get(), 10, 40, 120, 22);
        edit->SetAutoSelect(false); // as every field of the program
        edit->OnChange = [this](TObject*) { ++changes; };
        form.Show();
    }
    void Enter() {
        if (edit->Focused()) Leave();
        edit->SetFocus();
        Pump();
    }
    void Leave() {
        other->SetFocus();
        Pump();
    }
    void Type(const std::wstring& text) { TypeChars(edit->Handle(), Local(text)); }
};

} // namespace

TEST(NumberEdit, ANewFieldShowsZeroInTheDefaultMask) {
    HostForm form;
    auto* edit = Make<TsuiNumberEdit>(form.get(), 10, 10, 120, 22);
    EXPECT_EQ(edit->Text(), Local(L"0.00"));
    EXPECT_EQ(edit->Value(), 0);
    EXPECT_EQ(edit->Mask(), L"0.00");
    EXPECT_EQ(edit->AutoSelectSigns(), 2);
    form.Show();
    EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(ClassNameOf(edit->Handle()), L"TsuiNumberEdit");
}

TEST(NumberEdit, AssignedValuesAreShownThroughTheMaskAndReadBackAsShown) {
    Fields f;
    f.edit->SetValue(1234.5);
    EXPECT_EQ(f.edit->Text(), Local(L"1234.50"));
    f.edit->SetValue(0.125);
    EXPECT_EQ(f.edit->Text(), Local(L"0.13"));
    EXPECT_EQ(f.edit->Value(), 0.13);
    f.edit->SetValue(-0.001);
    EXPECT_EQ(f.edit->Text(), Local(L"0.00"));
    f.edit->SetMask(L"0");
    EXPECT_EQ(f.edit->Text(), Local(L"0.00")); // a new mask waits for the next value
    f.edit->SetValue(2.5);
    EXPECT_EQ(f.edit->Text(), L"3");
    EXPECT_EQ(f.edit->Value(), 3);
}

TEST(NumberEdit, AnUnchangedTextKeepsTheUnroundedValueAndRaisesNoChange) {
    Fields f;
    f.edit->SetValue(1.23);
    EXPECT_EQ(f.changes, 2); // the assignment's own change and the text notification
    f.changes = 0;
    f.edit->SetValue(1.234);
    EXPECT_EQ(f.changes, 0);
    EXPECT_EQ(f.edit->Text(), Local(L"1.23"));
    EXPECT_EQ(f.edit->Value(), 1.234);
}

TEST(NumberEdit, TypingKeepsValueInStepAndLeavingNormalises) {
    Fields f;
    f.Enter();
    f.edit->SetText(L"");
    f.changes = 0;
    f.Type(L"7.125");
    EXPECT_EQ(f.changes, 5); // one per keystroke
    EXPECT_EQ(f.edit->Value(), 7.125);
    EXPECT_EQ(f.edit->Text(), Local(L"7.125"));
    f.Leave();
    EXPECT_EQ(f.edit->Text(), Local(L"7.13"));
    EXPECT_EQ(f.edit->Value(), 7.13);
}

TEST(NumberEdit, RefusedKeysBeepAndNeverReachTheText) {
    Fields f;
    f.edit->SetValue(12.5);
    f.Enter();
    f.edit->Select(0, 5); // even with the separator selected
    f.changes = 0;
    f.Type(L".");
    EXPECT_EQ(f.edit->Text(), Local(L"12.50"));
    for (wchar_t key : {L'a', L'-', L' ', L'+', L'\r', L'\x1b', L'\x03'}) {
        TypeChars(f.edit->Handle(), std::wstring(1, key));
        EXPECT_EQ(f.edit->Text(), Local(L"12.50")) << int(key);
    }
    EXPECT_EQ(f.changes, 0);

    f.edit->SetMask(L"0");
    f.edit->SetValue(240);
    f.edit->SetSelStart(3);
    f.Type(L".");
    TypeChars(f.edit->Handle(), L"-");
    EXPECT_EQ(f.edit->Text(), L"240");
    f.Type(L"1");
    EXPECT_EQ(f.edit->Text(), L"2401");
}

TEST(NumberEdit, AnEmptyOrBareFieldKeepsItsValueUntilLeft) {
    Fields f;
    f.edit->SetValue(88);
    f.Enter();
    f.edit->SelectAll();
    SendMessageW(f.edit->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(f.edit->Text(), L"");
    EXPECT_EQ(f.edit->Value(), 88);
    f.Leave();
    EXPECT_EQ(f.edit->Text(), Local(L"0.00"));
    EXPECT_EQ(f.edit->Value(), 0);

    f.Enter();
    f.edit->SetText(L"");
    f.Type(L".");
    EXPECT_EQ(f.edit->Value(), 0);
    f.Leave();
    EXPECT_EQ(f.edit->Text(), Local(L"0.00"));
}

TEST(NumberEdit, PastedTextThatIsNoNumberIsReplacedAndReported) {
    Fields f;
    f.edit->SetValue(5);
    std::vector<std::wstring> reports;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.kind == TModalKind::MessageBox) {
            reports.push_back(r.text);
            r.result = IDOK;
            r.answered = true;
        }
    });
    // The text arrives as a paste would bring it: straight into the window.
    SetWindowTextW(f.edit->Handle(), L"abc");
    Pump();
    EXPECT_EQ(reports, std::vector<std::wstring>{L"'abc' is not a valid floating point value"});
    EXPECT_EQ(f.edit->Text(), Local(L"5.00"));
    EXPECT_EQ(f.edit->Value(), 5);
}

TEST(NumberEdit, EnteringSelectsTheLastSignsWhenAutoSelectIsOn) {
    Fields f;
    f.edit->SetAutoSelect(true);
    f.edit->SetValue(12.5);
    int enters = 0;
    f.edit->OnEnter = [&](TObject*) { ++enters; };
    f.Enter();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(f.edit->SelStart(), 3);
    EXPECT_EQ(f.edit->SelLength(), 2);

    // Off, as on the program's fields: no selection is made.
    f.Leave();
    f.edit->SetAutoSelect(false);
    f.edit->Select(0, 0);
    f.Enter();
    EXPECT_EQ(f.edit->SelLength(), 0);
}

TEST(NumberEdit, StyleSetsTheBorderColourAndAStoredColourWins) {
    Fields f;
    f.edit->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(f.edit->BorderColor(),
              GetBuiltInThemeColor(TsuiUIStyle::BlueGlass, ThemeElement::ControlBorderColor));
    f.edit->SetBorderColor(clBlack);
    EXPECT_EQ(f.edit->BorderColor(), clBlack);
    f.edit->SetUIStyle(TsuiUIStyle::FromThemeFile); // no file: DeepBlue's colour
    EXPECT_EQ(f.edit->BorderColor(),
              GetBuiltInThemeColor(TsuiUIStyle::DeepBlue, ThemeElement::ControlBorderColor));
}

TEST(NumberEdit, TheFrameIsPaintedOnTheWindowEdge) {
    Fields f;
    f.edit->SetBorderColor(clRed);
    RedrawWindow(f.edit->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    HDC dc = GetWindowDC(f.edit->Handle());
    const COLORREF outer = GetPixel(dc, 0, 5);
    const COLORREF inner = GetPixel(dc, 1, 5);
    ReleaseDC(f.edit->Handle(), dc);
    EXPECT_EQ(outer, RGB(255, 0, 0));
    EXPECT_EQ(inner, ColorToRGB(f.edit->Color()));
    RECT client;
    GetClientRect(f.edit->Handle(), &client);
    EXPECT_EQ(client.right, 120 - 4); // two pixels of our own margin on each side
}

#include "framework/Screenshot.h"
#include "framework/ExtCtrls.h"

TEST(NumberEdit, GalleryInBlueGlassAndWinXP) {
    HostForm form(420, 170);
    form->SetColor(RGB(0xF0, 0xF4, 0xFA));
    const TsuiUIStyle styles[] = {TsuiUIStyle::BlueGlass, TsuiUIStyle::WinXP};
    const wchar_t* rows[] = {L"normal", L"focused", L"disabled", L"read-only", L"black frame"};
    TsuiNumberEdit* focused = nullptr;
    for (int s = 0; s < 2; ++s) {
        for (int r = 0; r < 5; ++r) {
            if (s == 0) {
                auto* label = Make<TLabel>(form.get(), 10, 14 + r * 30, 90, 20);
                label->SetCaption(rows[r]);
            }
            auto* edit = Make<TsuiNumberEdit>(form.get(), 100 + s * 160, 10 + r * 30, 140, 22);
            edit->SetUIStyle(styles[s]);
            edit->SetAutoSelect(false);
            edit->SetValue(123456.785 * (r + 1));
            if (r == 2) edit->SetEnabled(false);
            if (r == 3) edit->SetReadOnly(true);
            if (r == 4) edit->SetBorderColor(clBlack);
            if (r == 1 && s == 0) focused = edit;
        }
    }
    form.Show();
    focused->SetFocus();
    Pump();
    const auto file = SaveWindowScreenshot(form->Handle(), L"skin-number-edit");
    EXPECT_TRUE(std::filesystem::exists(file));
}
