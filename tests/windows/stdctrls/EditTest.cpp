// The edit and the memo driven through the messages a user's typing and
// clicking produce: change events, the key-press filter, selection, focus.

#include "../support/HostForm.h"

#include "framework/StdCtrls.h"
#include "framework/Utils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What the skinned number edit does: right alignment through the creation parameters.
class TRightEdit : public TEdit {
  public:
    using TEdit::TEdit;

  protected:
    void CreateParams(TCreateParams& params) override {
        TEdit::CreateParams(params);
        params.Style |= ES_RIGHT;
    }
};

LONG_PTR StyleOf(TWinControl* c) {
    return GetWindowLongPtrW(c->Handle(), GWL_STYLE);
}

TEST(Edit, AssignmentRaisesChangeTwiceTypingOnceSameTextNever) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    std::vector<std::wstring> seen;
    edit->OnChange = [&](TObject* s) { seen.push_back(static_cast<TEdit*>(s)->Text()); };
    form.Show();

    edit->SetText(L"12");
    ASSERT_EQ(seen.size(), 2u);
    // Both runs already see the new text.
    EXPECT_EQ(seen[0], L"12");
    EXPECT_EQ(seen[1], L"12");

    seen.clear();
    edit->SetText(L"12");
    EXPECT_TRUE(seen.empty());

    edit->SetSelStart(2);
    TypeChars(edit->Handle(), L"5");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], L"125");

    seen.clear();
    SendKey(edit->Handle(), VK_BACK);
    SendMessageW(edit->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(edit->Text(), L"12");
    EXPECT_EQ(seen.size(), 1u);
}

TEST(Edit, AssignmentWithoutWindowRaisesChangeOnceAndTheWindowTakesTheText) {
    HostForm form;
    auto* edit = new TEdit(form.get());
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(L"abc");
    EXPECT_EQ(changes, 1);
    edit->SetParent(form.get());
    form.Show();
    EXPECT_EQ(edit->Text(), L"abc");
    EXPECT_EQ(WindowText(edit->Handle()), L"abc");
}

TEST(Edit, KeyPressHandlerDiscardsOrReplacesCharactersBeforeTheControl) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    int changes = 0;
    std::wstring pressed;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnKeyPress = [&](TObject*, wchar_t& key) {
        pressed += key;
        if (key == L',')
            key = L'.';
        else if (!(key >= L'0' && key <= L'9') && key != L'.')
            key = 0;
    };
    form.Show();
    TypeChars(edit->Handle(), L"1a,5x");
    EXPECT_EQ(pressed, L"1a,5x");
    EXPECT_EQ(edit->Text(), L"1.5");
    EXPECT_EQ(changes, 3); // the refused letters changed nothing
}

TEST(Edit, RightAlignmentComesFromCreateParamsOfASubclass) {
    HostForm form;
    auto* plain = Make<TEdit>(form.get(), 10, 10, 120, 22);
    auto* right = Make<TRightEdit>(form.get(), 10, 40, 120, 22);
    form.Show();
    EXPECT_FALSE(StyleOf(plain) & ES_RIGHT);
    EXPECT_TRUE(StyleOf(right) & ES_RIGHT);
    EXPECT_EQ(ClassNameOf(plain->Handle()), L"TEdit");
    // Recreated windows keep the style.
    right->SetBorderStyle(bsNone);
    EXPECT_TRUE(StyleOf(right) & ES_RIGHT);
    EXPECT_FALSE(GetWindowLongPtrW(right->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST(Edit, ReadOnlyRefusesTypingButNotTheProgram) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    edit->SetText(L"keep");
    edit->SetReadOnly(true);
    form.Show();
    EXPECT_TRUE(StyleOf(edit) & ES_READONLY);
    edit->SetSelStart(4);
    TypeChars(edit->Handle(), L"xy");
    SendMessageW(edit->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(edit->Text(), L"keep");
    edit->SetText(L"new");
    EXPECT_EQ(edit->Text(), L"new");
    edit->SetReadOnly(false);
    EXPECT_FALSE(StyleOf(edit) & ES_READONLY);
}

TEST(Edit, SelectionMaxLengthPasswordAndPaste) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(L"abcdef");
    form.Show();

    edit->Select(1, 3);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->SelText(), L"bcd");
    changes = 0;
    edit->SetSelText(L"XY");
    EXPECT_EQ(edit->Text(), L"aXYef");
    EXPECT_EQ(changes, 1);
    // Out-of-range selections are clipped to the text.
    edit->Select(3, 100);
    EXPECT_EQ(edit->SelText(), L"ef");

    // Pasting is a change the control reports: once.
    ASSERT_TRUE(SetClipboardText(L"42"));
    edit->SelectAll();
    changes = 0;
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), L"42");
    EXPECT_EQ(changes, 1);

    edit->SetMaxLength(4);
    edit->SetSelStart(2);
    TypeChars(edit->Handle(), L"3456");
    EXPECT_EQ(edit->Text(), L"4234");

    edit->SetPasswordChar(L'*');
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(edit->Text(), L"4234");
}

