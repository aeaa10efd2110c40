// Skinned scroll bars laid over a list box and a memo: placement, the bars
// following the controls' own, the controls following the bars, positions
// beyond 16 bits, and a gallery of the bars in three styles.

#include "../support/HostForm.h"
#include "../support/MessagePump.h"
#include "../support/Rects.h"

#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIScrollBar.h"

#include "framework/FormReader.h"
#include "framework/Screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// The test form: a list box with one bar and a memo with a pair, in one style.
struct LinkedForm {
    HostForm host{470, 260};
    TsuiListBox* list = Make<TsuiListBox>(host.get(), 10, 10, 140, 120);
    TsuiMemo* memo = Make<TsuiMemo>(host.get(), 170, 10, 200, 120);
    TsuiScrollBar* listBar = new TsuiScrollBar(host.get());
    TsuiScrollBar* memoV = new TsuiScrollBar(host.get());
    TsuiScrollBar* memoH = new TsuiScrollBar(host.get());

    explicit LinkedForm(TsuiUIStyle style = TsuiUIStyle::BlueGlass) {
        for (TsuiScrollBar* b : {listBar, memoV, memoH})
            b->SetParent(host.get());
        list->SetUIStyle(style);
        memo->SetUIStyle(style);
        memo->SetWordWrap(false);
        list->SetVScrollBar(listBar);
        memo->SetVScrollBar(memoV);
        memo->SetHScrollBar(memoH);
        host.Show();
    }
};

SCROLLBARINFO PlatformBar(HWND wnd, LONG which = OBJID_VSCROLL) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    GetScrollBarInfo(wnd, which, &sbi);
    return sbi;
}

SCROLLINFO PlatformRange(HWND wnd, int which = SB_VERT) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(wnd, which, &si);
    return si;
}

std::wstring Lines(int count, int width = 4) {
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += std::wstring(size_t(width), L'a' + wchar_t(i % 26)) + L"\r\n";
    return text;
}

} // namespace

