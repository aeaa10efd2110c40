// The skinned tool bar as a person sees it: the window showing through a
// transparent bar, flat rectangles for hot, pressed and checked buttons with
// the glyph and caption where the skin puts them, and no button left hot by
// a modal window it opened.

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include "skin/controls/SUIToolBar.h"

#include "framework/ModalHook.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TColor kBack = 0x00563412; // the window behind the bar
constexpr int kGlyph = 32;
const TColor kFaces[] = {clRed, clGreen, clBlue, clOlive};

class SUIToolBarTest : public testing::Test {
  protected:
    void SetUp() override {
        host->SetColor(kBack);
        images = new TCustomImageList(host.get());
        images->SetWidth(kGlyph);
        images->SetHeight(kGlyph);
        for (TColor face : kFaces) {
            TBitmap b(kGlyph, kGlyph);
            b.Fill(clFuchsia); // the key colour, bottom-left
            for (int y = 4; y < kGlyph - 4; ++y)
                for (int x = 4; x < kGlyph - 4; ++x)
                    b.SetPixel(x, y, face);
            images->Images().AddMasked(b, clDefault);
        }
        bar = new TsuiToolBar(host.get());
        bar->SetParent(host.get());
        bar->SetImages(images);
        bar->SetShowCaptions(true);
        bar->SetButtonWidth(39);
        bar->SetButtonHeight(52);
        bar->SetAutoSize(true);
        bar->SetUIStyle(TsuiUIStyle::MacOS);
        const wchar_t* captions[] = {L"AB", L"CD", L"EF", L"GH"};
        for (int i = 0; i < 4; ++i) {
            auto* b = new TToolButton(host.get());
            b->SetCaption(captions[i]);
            b->SetImageIndex(i);
            b->SetParent(bar);
            buttons.push_back(b);
        }
        host.Show();
    }

    LRESULT Send(UINT msg, WPARAM w, LPARAM l) { return SendMessageW(bar->Handle(), msg, w, l); }
    WPARAM Id(int i) { return WPARAM(buttons[size_t(i)]->CommandId()); }
    RECT Rect(int i) { return bar->ButtonRect(buttons[size_t(i)]); }
    POINT ScreenCentre(int i) {
        RECT r = Rect(i);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar->Handle(), &p);
        return p;
    }
    // The horizontal extent of the caption's ink: pixels below the glyph that
    // are neither the button's fill nor its frame, left of x = end.
    std::pair<int, int> CaptionInk(const TBitmap& shot, const RECT& r, TColor fill, int end) {
        int left = r.right, right = r.left - 1;
        for (int y = r.top + kGlyph + 4; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < end; ++x)
                if (TColor c = shot.Pixel(x, y); c != fill && c != bar->ButtonBorderColor()) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return {left, right};
    }

    HostForm host{400, 200};
    TCustomImageList* images = nullptr;
    TsuiToolBar* bar = nullptr;
    std::vector<TToolButton*> buttons;
};

TEST_F(SUIToolBarTest, TransparentStylesShowTheWindowBetweenTheButtons) {
    struct Case {
        TsuiUIStyle style;
        bool transparent;
    };
    const Case cases[] = {{TsuiUIStyle::MacOS, true},
                          {TsuiUIStyle::Protein, true},
                          {TsuiUIStyle::BlueGlass, false},
                          {TsuiUIStyle::WinXP, false}};
    for (const Case& c : cases) {
        bar->SetUIStyle(c.style);
        EXPECT_EQ(bar->Transparent(), c.transparent);
        auto shot = Painted(*bar);
        const TColor expected = c.transparent ? kBack : ColorToRGB(bar->Color());
        const RECT r = Rect(1);
        EXPECT_EQ(shot->Pixel(bar->ClientWidth() - 5, 10), expected); // beyond the buttons
        EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), expected);      // behind a flat button
        EXPECT_EQ(shot->Pixel(r.left, r.bottom - 2), expected);       // where two buttons meet
        EXPECT_EQ(shot->Pixel(r.left + 20, r.top + 20), kFaces[1]);   // the glyph on top
    }
}