TEST(Edit, AutoSelectOnKeyboardFocusNotOnMouseFocusAndEnterExitEvents) {
    HostForm form;
    auto* a = Make<TEdit>(form.get(), 10, 10, 120, 22);
    auto* b = Make<TEdit>(form.get(), 10, 40, 120, 22);
    auto* c = Make<TEdit>(form.get(), 10, 70, 120, 22);
    a->SetText(L"first");
    b->SetText(L"second");
    c->SetText(L"third");
    c->SetAutoSelect(false);
    std::vector<std::wstring> events;
    auto enter = [&](TObject* s) { events.push_back(L"enter " + static_cast<TEdit*>(s)->Text()); };
    auto exit = [&](TObject* s) { events.push_back(L"exit " + static_cast<TEdit*>(s)->Text()); };
    for (TEdit* e : {a, b, c}) {
        e->OnEnter = enter;
        e->OnExit = exit;
    }
    form.Show();
    a->SetFocus();
    Pump();
    b->Select(0, 0);
    events.clear();

    b->SetFocus();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(b->SelStart(), 0);
    EXPECT_EQ(b->SelLength(), 6);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], L"exit first");
    EXPECT_EQ(events[1], L"enter second");

    // A press of the mouse places the caret: nothing is selected for it.
    a->Select(0, 0);
    ClickAt(a->Handle(), 3, 5);
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(a->SelLength(), 0);

    c->Select(1, 0);
    c->SetFocus();
    EXPECT_EQ(c->SelLength(), 0);
}

// Another window taking the focus (a message, a modal window) does not make
// the edit leave its form: no exit then, no enter when the focus comes back;
// the exit comes only when another control of the form takes the focus.
TEST(Edit, FocusInAnotherWindowIsNoExitFromTheForm) {
    HostForm form;
    auto* a = Make<TEdit>(form.get(), 10, 10, 120, 22);
    auto* b = Make<TEdit>(form.get(), 10, 40, 120, 22);
    std::vector<std::wstring> events;
    for (TEdit* e : {a, b}) {
        e->OnEnter = [&, e](TObject*) { events.push_back(L"enter " + e->Name() + e->Text()); };
        e->OnExit = [&, e](TObject*) { events.push_back(L"exit " + e->Name() + e->Text()); };
    }
    a->SetText(L"a");
    b->SetText(L"b");
    form.Show();
    a->SetFocus();
    Pump();
    events.clear();

    HostForm other;
    auto* elsewhere = Make<TEdit>(other.get(), 10, 10, 120, 22);
    other.Show();
    elsewhere->SetFocus();
    Pump();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(form->ActiveControl(), a);

    form.Show();
    a->SetFocus();
    Pump();
    EXPECT_TRUE(events.empty()); // back where it never left

    other.Show();
    elsewhere->SetFocus();
    Pump();
    form.Show();
    b->SetFocus();
    Pump();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"exit a", L"enter b"}));
}

