// The skinned combo box: the two-line frame, the button and the arrow each
// style draws over the system's combo box, and the frame of the dropped list.

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include "skin/controls/SUIListControls.h"

#include "framework/Utils.h"

#include <gtest/gtest.h>

namespace {

TsuiComboBox* Combo(HostForm& host, TsuiUIStyle style, int height = 24) {
    auto* c = Make<TsuiComboBox>(host.get(), 20, 20, 120, height);
    c->SetUIStyle(style);
    c->Items().Add(L"20");
    c->Handle();
    return c;
}

// The arrow triangle's top-left corner in the button b.
POINT ArrowAt(const RECT& b) {
    return {b.left + (b.right - b.left) / 2 - 3, (b.bottom - b.top) / 2};
}

} // namespace

TEST(SUIComboBox, FrameButtonAndArrowInTheStyleColours) {
    for (TsuiUIStyle style :
         {TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass}) {
        SCOPED_TRACE(static_cast<int>(style));
        HostForm host;
        TsuiComboBox* c = Combo(host, style);
        const TColor border = GetBuiltInThemeColor(style, ThemeElement::ControlBorderColor);
        const TColor button = GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor);
        const RECT b = c->ComboBoxInfo().rcButton;
        const POINT a = ArrowAt(b);
        const int w = c->Width(), h = c->Height();
        auto shot = Painted(*c);
        EXPECT_EQ(border, shot->Pixel(w / 3, 0));
        EXPECT_EQ(border, shot->Pixel(w - 1, h - 1));
        EXPECT_EQ(TColor(ColorToRGB(c->Color())), shot->Pixel(1, h / 2));
        EXPECT_EQ(border, shot->Pixel(b.left, b.top));         // the line left of the button
        EXPECT_EQ(button, shot->Pixel(b.left + 2, b.top + 1)); // the button's face
        EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 1));
        EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 3)); // the tip, and nothing below it
        EXPECT_EQ(button, shot->Pixel(a.x + 3, a.y + 5));

        // The erase paints the frame too, in the colours set by hand.
        c->SetArrowColor(clRed);
        c->SetBorderColor(clBlue);
        TBitmap erased(w, h);
        c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Canvas().Handle()), 0);
        EXPECT_EQ(clBlue, erased.Pixel(w / 3, 0));
        EXPECT_EQ(clRed, erased.Pixel(a.x + 3, a.y + 1));
    }
}

TEST(SUIComboBox, DisabledArrowIsGreyWithAWhiteShadow) {
    HostForm host;
    TsuiComboBox* c = Combo(host, TsuiUIStyle::BlueGlass);
    const POINT a = ArrowAt(c->ComboBoxInfo().rcButton);
    c->SetEnabled(false);
    auto shot = Painted(*c);
    EXPECT_EQ(TColor(0x808080), shot->Pixel(a.x, a.y));
    EXPECT_EQ(TColor(0x808080), shot->Pixel(a.x + 3, a.y + 3));
    EXPECT_EQ(clWhite, shot->Pixel(a.x + 7, a.y + 1)); // right of the grey
    EXPECT_EQ(clWhite, shot->Pixel(a.x + 4, a.y + 4)); // below its tip

    c->SetEnabled(true);
    shot = Painted(*c);
    EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 3));
    EXPECT_EQ(c->ButtonColor(), shot->Pixel(a.x + 7, a.y + 1));
}

TEST(SUIComboBox, MacOSAndWinXPShowTheirButtonPictureAndOnlyMacOSAnArrowOverIt) {
    for (bool mac : {true, false}) {
        SCOPED_TRACE(mac ? "MacOS" : "WinXP");
        HostForm host;
        TsuiComboBox* c = Combo(host, mac ? TsuiUIStyle::MacOS : TsuiUIStyle::WinXP);
        const RECT b = c->ComboBoxInfo().rcButton;
        TBitmap picture, expected(c->Width(), c->Height());
        picture.LoadFromResourceName(MainInstance(),
                                     mac ? L"MACOS_COMBOBOX_BUTTON" : L"WINXP_COMBOBOX_BUTTON");
        expected.Canvas().StretchDraw(b, picture);

        auto shot = Painted(*c);
        int differing = 0;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                differing += shot->Pixel(x, y) != expected.Pixel(x, y);
        const POINT a = ArrowAt(b);
        if (mac) {
            EXPECT_EQ(clBlack, shot->Pixel(a.x + 3, a.y + 1));
        }
        EXPECT_EQ(mac, differing > 0);
    }
}

TEST(SUIComboBox, SimpleStyleKeepsTheSystemLook) {
    HostForm host;
    TsuiComboBox* c = Combo(host, TsuiUIStyle::BlueGlass, 90);
    c->SetStyle(csSimple);
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

TEST(SUIComboBox, DroppedListIsFramedInTheBorderColourOnScreen) {
    HostForm host;
    TsuiComboBox* c = Combo(host, TsuiUIStyle::DeepBlue);
    c->SetBorderColor(clRed);
    host.Show();
    c->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(c->DroppedDown());
    RECT r{};
    GetWindowRect(c->ListHandle(), &r);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(ColorToRGB(clRed), GetPixel(screen, r.left, r.bottom - 1));
    EXPECT_EQ(ColorToRGB(clRed), GetPixel(screen, r.right - 1, (r.top + r.bottom) / 2));
    ReleaseDC(nullptr, screen);
}
