// Group boxes, check groups and radio groups: the frame, enabling and
// styling the children, item layout, ItemIndex, OnClick and focus.

#include "ButtonTestSupport.h"

using namespace button_test;

namespace {

// The main window's two-column input-mode group.
TsuiRadioGroup* InputModeGroup(TForm& form) {
    auto* g = Put<TsuiRadioGroup>(form, 10, 10, 305, 49);
    g->Font().SetHeight(-11);
    g->SetColumns(2);
    g->Items().Assign(std::vector<std::wstring>{L"按贷款总额", L"按面积单价"});
    return g;
}

} // namespace

TEST(TsuiGroupBox, FrameLeavesAGapForTheCaptionOrClosesWithout) {
    auto form = ShownForm();
    auto* g = Put<TsuiGroupBox>(*form, 10, 10, 120, 60);
    g->SetBorderColor(clRed);
    g->Font().SetHeight(-11);
    const int y = 11 / 2 + 1;

    auto img = Painted(*g);
    for (int x = 0; x < 120; x += 7)
        EXPECT_EQ(clRed, img->Pixel(x, y)) << x;
    for (int yy = y; yy < 60; yy += 5) {
        EXPECT_EQ(clRed, img->Pixel(0, yy)) << yy;
        EXPECT_EQ(clRed, img->Pixel(119, yy)) << yy;
    }
    EXPECT_EQ(clRed, img->Pixel(60, 59));
    EXPECT_NE(clRed, img->Pixel(60, 30));
    EXPECT_NE(clRed, img->Pixel(60, y - 1));

    g->SetCaption(L"输出");
    TMemoryCanvas measure;
    measure.Font().Assign(g->Font());
    const int tw = measure.TextWidth(L"输出");
    img = Painted(*g);
    EXPECT_EQ(clRed, img->Pixel(1, y));
    EXPECT_EQ(clRed, img->Pixel(2, y));
    EXPECT_NE(clRed, img->Pixel(3, y));
    EXPECT_NE(clRed, img->Pixel(tw + 5, y));
    EXPECT_EQ(clRed, img->Pixel(tw + 7, y));
    EXPECT_EQ(clRed, img->Pixel(119, y));
}

TEST(TsuiGroupBox, StyleSetsBorderAndFontColourAndReachesTheChildren) {
    auto form = ShownForm();
    auto* g = Put<TsuiGroupBox>(*form, 10, 10);
    auto* inner = Put<TsuiButton>(*g, 5, 20);
    auto* nested = Put<TsuiGroupBox>(*g, 5, 50);
    auto* deep = Put<TsuiCheckBox>(*nested, 5, 20);
    g->SetUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(TColor(0x686868), g->BorderColor());
    EXPECT_EQ(TColor(0xCF4602), g->Font().Color());
    EXPECT_EQ(TsuiUIStyle::WinXP, inner->UIStyle());
    EXPECT_EQ(TsuiUIStyle::WinXP, deep->UIStyle());
    EXPECT_EQ(TColor(0x686868), nested->BorderColor());
    g->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(clBlack, g->BorderColor());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, deep->UIStyle());
    EXPECT_TRUE(inner->Transparent());
}

TEST(TsuiGroupBox, DisablingPassesToDirectChildrenAndGreysTheCaption) {
    auto form = ShownForm();
    auto* g = Put<TsuiGroupBox>(*form, 10, 10);
    g->SetCaption(L"WWW");
    g->SetBorderColor(clRed);
    g->Font().SetColor(clBlack);
    auto* a = Put<TsuiButton>(*g, 5, 20);
    auto* nested = Put<TsuiGroupBox>(*g, 5, 50);
    auto* deep = Put<TsuiCheckBox>(*nested, 5, 20);
    const RECT captionArea{5, 0, 40, 12};
    // Text is smoothed, so judge ink by how dark it gets.
    auto black = [](TColor c) { return c != clRed && Brightness(c) < 3 * 0x50; };
    auto grey = [](TColor c) { return c != clRed && Brightness(c) < 3 * 0xC8; };
    EXPECT_GT(CountPixels(*Painted(*g), black, captionArea), 5);
    g->SetEnabled(false);
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(nested->Enabled());
    EXPECT_FALSE(deep->Enabled()); // by its own box, which passes it on
    const auto img = Painted(*g);
    EXPECT_EQ(0, CountPixels(*img, black, captionArea));
    EXPECT_GT(CountPixels(*img, grey, captionArea), 5);
    g->SetEnabled(true);
    EXPECT_TRUE(a->Enabled());
    EXPECT_TRUE(deep->Enabled());
}

