// The list box and the combo box: items mirrored into the system control,
// sorted name=value lists, selection, and which user actions click.

#include "../support/HostForm.h"

#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::wstring> Shown(TListBox* list) {
    std::vector<std::wstring> out;
    HWND h = list->Handle();
    int n = int(SendMessageW(h, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buf[256]{};
        SendMessageW(h, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

std::vector<std::wstring> Items(const TStringList& list) {
    return list.ToVector();
}

TEST(ListBox, SortedNameValueItemsAsThePrepaymentPlanUsesThem) {
    HostForm form;
    auto* list = Make<TListBox>(form.get(), 10, 10, 220, 120);
    list->SetSorted(true);
    list->Items().SetNameValueSeparator(L'=');
    list->Items().Add(L"2011年03月  <=>  1000.00元");
    form.Show();
    list->Items().Add(L"2009年12月  <=>  50000.00元");
    list->Items().Add(L"2010年01月  <=>  2.50元");

    std::vector<std::wstring> expected{L"2009年12月  <=>  50000.00元", L"2010年01月  <=>  2.50元",
                                       L"2011年03月  <=>  1000.00元"};
    EXPECT_EQ(Items(list->Items()), expected);
    EXPECT_EQ(Shown(list), expected);

    EXPECT_EQ(list->Items().IndexOfName(L"2010年01月  <"), 1);
    EXPECT_EQ(list->Items().Values(L"2009年12月  <"), L">  50000.00元");
    EXPECT_EQ(list->Items().IndexOfName(L"2010年02月  <"), -1);
    EXPECT_EQ(list->Items().ValueFromIndex(2), L">  1000.00元");

    // Replacing an entry: delete and add, the list keeps its order.
    list->Items().Delete(list->Items().IndexOfName(L"2009年12月  <"));
    list->Items().Add(L"2009年12月  <=>  150000.00元");
    EXPECT_EQ(list->Items()[0], L"2009年12月  <=>  150000.00元");
    EXPECT_EQ(Shown(list), Items(list->Items()));

    list->Clear();
    EXPECT_TRUE(Shown(list).empty());
}

TEST(ListBox, SeparatorStoredInADescriptionAndItemsWithoutWindow) {
    HostForm form;
    auto* list = new TListBox(form.get());
    SetPropertyValue(*list, L"NameValueSeparator", TValue::Str(L":"));
    SetPropertyValue(*list, L"Items", TValue::Strings({L"b:2", L"a:1"}));
    SetPropertyValue(*list, L"Sorted", TValue::Bool(true));
    EXPECT_EQ(list->Items()[0], L"a:1");
    EXPECT_EQ(list->Items().Values(L"b"), L"2");
    list->SetItemIndex(1);
    list->SetParent(form.get());
    form.Show();
    EXPECT_EQ(Shown(list), (std::vector<std::wstring>{L"a:1", L"b:2"}));
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST(ListBox, SelectionStaysWithItsItemWhileOthersComeAndGo) {
    HostForm form;
    auto* list = Make<TListBox>(form.get(), 10, 10, 150, 120);
    list->SetSorted(true);
    for (auto s : {L"c", L"e", L"g"})
        list->Items().Add(s);
    form.Show();
    list->SetItemIndex(1);
    list->Items().Add(L"a");
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()[list->ItemIndex()], L"e");
    list->Items().Delete(list->Items().IndexOf(L"e"));
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->SelCount(), 0);
}

TEST(ListBox, UserSelectionClicksProgramSelectionDoesNot) {
    HostForm form;
    auto* list = Make<TListBox>(form.get(), 10, 10, 150, 120);
    for (auto s : {L"one", L"two", L"three"})
        list->Items().Add(s);
    int clicks = 0, dbl = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++dbl; };
    form.Show();

    list->SetItemIndex(0);
    EXPECT_EQ(clicks, 0);

    RECT r = list->ItemRect(2);
    ClickAt(list->Handle(), r.left + 5, (r.top + r.bottom) / 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->ItemAtPos({r.left + 5, r.top + 1}), 2);

    list->SetFocus();
    SendKey(list->Handle(), VK_UP);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list->ItemIndex(), 1);

    r = list->ItemRect(1);
    SendMessageW(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 2));
    SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 2));
    EXPECT_EQ(dbl, 1);
}

TEST(ListBox, MultiSelectDeletesEverySelectedItem) {
    HostForm form;
    auto* list = Make<TListBox>(form.get(), 10, 10, 150, 120);
    list->SetMultiSelect(true);
    for (auto s : {L"a", L"b", L"c", L"d", L"e"})
        list->Items().Add(s);
    form.Show();
    EXPECT_TRUE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);

    list->SetSelected(0, true);
    list->SetSelected(2, true);
    list->SetSelected(4, true);
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_TRUE(list->Selected(2));
    EXPECT_FALSE(list->Selected(3));

    // Ctrl+click adds to the selection as a user would.
    RECT r = list->ItemRect(3);
    ClickAt(list->Handle(), r.left + 3, r.top + 2, MK_CONTROL);
    EXPECT_EQ(list->SelCount(), 4);

    list->SetSelected(3, false);
    list->DeleteSelected();
    EXPECT_EQ(Items(list->Items()), (std::vector<std::wstring>{L"b", L"d"}));
    EXPECT_EQ(Shown(list), Items(list->Items()));
    EXPECT_EQ(list->SelCount(), 0);
    list->DeleteSelected(); // nothing selected: nothing happens
    EXPECT_EQ(list->Count(), 2);

    EXPECT_THROW(list->Selected(5), EStringListError);
}

