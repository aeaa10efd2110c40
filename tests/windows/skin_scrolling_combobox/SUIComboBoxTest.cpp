// The skinned combo box: the two-line frame, the button and the arrow each
// style draws over the system's combo box, and the frame of the dropped list.

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include "skin/controls/SUIListControls.h"

#include "framework/Utils.h"

#include <gtest/gtest.h>

namespace {

TsuiComboBox* Combo(HostForm& host, TsuiUIStyle style, TComboBoxStyle kind = csDropDownList) {
    auto* c = Make<TsuiComboBox>(host.get(), 20, 20, 120, 24);
    c->SetStyle(kind);
    c->SetUIStyle(style);
    c->Items().Add(L"20");
    c->Items().Add(L"30");
    c->SetItemIndex(0);
    return c;
}

struct Arrow {
    int x, y; // the triangle's top-left corner
};

Arrow ArrowOf(const RECT& b) {
    return {b.left + (b.right - b.left) / 2 - 3, (b.bottom - b.top) / 2};
}

} // namespace

TEST(SUIComboBox, FrameButtonAndEnabledArrowInTheStyleColours) {
    for (TsuiUIStyle style :
         {TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
        SCOPED_TRACE(static_cast<int>(style));
        HostForm host;
        TsuiComboBox* c = Combo(host, style);
        const TColor border = GetBuiltInThemeColor(style, ThemeElement::ControlBorderColor);
        const TColor button = GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor);
        EXPECT_EQ(border, c->BorderColor());
        EXPECT_EQ(button, c->ButtonColor());
        EXPECT_EQ(clBlack, c->ArrowColor());

        const RECT b = c->ComboBoxInfo().rcButton;
        const Arrow a = ArrowOf(b);
        const int w = c->Width(), h = c->Height();
        auto shot = Painted(*c);
        for (POINT p : {POINT{0, 0}, POINT{w / 3, 0}, POINT{0, h / 2}, POINT{w - 1, h - 1}})
            EXPECT_EQ(border, shot->Pixel(p.x, p.y)) << p.x << "," << p.y;
        EXPECT_EQ(TColor(ColorToRGB(c->Color())), shot->Pixel(w / 3, 1));
        EXPECT_EQ(TColor(ColorToRGB(c->Color())), shot->Pixel(1, h / 2));
        EXPECT_EQ(border, shot->Pixel(b.left, b.top));         // the line left of the button
        EXPECT_EQ(button, shot->Pixel(b.left + 2, b.top + 1)); // the button's face
        EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 1));     // the arrow
        EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 3));     // its tip
        EXPECT_EQ(button, shot->Pixel(a.x + 3, a.y + 5));      // nothing below it

        // The erase paints the frame too, and a colour set by hand shows.
        c->SetArrowColor(clRed);
        c->SetBorderColor(clBlue);
        TBitmap erased(w, h);
        erased.Fill(clWhite);
        c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Canvas().Handle()), 0);
        EXPECT_EQ(clBlue, erased.Pixel(w / 3, 0));
        EXPECT_EQ(clRed, erased.Pixel(a.x + 3, a.y + 1));
    }
}

TEST(SUIComboBox, DisabledArrowIsGreyWithAWhiteShadow) {
    HostForm host;
    TsuiComboBox* c = Combo(host, TsuiUIStyle::BlueGlass);
    c->SetEnabled(false);
    const RECT b = c->ComboBoxInfo().rcButton;
    const Arrow a = ArrowOf(b);
    auto shot = Painted(*c);
    EXPECT_EQ(TColor(0x808080), shot->Pixel(a.x + 3, a.y + 1));
    EXPECT_EQ(TColor(0x808080), shot->Pixel(a.x, a.y));
    EXPECT_EQ(clWhite, shot->Pixel(a.x + 7, a.y + 1)); // the shadow right of the grey
    EXPECT_EQ(clWhite, shot->Pixel(a.x + 4, a.y + 4)); // and below its tip
    EXPECT_EQ(c->ButtonColor(), shot->Pixel(a.x - 1, a.y));

    c->SetEnabled(true);
    shot = Painted(*c);
    EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 1));
    EXPECT_EQ(c->ButtonColor(), shot->Pixel(a.x + 7, a.y + 1));
}

TEST(SUIComboBox, MacOSAndWinXPShowTheirButtonPictureAndOnlyMacOSAnArrowOverIt) {
    struct Case {
        TsuiUIStyle style;
        const wchar_t* picture;
        bool arrow;
    };
    for (const Case& k : {Case{TsuiUIStyle::MacOS, L"MACOS_COMBOBOX_BUTTON", true},
                          Case{TsuiUIStyle::WinXP, L"WINXP_COMBOBOX_BUTTON", false}}) {
        SCOPED_TRACE(static_cast<int>(k.style));
        HostForm host;
        TsuiComboBox* c = Combo(host, k.style);
        const RECT b = c->ComboBoxInfo().rcButton;
        const Arrow a = ArrowOf(b);
        TBitmap picture;
        picture.LoadFromResourceName(MainInstance(), k.picture);
        TBitmap expected(c->Width(), c->Height());
        expected.Canvas().StretchDraw(b, picture);

        auto shot = Painted(*c);
        int differing = 0;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                differing += shot->Pixel(x, y) != expected.Pixel(x, y);
        if (k.arrow) {
            EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 1));
            EXPECT_GT(differing, 0);
        } else {
            EXPECT_EQ(0, differing);
        }
        EXPECT_EQ(c->BorderColor(), shot->Pixel(0, 0));
    }
}

TEST(SUIComboBox, SimpleStyleKeepsTheSystemLook) {
    HostForm host;
    auto* c = Make<TsuiComboBox>(host.get(), 20, 20, 120, 90);
    c->SetStyle(csSimple);
    c->Items().Add(L"20");
    c->SetBorderColor(clRed);
    c->SetButtonColor(clLime);
    c->SetArrowColor(clFuchsia);
    auto shot = Painted(*c);
    int skinned = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x) {
            const TColor p = shot->Pixel(x, y);
            skinned += p == clRed || p == clLime || p == clFuchsia;
        }
    EXPECT_EQ(0, skinned);
}

TEST(SUIComboBox, DroppedListIsFramedInTheBorderColour) {
    HostForm host;
    TsuiComboBox* c = Combo(host, TsuiUIStyle::DeepBlue);
    c->SetBorderColor(clRed);
    host.Show();
    c->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(c->DroppedDown());
    UpdateWindow(c->Handle());
    Pump();
    RECT lr{};
    GetWindowRect(c->ListHandle(), &lr);
    HDC screen = GetDC(nullptr);
    const COLORREF corner = GetPixel(screen, lr.left, lr.bottom - 1);
    const COLORREF edge = GetPixel(screen, lr.right - 1, (lr.top + lr.bottom) / 2);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ColorToRGB(clRed), corner);
    EXPECT_EQ(ColorToRGB(clRed), edge);
}