TEST(TsuiGroupBox, AlignedChildrenStayInsideTheFrame) {
    auto form = ShownForm();
    auto* g = Put<TsuiGroupBox>(*form, 10, 10, 200, 100);
    g->Font().SetHeight(-12);
    auto* child = Put<TPanel>(*g, 0, 0);
    child->SetAlign(alClient);
    EXPECT_EQ(3, child->Left());
    EXPECT_EQ(12 + 5, child->Top());
    EXPECT_EQ(200 - 6, child->Width());
    EXPECT_EQ(100 - 3 - 17, child->Height());
    g->Font().SetHeight(-20);
    EXPECT_EQ(25, child->Top());
}

TEST(TsuiRadioGroup, TheMainWindowsInputModeGroupLaysOutTwoColumns) {
    auto form = ShownForm(340, 100);
    auto* g = InputModeGroup(*form);
    ASSERT_EQ(2, g->ItemCount());
    EXPECT_EQ(8, g->ItemButton(0)->Left());
    EXPECT_EQ(19, g->ItemButton(0)->Top());
    EXPECT_EQ(155, g->ItemButton(1)->Left());
    EXPECT_EQ(19, g->ItemButton(1)->Top());
    TMemoryCanvas measure;
    measure.Font().Assign(g->Font());
    const int expectedHeight = std::max(measure.TextHeight(L"W") + 2, 13) + 4;
    EXPECT_EQ(expectedHeight, g->ItemButton(0)->Height());
    if (measure.TextHeight(L"W") == 13) {
        EXPECT_EQ(19, g->ItemButton(1)->Height());
    }
    EXPECT_FALSE(g->ItemButton(0)->TabStop());
    EXPECT_TRUE(g->TabStop());
}