// The edit's own context menu runs its loop inside WM_CONTEXTMENU; a timer
// picks "Paste" by its letter as a user's keyboard would.
void CALLBACK PickPaste(HWND, UINT, UINT_PTR id, DWORD) {
    static int ticks = 0;
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        PostMessageW(menu, WM_CHAR, L'p', 1);
        KillTimer(nullptr, id);
        ticks = 0;
    } else if (++ticks > 100) {
        EndMenu();
        KillTimer(nullptr, id);
        ticks = 0;
    }
}

TEST(Edit, PasteFromTheSystemContextMenuIsOneChange) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    form.Show();
    edit->SetFocus();
    ASSERT_TRUE(SetClipboardText(L"77"));
    UINT_PTR timer = SetTimer(nullptr, 0, 30, PickPaste);
    POINT at = edit->ClientToScreen({5, 5});
    SendMessageW(edit->Handle(), WM_CONTEXTMENU, WPARAM(edit->Handle()), MAKELPARAM(at.x, at.y));
    KillTimer(nullptr, timer);
    Pump();
    EXPECT_EQ(edit->Text(), L"77");
    EXPECT_EQ(changes, 1);
}

TEST(Edit, ClickInsideRaisesOnClick) {
    HostForm form;
    auto* edit = Make<TEdit>(form.get(), 10, 10, 120, 22);
    int clicks = 0;
    edit->OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    ClickAt(edit->Handle(), 5, 5);
    EXPECT_EQ(clicks, 1);
}

TEST(Memo, LinesAndTextFollowEachOther) {
    HostForm form;
    auto* memo = Make<TMemo>(form.get(), 10, 10, 200, 100);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines().Assign(std::vector<std::wstring>{L"■软件说明", L"    第二行"});
    form.Show();
    EXPECT_EQ(memo->Text(), L"■软件说明\r\n    第二行");
    EXPECT_GT(changes, 0);

    memo->SetText(L"one\r\ntwo\r\nthree");
    ASSERT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines()[2], L"three");

    // Typing a line break makes a new line.
    memo->SetSelStart(3);
    TypeChars(memo->Handle(), L"\r");
    ASSERT_EQ(memo->Lines().Count(), 4);
    EXPECT_EQ(memo->Lines()[0], L"one");
    EXPECT_EQ(memo->Lines()[1], L"");

    memo->Lines().Clear();
    EXPECT_EQ(memo->Text(), L"");
    EXPECT_TRUE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST(Memo, StylesFollowWordWrapScrollBarsAndReadOnly) {
    HostForm form;
    auto* memo = Make<TMemo>(form.get(), 10, 10, 200, 100);
    memo->SetText(L"text");
    form.Show();
    auto style = [&] { return GetWindowLongPtrW(memo->Handle(), GWL_STYLE); };
    EXPECT_FALSE(style() & ES_AUTOHSCROLL);
    memo->SetWordWrap(false);
    EXPECT_TRUE(style() & ES_AUTOHSCROLL);
    memo->SetScrollBars(msVertical);
    EXPECT_TRUE(style() & WS_VSCROLL);
    EXPECT_FALSE(style() & WS_HSCROLL);
    memo->SetScrollBars(msBoth);
    EXPECT_TRUE(style() & WS_HSCROLL);
    // Recreating the window keeps the text.
    EXPECT_EQ(memo->Text(), L"text");
    memo->SetReadOnly(true);
    memo->SetSelStart(4);
    TypeChars(memo->Handle(), L"x");
    EXPECT_EQ(memo->Text(), L"text");
}

TEST(Memo, DoubleClickRaisesOnDblClickOnceSingleClickNever) {
    HostForm form;
    auto* memo = Make<TMemo>(form.get(), 10, 10, 200, 100);
    memo->SetText(L"double click closes the window");
    int dbl = 0;
    memo->OnDblClick = [&](TObject*) { ++dbl; };
    form.Show();
    ClickAt(memo->Handle(), 20, 8);
    EXPECT_EQ(dbl, 0);
    SendMessageW(memo->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 8));
    SendMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 8));
    EXPECT_EQ(dbl, 1);
}

} // namespace
