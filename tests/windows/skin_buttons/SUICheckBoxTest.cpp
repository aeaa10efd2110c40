// Check boxes and radio buttons: the picture frame per state, auto-size,
// when OnClick fires, the radio rule, keys and accelerators.

#include "ButtonTestSupport.h"

using namespace button_test;

namespace {

std::unique_ptr<TBitmap> Frame(TsuiUIStyle style, int element, int index) {
    auto b = std::make_unique<TBitmap>();
    GetBuiltInThemeBitmap(style, element, b.get(), index, 4);
    return b;
}

// Whether the control's picture shows frame `index` of the style's strip
// (compared where the frame is not keyed out).
bool ShowsFrame(TsuiCheckBox& box, TsuiUIStyle style, int element, int index) {
    const auto frame = Frame(style, element, index);
    const auto img = Painted(box);
    const int top = (box.Height() - frame->Height()) / 2;
    const TColor key = frame->Pixel(0, frame->Height() - 1);
    int compared = 0;
    for (int y = 0; y < frame->Height(); ++y)
        for (int x = 0; x < frame->Width(); ++x) {
            const TColor want = frame->Pixel(x, y);
            if (element == ThemeElement::RadioButtonImage && want == key) continue;
            if (img->Pixel(1 + x, top + y) != want) return false;
            ++compared;
        }
    return compared > 20;
}

} // namespace

TEST(TsuiCheckBox, PictureFrameFollowsCheckedAndEnabled) {
    auto form = ShownForm();
    for (TsuiUIStyle style : {TsuiUIStyle::BlueGlass, TsuiUIStyle::WinXP}) {
        auto* box = Put<TsuiCheckBox>(*form, 10, 10);
        box->SetUIStyle(style);
        box->SetCaption(L"记住");
        const int e = ThemeElement::CheckBoxImage;
        EXPECT_TRUE(ShowsFrame(*box, style, e, 2));
        box->SetChecked(true);
        EXPECT_TRUE(ShowsFrame(*box, style, e, 1));
        box->SetEnabled(false);
        EXPECT_TRUE(ShowsFrame(*box, style, e, 3));
        box->SetChecked(false);
        EXPECT_TRUE(ShowsFrame(*box, style, e, 4));
        EXPECT_FALSE(ShowsFrame(*box, style, e, 2)); // the frames differ
        box->Free();
    }
    auto* radio = Put<TsuiRadioButton>(*form, 10, 40);
    radio->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_TRUE(ShowsFrame(*radio, TsuiUIStyle::BlueGlass, ThemeElement::RadioButtonImage, 2));
    radio->SetChecked(true);
    EXPECT_TRUE(ShowsFrame(*radio, TsuiUIStyle::BlueGlass, ThemeElement::RadioButtonImage, 1));
}

TEST(TsuiCheckBox, AutoSizeFitsPictureAndCaption) {
    auto form = ShownForm();
    auto* box = Put<TsuiCheckBox>(*form, 10, 10);
    EXPECT_TRUE(box->AutoSize());
    box->SetUIStyle(TsuiUIStyle::BlueGlass);
    box->SetCaption(L"浮动年利率");
    TMemoryCanvas measure;
    measure.Font().Assign(box->Font());
    const int th = measure.TextHeight(L"W");
    EXPECT_EQ(13 + measure.TextWidth(L"浮动年利率") + 8, box->Width());
    EXPECT_EQ(std::max(th + 2, 13) + 4, box->Height());

    box->SetAutoSize(false);
    box->SetBounds(10, 10, 200, 40);
    box->SetCaption(L"x");
    Painted(*box);
    EXPECT_EQ(200, box->Width());
}

TEST(TsuiCheckBox, CaptionKeepsItsColourWhenDisabled) {
    auto form = ShownForm();
    auto* box = Put<TsuiCheckBox>(*form, 10, 10);
    box->SetCaption(L"WWWW");
    box->Font().SetColor(clRed);
    auto red = [](TColor c) { return int(c & 0xFF) > int((c >> 8) & 0xFF) + 0x40; };
    const int enabled = CountPixels(*Painted(*box), red);
    box->SetEnabled(false);
    EXPECT_GT(enabled, 10);
    EXPECT_EQ(enabled, CountPixels(*Painted(*box), red));
}

