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

TEST(SkinScrollBarLink, ListBoxBarAppearsWithThePlatformThumbAndScrollsBothWays) {
    LinkedForm f;
    TsuiScrollBar& bar = *f.listBar;
    EXPECT_EQ(suiVertical, bar.Orientation());
    EXPECT_EQ(10 + 140 - bar.Width() - 2, bar.Left());
    EXPECT_EQ(11, bar.Top());
    EXPECT_EQ(118, bar.Height());

    f.list->Items().Add(L"一");
    f.list->Items().Add(L"二");
    EXPECT_FALSE(bar.Visible());
    EXPECT_FALSE(bar.Enabled());
    EXPECT_EQ(0, bar.LineButton());

    // One item at a time until the list's own bar appears.
    int added = 0;
    while (!(GetWindowLongW(f.list->Handle(), GWL_STYLE) & WS_VSCROLL) && added < 40)
        f.list->Items().Add(L"项 " + std::to_wstring(added++));
    ASSERT_TRUE(bar.Visible());
    EXPECT_TRUE(bar.Enabled());
    const SCROLLBARINFO sbi = PlatformBar(f.list->Handle());
    EXPECT_EQ(std::max(18, int(sbi.xyThumbBottom - sbi.xyThumbTop)), bar.LineButton());
    EXPECT_EQ(bar.LineButton(), bar.Track().Thumb().Height());

    for (int i = 0; i < 30; ++i)
        f.list->Items().Add(L"更多 " + std::to_wstring(i));
    const SCROLLINFO si = PlatformRange(f.list->Handle());
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, bar.Max());

    // The bar scrolls the list ...
    bar.SetPosition(7);
    EXPECT_EQ(7, f.list->TopIndex());
    // ... and the list's own scrolling moves the bar.
    SendMessageW(f.list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(8, f.list->TopIndex());
    EXPECT_EQ(8, bar.Position());
    SendMessageW(f.list->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(bar.Max(), bar.Position());
    EXPECT_EQ(bar.Max(), f.list->TopIndex());

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

    // Nothing to scroll: the bars stay, empty and disabled.
    EXPECT_TRUE(v.Visible());
    EXPECT_FALSE(v.Enabled());
    EXPECT_FALSE(v.Track().Thumb().Visible());
    memo.Lines().SetText(Lines(40, 80));
    for (TsuiScrollBar* b : {&v, &h}) {
        EXPECT_TRUE(b->Enabled());
        EXPECT_TRUE(b->Track().Thumb().Visible());
    }
    EXPECT_EQ(PlatformRange(memo.Handle()).nMax - int(PlatformRange(memo.Handle()).nPage) + 1,
              v.Max());
    v.SetPosition(12);
    EXPECT_EQ(12, SendMessageW(memo.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
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