TEST_F(SUIToolBarTest, HotPressedAndCheckedButtonsAreFlatRectanglesInTheStyleColours) {
    // The MacOS colours; the glyph sits one pixel lower and further right when pressed.
    struct Case {
        const char* name;
        bool hot, pressed, checked;
        TColor fill;
        int glyphShift;
    };
    const Case cases[] = {
        {"hot", true, false, false, 0x00EFEFEF, 0},
        {"hot and pressed", true, true, false, 0x00D8D8D8, 1},
        {"checked", false, false, true, 0x00EFEFEF, 0},
        {"pressed, mouse gone", false, true, false, 0x00EFEFEF, 0},
        {"plain", false, false, false, kBack, 0},
    };
    buttons[2]->SetStyle(tbsCheck);
    const int i = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        buttons[size_t(i)]->SetDown(c.checked);
        Send(TB_PRESSBUTTON, Id(i), MAKELPARAM(c.pressed, 0));
        Send(TB_SETHOTITEM, c.hot ? WPARAM(i) : WPARAM(-1), 0);
        auto shot = Painted(*bar);
        const RECT r = Rect(i);
        EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), c.fill);
        EXPECT_EQ(shot->Pixel(r.right - 2, r.bottom - 10), c.fill);
        if (c.fill == kBack) continue; // the framework's own flat button: no frame
        EXPECT_EQ(shot->Pixel(r.left, r.top + 10), 0x00474747);
        EXPECT_EQ(shot->Pixel(r.right - 1, r.bottom - 1), 0x00474747);
        EXPECT_EQ(shot->Pixel(r.left + 10, r.bottom - 1), 0x00474747);
        // Glyph at x = Left + (39 - 32) div 2 - 1, y = Top + 2; its face starts 4 pixels in.
        const int gx = r.left + (39 - kGlyph) / 2 - 1 + c.glyphShift + 4;
        const int gy = r.top + 2 + c.glyphShift + 4;
        EXPECT_EQ(shot->Pixel(gx, gy), kFaces[i]);
        EXPECT_EQ(shot->Pixel(gx + 23, gy + 23), kFaces[i]);
        EXPECT_EQ(shot->Pixel(gx - 1, gy), c.fill);
        EXPECT_EQ(shot->Pixel(gx, gy - 1), c.fill);
        EXPECT_EQ(shot->Pixel(gx + 24, gy + 23), c.fill);
        // The caption below the glyph, centred on the button.
        auto [left, right] = CaptionInk(*shot, r, c.fill, r.right - 1);
        ASSERT_LE(left, right) << "no caption";
        EXPECT_NEAR(left + right + 1, r.left + r.right, 3);
    }

    // A hot image list gives the hot button its glyph; the others keep theirs.
    auto* hot = new TCustomImageList(host.get());
    hot->SetWidth(kGlyph);
    hot->SetHeight(kGlyph);
    TBitmap glyph(kGlyph * 4, kGlyph);
    glyph.Fill(clTeal);
    hot->Images().AddMasked(glyph, clNone);
    bar->SetHotImages(hot);
    Send(TB_SETHOTITEM, WPARAM(i), 0);
    auto shot = Painted(*bar);
    EXPECT_EQ(shot->Pixel(Rect(i).left + 20, Rect(i).top + 20), clTeal);
    EXPECT_EQ(shot->Pixel(Rect(0).left + 20, Rect(0).top + 20), kFaces[0]);
}

TEST_F(SUIToolBarTest, DropDownButtonCentresItsCaptionLeftOfTheArrow) {
    buttons[1]->SetStyle(tbsDropDown);
    buttons[1]->SetCaption(L"WIDE");
    Send(TB_SETHOTITEM, 1, 0);
    auto shot = Painted(*bar);
    const RECT r = Rect(1);
    ASSERT_GT(r.right - r.left, 30);
    const int mid = (r.bottom - r.top) / 2;
    for (int y : {int(r.top) + 1, mid, int(r.bottom) - 2}) // the divider left of the arrow
        EXPECT_EQ(shot->Pixel(r.right - 14, y), clBlack);
    EXPECT_EQ(shot->Pixel(r.right - 7, mid + 1), clBlack); // the arrow's tip
    EXPECT_EQ(shot->Pixel(r.right - 7, mid + 4), 0x00EFEFEF);
    auto [left, right] = CaptionInk(*shot, r, 0x00EFEFEF, r.right - 15);
    ASSERT_LE(left, right) << "no caption";
    EXPECT_NEAR(left + right + 1, r.left + r.right - 14, 3);
}

TEST_F(SUIToolBarTest, ButtonIsNotHotAfterItsModalWindowClosesUnlessTheMouseIsOnIt) {
    struct Case {
        const char* name;
        bool mouseStays;
    };
    const Case cases[] = {{"mouse moved to the modal window", false}, {"mouse stayed", true}};
    const int i = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const POINT over = ScreenCentre(i);
        SetCursorPos(over.x, over.y);
        POINT inside = over;
        ScreenToClient(bar->Handle(), &inside);
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        Pump();
        ASSERT_EQ(bar->HotButton(), buttons[size_t(i)]);

        bool hotWhileModal = true;
        TScopedModalHook answer([&](TModalRequest& r) {
            if (r.kind != TModalKind::Form || !r.form) return;
            Pump();
            hotWhileModal = bar->HotButton() != nullptr;
            if (!c.mouseStays) {
                RECT w{};
                GetWindowRect(r.form->Handle(), &w);
                SetCursorPos((w.left + w.right) / 2, (w.top + w.bottom) / 2);
            }
            r.form->SetModalResult(mrOk);
        });
        buttons[size_t(i)]->OnClick = [&](TObject*) {
            TOwned<TForm> dialog(new TForm(nullptr));
            dialog->SetBounds(200, 300, 200, 120);
            dialog->ShowModal();
        };
        Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
        Send(WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
        Pump();
        EXPECT_FALSE(hotWhileModal);
        auto shot = Painted(*bar);
        const RECT r = Rect(i);
        if (c.mouseStays) {
            EXPECT_EQ(bar->HotButton(), buttons[size_t(i)]);
            EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), 0x00EFEFEF);
        } else {
            EXPECT_EQ(bar->HotButton(), nullptr);
            EXPECT_EQ(shot->Pixel(r.left + 1, r.top + 1), kBack);
        }
        buttons[size_t(i)]->OnClick = nullptr;
    }
    SetCursorPos(0, 0);
}

} // namespace