TEST(TsuiRadioGroup, RowsFillTopToBottomThenLeftToRight) {
    auto form = ShownForm(340, 200);
    auto* g = Put<TsuiRadioGroup>(*form, 10, 10, 210, 105);
    g->Font().SetHeight(-11);
    g->SetColumns(2);
    g->Items().Assign(std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"});
    // Inner rectangle (3, 11, 208, 103): rows of 28 from y = 19.
    const int top = 11 + 8, avail = (105 - 2) - top, rowHeight = avail / 3;
    const int firstY = top + (avail % 3) / 2, columnWidth = (210 - 10) / 2;
    const POINT want[] = {{8, firstY},
                          {8, firstY + rowHeight},
                          {8, firstY + 2 * rowHeight},
                          {8 + columnWidth, firstY},
                          {8 + columnWidth, firstY + rowHeight}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(want[i].x, g->ItemButton(i)->Left()) << i;
        EXPECT_EQ(want[i].y, g->ItemButton(i)->Top()) << i;
    }

    // Negative values are refused; no columns lays out as one.
    g->SetColumns(-1);
    EXPECT_EQ(2, g->Columns());
    g->SetTopMargin(-4);
    EXPECT_EQ(8, g->TopMargin());
    g->SetColumns(0);
    EXPECT_EQ(8, g->ItemButton(4)->Left());
    EXPECT_EQ(11 + 8 + 4 * ((103 - 19) / 5) + ((103 - 19) % 5) / 2, g->ItemButton(4)->Top());

    // Fewer strings free the surplus items from the end; the rest keep their state.
    g->SetItemIndex(1);
    g->Items().Delete(4);
    g->Items().Delete(3);
    EXPECT_EQ(3, g->ItemCount());
    EXPECT_EQ(1, g->ItemIndex());
    EXPECT_EQ(L"c", g->ItemButton(2)->Caption());
    g->Items().Clear();
    EXPECT_EQ(0, g->ItemCount());
    EXPECT_EQ(-1, g->ItemIndex());
}

TEST(TsuiRadioGroup, ItemIndexRulesAndOnClick) {
    auto form = ShownForm(340, 100);
    auto* g = InputModeGroup(*form);
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(-1, g->ItemIndex());
    g->SetItemIndex(1);
    EXPECT_EQ(1, g->ItemIndex());
    EXPECT_EQ(1, clicks);
    g->SetItemIndex(5); // beyond the items: nothing changes
    g->SetItemIndex(-2);
    EXPECT_EQ(1, g->ItemIndex());
    EXPECT_EQ(1, clicks);
    g->SetItemIndex(0);
    EXPECT_TRUE(g->ItemChecked(0));
    EXPECT_FALSE(g->ItemChecked(1));
    EXPECT_EQ(2, clicks);
    g->SetItemIndex(-1);
    EXPECT_EQ(-1, g->ItemIndex());
    EXPECT_FALSE(g->ItemChecked(0));

    // A click on an item selects it; on the selected one it does nothing.
    TsuiCheckBox* second = g->ItemButton(1);
    second->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    second->Perform(WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_EQ(1, g->ItemIndex());
    EXPECT_EQ(3, clicks);
    second->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    second->Perform(WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_EQ(3, clicks);

    g->SetLoading(true);
    g->SetItemIndex(0);
    g->SetLoading(false);
    EXPECT_EQ(0, g->ItemIndex());
    EXPECT_EQ(3, clicks);
}

TEST(TsuiRadioGroup, FocusGoesToTheCheckedItemAndArrowsSelect) {
    auto form = ShownForm(340, 140);
    auto* before = Put<TsuiButton>(*form, 10, 70);
    auto* g = InputModeGroup(*form);
    g->SetItemIndex(1);
    g->SetFocus();
    EXPECT_TRUE(g->ItemButton(1)->Focused());

    // Arrow keys move the focus to a sibling item, which then selects itself.
    form->Perform(CM_DIALOGKEY, VK_LEFT, 0);
    EXPECT_TRUE(g->ItemButton(0)->Focused());
    EXPECT_EQ(0, g->ItemIndex());

    // Tabbing in from elsewhere to an unchecked item selects nothing.
    before->SetFocus();
    g->ItemButton(1)->SetFocus();
    EXPECT_EQ(0, g->ItemIndex());

    // Without a choice the group keeps the focus itself.
    g->SetItemIndex(-1);
    before->SetFocus();
    g->SetFocus();
    EXPECT_TRUE(g->Focused());

    // The focused look: only on the checked item while it or the group has focus.
    g->SetItemIndex(0);
    before->SetFocus();
    g->SetFocus();
    TsuiCheckBox* item = g->ItemButton(0);
    ASSERT_TRUE(item->Focused());
    const auto focused = Painted(*item);
    before->SetFocus();
    const auto unfocused = Painted(*item);
    EXPECT_GT(CountDifferent(*focused, *unfocused, RECT{0, 0, item->Width(), item->Height()}), 4);
}

TEST(TsuiCheckGroup, ItemsAreCheckBoxesAndTheGroupFocusesTheFirst) {
    auto form = ShownForm(340, 140);
    auto* g = Put<TsuiCheckGroup>(*form, 10, 10);
    g->Items().Assign(std::vector<std::wstring>{L"one", L"two"});
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    TsuiCheckBox* a = g->ItemButton(0);
    TsuiCheckBox* b = g->ItemButton(1);
    EXPECT_NE(nullptr, dynamic_cast<TsuiCheckGroupButton*>(a));
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_TRUE(a->Checked()); // no radio rule here
    EXPECT_EQ(2, clicks);
    g->SetFocus();
    EXPECT_TRUE(a->Focused());

    // The group's font, colour and transparency reach the items.
    g->Font().SetColor(clRed);
    EXPECT_EQ(clRed, b->Font().Color());
    EXPECT_EQ(clRed, g->FontColor());
    g->SetTransparent(true);
    EXPECT_TRUE(b->Transparent());
    g->SetUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(TsuiUIStyle::MacOS, b->UIStyle());
    EXPECT_EQ(g->Color(), b->Color());
}