TEST(TsuiCheckBox, OnClickFiresForEveryChangeButNotWhileLoading) {
    TsuiCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true); // unchanged
    EXPECT_EQ(1, clicks);
    box.SetState(cbGrayed); // anything but checked unchecks
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(2, clicks);
    box.SetLoading(true);
    box.SetChecked(true);
    box.SetLoading(false);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(2, clicks);
    // A click toggles, and OnClick is told once.
    box.Click();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(3, clicks);
}

TEST(TsuiRadioButton, CheckingOneUnchecksItsSiblingsOfTheSameGroup) {
    auto form = ShownForm();
    auto* a = Put<TsuiRadioButton>(*form, 10, 10);
    auto* b = Put<TsuiRadioButton>(*form, 10, 30);
    auto* other = Put<TsuiRadioButton>(*form, 10, 50);
    other->SetGroupIndex(1);
    auto* panel = Put<TPanel>(*form, 150, 10);
    auto* elsewhere = Put<TsuiRadioButton>(*panel, 5, 5);
    other->SetChecked(true);
    elsewhere->SetChecked(true);

    int aClicks = 0, bClicks = 0;
    a->OnClick = [&](TObject*) { ++aClicks; };
    b->OnClick = [&](TObject*) { ++bClicks; };
    a->SetChecked(true);
    EXPECT_EQ(1, aClicks);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    b->Perform(WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(1, aClicks); // being unchecked says nothing
    EXPECT_EQ(1, bClicks);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(other->Checked());
    EXPECT_TRUE(elsewhere->Checked());

    // Clicking a checked radio button changes nothing.
    b->Click();
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(1, bClicks);
    // Unchecking in code leaves the others alone.
    b->SetChecked(false);
    EXPECT_FALSE(a->Checked());
}

TEST(TsuiCheckBox, SpaceTogglesACheckBoxButNotARadioButton) {
    auto form = ShownForm();
    auto* box = Put<TsuiCheckBox>(*form, 10, 10);
    auto* radio = Put<TsuiRadioButton>(*form, 10, 40);
    box->Perform(WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(box->Checked()); // not focused
    box->SetFocus();
    box->Perform(WM_KEYDOWN, VK_SPACE);
    box->Perform(WM_KEYUP, VK_SPACE);
    EXPECT_TRUE(box->Checked());
    box->Perform(WM_KEYUP, VK_RETURN);
    EXPECT_FALSE(box->Checked());
    radio->SetFocus();
    radio->Perform(WM_KEYDOWN, VK_SPACE);
    radio->Perform(WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(radio->Checked());
}

TEST(TsuiCheckBox, AcceleratorFocusesAndClicks) {
    auto form = ShownForm();
    auto* box = Put<TsuiCheckBox>(*form, 10, 10);
    box->SetCaption(L"&Keep");
    auto* radio = Put<TsuiRadioButton>(*form, 10, 40);
    radio->SetCaption(L"&Float");
    EXPECT_TRUE(form->Perform(CM_DIALOGCHAR, L'k', 0));
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused());
    EXPECT_TRUE(form->Perform(CM_DIALOGCHAR, L'F', 0));
    EXPECT_TRUE(radio->Checked());
    EXPECT_TRUE(radio->Focused());
    box->SetEnabled(false);
    EXPECT_FALSE(form->Perform(CM_DIALOGCHAR, L'k', 0));
    EXPECT_TRUE(box->Checked());
}

TEST(TsuiCheckBox, FocusRectangleBesideThePictureWhileFocused) {
    auto form = ShownForm();
    auto* box = Put<TsuiCheckBox>(*form, 10, 10);
    box->SetUIStyle(TsuiUIStyle::BlueGlass);
    box->SetCaption(L"Keep");
    const auto plain = Painted(*box);
    box->SetFocus();
    const auto focused = Painted(*box);
    TMemoryCanvas measure;
    measure.Font().Assign(box->Font());
    const int th = measure.TextHeight(L"W");
    const int y = (box->Height() - th) / 2;
    // The left edge of the rectangle at x = picture width + 3, nothing left of it.
    EXPECT_GT(CountDifferent(*plain, *focused, RECT{16, y, 17, y + th + 2}), 2);
    EXPECT_EQ(0, CountDifferent(*plain, *focused, RECT{0, 0, 16, box->Height()}));
    box->SetTabStop(false);
    EXPECT_EQ(0, CountDifferent(*plain, *Painted(*box), RECT{0, 0, box->Width(), box->Height()}));
}