TEST(ListBox, OwnerDrawHookGetsEveryVisibleItemWithItsState) {
    HostForm form;
    auto* list = Make<TListBox>(form.get(), 10, 10, 150, 120);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    for (auto s : {L"a", L"b", L"c"})
        list->Items().Add(s);
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    list->OnDrawItem = [&](TWinControl* c, int index, const RECT& r, TOwnerDrawState state) {
        drawn.emplace_back(index, state);
        auto* lb = static_cast<TListBox*>(c);
        lb->Canvas().Brush().SetColor(state.Contains(odSelected) ? clRed : clWhite);
        lb->Canvas().FillRect(r);
    };
    form.Show();
    list->SetItemIndex(1);
    drawn.clear();
    InvalidateRect(list->Handle(), nullptr, TRUE);
    UpdateWindow(list->Handle());
    ASSERT_GE(drawn.size(), 3u);
    for (auto& [index, state] : drawn)
        EXPECT_EQ(state.Contains(odSelected), index == 1) << index;
    EXPECT_EQ(list->ItemRect(1).bottom - list->ItemRect(1).top, 20);
}

TEST(ComboBox, PicksByKeyboardAndMouseClickOnceProgramSelectionNever) {
    HostForm form;
    auto* combo = Make<TComboBox>(form.get(), 10, 10, 120, 22);
    for (auto s : {L"1", L"2", L"3", L"5", L"10", L"15", L"20", L"25", L"30"})
        combo->Items().Add(s);
    std::vector<std::wstring> clicks;
    int changes = 0;
    combo->OnClick = [&](TObject* s) { clicks.push_back(static_cast<TComboBox*>(s)->Text()); };
    combo->OnChange = [&](TObject*) { ++changes; };
    form.Show();
    EXPECT_TRUE(GetWindowLongPtrW(combo->Handle(), GWL_STYLE) & CBS_DROPDOWNLIST);

    combo->SetItemIndex(6);
    combo->SetText(L"30");
    Pump();
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(combo->ItemIndex(), 8);
    EXPECT_EQ(combo->Text(), L"30");

    // Keyboard on the closed box.
    combo->SetFocus();
    SendKey(combo->Handle(), VK_UP);
    PumpUntil([&] { return !clicks.empty(); }, 500);
    Pump();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], L"25");
    EXPECT_EQ(changes, 1);

    // Mouse: drop the list and click an item in it.
    combo->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(combo->DroppedDown());
    HWND lb = combo->ListHandle();
    ASSERT_NE(lb, nullptr);
    RECT item{};
    SendMessageW(lb, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&item));
    POINT p{item.left + 5, (item.top + item.bottom) / 2};
    SendMessageW(lb, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(lb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PumpUntil([&] { return clicks.size() >= 2; }, 500);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1], L"10");
    EXPECT_EQ(combo->ItemIndex(), 4);

    // Dropping and closing again without a pick is no click.
    combo->SetDroppedDown(true);
    Pump();
    combo->SetDroppedDown(false);
    Pump();
    Sleep(20);
    Pump();
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(combo->ItemIndex(), 4);
}

TEST(ComboBox, InformationDropDownCountAndItemsWithoutWindow) {
    HostForm form;
    auto* combo = new TComboBox(form.get());
    for (int i = 0; i < 20; ++i)
        combo->Items().Add(std::to_wstring(1997 + i));
    combo->SetItemIndex(3);
    combo->SetDropDownCount(5);
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 100, 22);
    form.Show();
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), L"2000");

    COMBOBOXINFO info = combo->ComboBoxInfo();
    EXPECT_NE(info.hwndList, nullptr);
    EXPECT_GT(info.rcButton.right - info.rcButton.left, 0);
    EXPECT_GT(info.rcButton.left, info.rcItem.left);
    // The control reports the closed box's height.
    EXPECT_LT(combo->Height(), 40);

    combo->Font().SetSize(combo->Font().Size() + 6); // a larger font once the list exists
    combo->SetDroppedDown(true);
    Pump();
    RECT lr;
    GetWindowRect(info.hwndList, &lr);
    int item = int(SendMessageW(combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ((lr.bottom - lr.top - 2) % item, 0); // whole rows, no part of one
    int rows = (lr.bottom - lr.top) / item;
    EXPECT_GE(rows, 4);
    EXPECT_LE(rows, 6);
    combo->SetDroppedDown(false);
    Pump();

    // A list mirrored after changes to the items; the selection follows its item.
    combo->Items().Insert(0, L"1996");
    EXPECT_EQ(combo->Text(), L"2000");
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 21);
    combo->Items().Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), L"");
}

} // namespace