// One link serves both controls: a bar over a system bar with nothing to
// scroll is empty and disabled, a bar where the system shows none is hidden,
// and once there is something to scroll the bar and the control move together.
TEST(SkinScrollBarLink, BarsFollowTheControlsOwnBarAndScrollTheControl) {
    LinkedForm f;
    f.memo->SetHScrollBar(nullptr);
    const struct {
        const char* name;
        TWinControl* control;
        TsuiScrollBar* bar;
        bool shownWhenEmpty; // the system keeps an empty bar on screen
        std::function<void(int)> fill;
        std::function<int()> topLine;
    } cases[] = {
        {"list box", f.list, f.listBar, false,
         [&f](int n) {
             for (int i = 0; i < n; ++i)
                 f.list->Items().Add(L"项 " + std::to_wstring(i));
         },
         [&f] { return f.list->TopIndex(); }},
        {"memo", f.memo, f.memoV, true, [&f](int n) { f.memo->Lines().SetText(Lines(n)); },
         [&f] { return int(SendMessageW(f.memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }},
    };
    for (const auto& c : cases) {
        TsuiScrollBar& bar = *c.bar;
        c.fill(2);
        EXPECT_EQ(c.shownWhenEmpty, bar.Visible()) << c.name;
        EXPECT_FALSE(bar.Enabled()) << c.name;
        EXPECT_FALSE(bar.Track().Thumb().Visible()) << c.name;
        EXPECT_EQ(0, bar.LineButton()) << c.name;

        c.fill(60);
        ASSERT_TRUE(bar.Visible()) << c.name;
        EXPECT_TRUE(bar.Enabled()) << c.name;
        EXPECT_TRUE(bar.Track().Thumb().Visible()) << c.name;
        const SCROLLBARINFO sbi = PlatformBar(c.control->Handle());
        EXPECT_EQ(std::max(18, int(sbi.xyThumbBottom - sbi.xyThumbTop)), bar.LineButton());
        EXPECT_EQ(bar.LineButton(), bar.Track().Thumb().Height()) << c.name;
        const SCROLLINFO si = PlatformRange(c.control->Handle());
        EXPECT_EQ(si.nMax - int(si.nPage) + 1, bar.Max()) << c.name;

        // The bar scrolls the control, and the control's own scrolling moves the bar.
        bar.SetPosition(7);
        EXPECT_EQ(7, c.topLine()) << c.name;
        SendMessageW(c.control->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(8, c.topLine()) << c.name;
        EXPECT_EQ(8, bar.Position()) << c.name;
        SendMessageW(c.control->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_EQ(bar.Max(), bar.Position()) << c.name;
        EXPECT_EQ(bar.Max(), c.topLine()) << c.name;
    }
}

TEST(SkinScrollBarLink, ListBoxBarIsPlacedOverTheListsEdge) {
    LinkedForm f;
    TsuiScrollBar& bar = *f.listBar;
    EXPECT_EQ(suiVertical, bar.Orientation());
    EXPECT_EQ(10 + 140 - bar.Width() - 2, bar.Left());
    EXPECT_EQ(11, bar.Top());
    EXPECT_EQ(118, bar.Height());

    // Moves and resizes take the bar along.
    f.list->SetBounds(20, 30, 160, 100);
    EXPECT_EQ(20 + 160 - bar.Width() - 2, bar.Left());
    EXPECT_EQ(31, bar.Top());
    EXPECT_EQ(98, bar.Height());
}

TEST(SkinScrollBarLink, MemoBarsArePlacedTogetherAndTheMemosOwnBarsFollowTheLinks) {
    LinkedForm f;
    TsuiMemo& memo = *f.memo;
    TsuiScrollBar &v = *f.memoV, &h = *f.memoH;
    EXPECT_EQ(msBoth, memo.ScrollBars());
    EXPECT_EQ(suiHorizontal, h.Orientation());
    const int vw = v.Width(), hh = h.Height();
    EXPECT_EQ((RECT{170 + 1, 10 + 120 - hh - 2, 170 + 1 + 200 - vw - 2, 10 + 120 - 2}),
              h.BoundsRect());
    EXPECT_EQ((RECT{170 + 200 - vw - 2, 11, 170 + 200 - 2, 11 + 120 - hh - 2}), v.BoundsRect());

    // The horizontal bar follows as the vertical one does.
    memo.Lines().SetText(Lines(40, 80));
    EXPECT_TRUE(h.Enabled());
    EXPECT_TRUE(h.Track().Thumb().Visible());
    h.SetPosition(h.Max());
    EXPECT_EQ(h.Max(), PlatformRange(memo.Handle(), SB_HORZ).nPos);

    // Unlinking one hands it back and gives the other the whole side.
    memo.SetHScrollBar(nullptr);
    EXPECT_EQ(msVertical, memo.ScrollBars());
    EXPECT_FALSE(h.OnChange);
    EXPECT_EQ(100, h.Max());
    EXPECT_TRUE(h.Enabled());
    EXPECT_EQ(118, v.Height());
    memo.SetBounds(180, 20, 150, 100);
    EXPECT_EQ(180 + 150 - vw - 2, v.Left());
    EXPECT_EQ(98, v.Height());

    // A bar freed under a link leaves the memo without one.
    v.Free();
    EXPECT_EQ(nullptr, memo.VScrollBar());
    EXPECT_EQ(msNone, memo.ScrollBars());
    memo.Lines().Add(L"still fine");
}

TEST(SkinScrollBarLink, PositionsBeyondSixteenBitsScrollTheControlToTheLine) {
    LinkedForm f;
    f.memo->SetHScrollBar(nullptr);
    f.memo->Lines().SetText(Lines(70000, 2));
    TsuiScrollBar& v = *f.memoV;
    ASSERT_GT(v.Max(), 66000);
    v.SetPosition(68000);
    EXPECT_EQ(68000, SendMessageW(f.memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    // The memo's own scrolling reaches the bar with all 32 bits.
    SendMessageW(f.memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(68001, v.Position());
    EXPECT_EQ(68001 * (v.Track().Height() - v.Track().Thumb().Height()) / v.Max(),
              v.Track().Thumb().Top());
}

TEST(SkinScrollBarLink, DescriptionsLinkBarsByName) {
    TOwned<TForm> form(new TForm(nullptr));
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object L: TsuiListBox\n"
                      L"    VScrollBar = B\n"
                      L"  end\n"
                      L"  object M: TsuiMemo\n"
                      L"    HScrollBar = B2\n"
                      L"  end\n"
                      L"  object B: TsuiScrollBar\n"
                      L"    PageSize = 20\n"
                      L"    SmallChange = 3\n"
                      L"  end\n"
                      L"  object B2: TsuiScrollBar\n"
                      L"    Orientation = suiVertical\n"
                      L"  end\n"
                      L"end\n",
                      L"test");
    auto* list = static_cast<TsuiListBox*>(form->FindComponent(L"L"));
    auto* memo = static_cast<TsuiMemo*>(form->FindComponent(L"M"));
    auto* bar = static_cast<TsuiScrollBar*>(form->FindComponent(L"B"));
    auto* bar2 = static_cast<TsuiScrollBar*>(form->FindComponent(L"B2"));
    EXPECT_EQ(bar, list->VScrollBar());
    EXPECT_EQ(suiVertical, bar->Orientation());
    EXPECT_EQ(20, bar->PageSize());
    EXPECT_EQ(3, bar->SmallChange());
    EXPECT_EQ(bar2, memo->HScrollBar());
    EXPECT_EQ(suiHorizontal, bar2->Orientation());
    EXPECT_EQ(msHorizontal, memo->ScrollBars());
}

namespace {

void ShowGallery(TsuiUIStyle style, const wchar_t* file) {
    LinkedForm f(style);
    f.host->SetColor(GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor));
    for (int i = 0; i < 40; ++i)
        f.list->Items().Add(L"2008年" + std::to_wstring(i % 12 + 1) + L"月  <=>  5000.00元");
    f.memo->Lines().SetText(L"■软件说明\r\n" + Lines(30, 60));
    f.listBar->SetPosition(10);
    f.memoV->SetPosition(5);

    // Free-standing bars: vertical and horizontal, one disabled.
    auto* v = Make<TsuiScrollBar>(f.host.get(), 400, 10, 17, 180);
    v->SetOrientation(suiVertical);
    v->SetBounds(400, 10, 17, 180);
    v->SetPageSize(30);
    v->SetPosition(40);
    auto* off = Make<TsuiScrollBar>(f.host.get(), 430, 10, 17, 180);
    off->SetOrientation(suiVertical);
    off->SetBounds(430, 10, 17, 180);
    off->SetEnabled(false);
    auto* h = Make<TsuiScrollBar>(f.host.get(), 10, 150, 360, 17);
    h->SetPageSize(20);
    h->SetPosition(70);
    auto* h2 = Make<TsuiScrollBar>(f.host.get(), 10, 180, 240, 17);
    h2->SetLineButton(60);
    for (TsuiScrollBar* b : {v, off, h, h2})
        b->SetUIStyle(style);
    f.host->Repaint();
    Pump();

    TBitmap shot;
    CaptureWindow(f.host->Handle(), shot, true);
    SaveScreenshot(shot, file);
    // The track shows the style's colour beside the thumb, the thumb its picture.
    const TColor back = GetBuiltInThemeColor(style, ThemeElement::ScrollBarBackgroundColor);
    const RECT track = v->Track().BoundsRect();
    EXPECT_EQ(back, shot.Pixel(400 + 8, 10 + track.bottom - 3));
    TBitmap middle;
    GetBuiltInThemeBitmap(style, ThemeElement::ScrollBarSliderImage, &middle, 2, 3);
    const TsuiImagePanel& thumb = h->Track().Thumb();
    const int tx = 10 + h->Track().Left() + thumb.Left() + thumb.Width() / 2;
    EXPECT_EQ(middle.Pixel(middle.Width() / 2, 8), shot.Pixel(tx, 150 + thumb.Top() + 8));
    // The list's bar lies over the list's own, inside its frame.
    TsuiScrollBar& lb = *f.listBar;
    EXPECT_TRUE(lb.Visible());
    const RECT lt = lb.Track().BoundsRect();
    EXPECT_EQ(back, shot.Pixel(lb.Left() + 8, lb.Top() + lt.bottom - 3));
    EXPECT_EQ(GetBuiltInThemeColor(style, ThemeElement::ControlBorderColor), shot.Pixel(10, 60));
}

} // namespace

TEST(SkinScrollBarGallery, BlueGlass) {
    ShowGallery(TsuiUIStyle::BlueGlass, L"skin-scrollbar-blueglass");
}

TEST(SkinScrollBarGallery, WinXP) {
    ShowGallery(TsuiUIStyle::WinXP, L"skin-scrollbar-winxp");
}

TEST(SkinScrollBarGallery, MacOS) {
    ShowGallery(TsuiUIStyle::MacOS, L"skin-scrollbar-macos");
}
