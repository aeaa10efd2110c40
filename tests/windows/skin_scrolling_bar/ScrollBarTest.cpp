// The skinned scroll bar on its own: its layout and thumb, the ranges and
// OnChange, the thumb dragged, the track and the arrows held, the keys.

#include "../support/HostForm.h"
#include "../support/MessagePump.h"
#include "../support/Rects.h"

#include "skin/controls/SUIScrollBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// A BlueGlass bar on a shown form, counting its OnChange events.
struct BarWindow {
    HostForm host{300, 260};
    TsuiScrollBar* bar = nullptr;
    int changes = 0;

    explicit BarWindow(TsuiScrollBarOrientation orientation = suiVertical, int length = 185) {
        bar = new TsuiScrollBar(host.get());
        bar->SetParent(host.get());
        bar->SetUIStyle(TsuiUIStyle::BlueGlass);
        bar->SetOrientation(orientation);
        if (orientation == suiVertical)
            bar->SetBounds(20, 20, 17, length);
        else
            bar->SetBounds(20, 20, length, 17);
        bar->OnChange = [this](TObject*) { ++changes; };
        host.Show();
    }
    bool Vertical() const { return bar->Orientation() == suiVertical; }
    TsuiImagePanel& Thumb() const { return bar->Track().Thumb(); }
    int ThumbStart() const { return Vertical() ? Thumb().Top() : Thumb().Left(); }
    int ThumbLength() const { return Vertical() ? Thumb().Height() : Thumb().Width(); }
    int TrackLength() const { return Vertical() ? bar->Track().Height() : bar->Track().Width(); }
    // A point c pixels along the track, in the track's client coordinates.
    POINT TrackPoint(int c) const { return Vertical() ? POINT{8, c} : POINT{c, 8}; }
    // The thumb dragged so that the pointer is c pixels along the track.
    void DragTo(int c) const {
        const int x = Vertical() ? 5 : c - Thumb().Left();
        const int y = Vertical() ? c - Thumb().Top() : 5;
        SendMessageW(Thumb().Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
};

} // namespace

TEST(SkinScrollBar, LayoutAndThumbLengthFollowOrientationPageSizeAndLineButton) {
    BarWindow v;
    // BlueGlass arrows are 17 x 16; the thumb pieces 7 x 16, turned for a vertical bar.
    EXPECT_EQ(17, v.bar->Width());
    EXPECT_EQ((RECT{0, 16, 17, 185 - 16 - 1}), v.bar->Track().BoundsRect());
    EXPECT_EQ(185 - 16, v.bar->SecondButton().Top());
    EXPECT_EQ(16, v.Thumb().Width());
    const int track = v.TrackLength();
    ASSERT_EQ(152, track);

    struct Case {
        int lineButton, pageSize, thumb, storedLineButton;
    };
    const Case cases[] = {
        {0, 0, track / 10, 0},
        {0, 50, track / 2, 0},
        {0, 150, track / 10, 0},
        {0, 9, track / 10, 0},
        {0, 100, track, 0},
        {5, 0, 18, 18},
        {40, 50, 40, 40},
        {200, 50, 40, 40},              // longer than the bar: refused
        {185 - 32, 0, track, 185 - 32}, // one pixel more than the track
    };
    v.bar->SetMax(1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lineButton << " " << c.pageSize);
        v.bar->SetLineButton(c.lineButton);
        v.bar->SetPageSize(c.pageSize);
        EXPECT_EQ(c.thumb, v.ThumbLength());
        EXPECT_EQ(c.storedLineButton, v.bar->LineButton());
    }

    // Turned on its side: the arrows and the thumb turn with it.
    BarWindow h(suiHorizontal);
    EXPECT_EQ(17, h.bar->Height());
    EXPECT_EQ(16, h.bar->FirstButton().Width());
    EXPECT_EQ((RECT{16, 0, 185 - 16, 17}), h.bar->Track().BoundsRect());
    EXPECT_EQ(16, h.Thumb().Height());
    EXPECT_EQ((185 - 32) / 10, h.ThumbLength());
    h.bar->SetOrientation(suiVertical);
    EXPECT_EQ(17, h.bar->Width());
    EXPECT_EQ(185, h.bar->Height());
}

TEST(SkinScrollBar, RangesClampAndOnChangeFiresOnlyForARealChange) {
    BarWindow w;
    TsuiScrollBar& b = *w.bar;
    b.SetPosition(40);
    b.SetPosition(40);
    EXPECT_EQ(1, w.changes);
    const int room = w.TrackLength() - w.ThumbLength();
    EXPECT_EQ(40 * room / 100, w.ThumbStart());

    b.SetPosition(500);
    EXPECT_EQ(100, b.Position());
    b.SetMax(60); // the position follows
    EXPECT_EQ(60, b.Position());
    b.SetMin(80); // above Max: becomes Max
    EXPECT_EQ(60, b.Min());
    b.SetMin(10);
    b.SetMax(-5); // below Min: becomes Min
    EXPECT_EQ(10, b.Max());
    EXPECT_EQ(10, b.Position());
    EXPECT_EQ(4, w.changes);

    // Max = Min: nothing to divide by; the thumb stays at the start.
    EXPECT_EQ(0, w.ThumbStart());
    b.SetPageSize(11); // above Max: refused
    EXPECT_EQ(0, b.PageSize());
    b.SetSmallChange(0);
    b.SetSmallChange(40000);
    EXPECT_EQ(1, b.SmallChange());
    b.SetMax(100);
    b.SetPageSize(30);
    EXPECT_EQ(30, b.LargeChange());
}

TEST(SkinScrollBar, DraggingTheThumbRoundsHalvesToEvenAndReportsEachChange) {
    BarWindow w;
    w.bar->SetMax(3);
    w.bar->SetLineButton(20); // room = 152 - 20 = 132 pixels for 3 steps
    HWND thumb = w.Thumb().Handle();
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(thumb, GetCapture());
    struct Step {
        int c, position;
    };
    // Value = round((c - 10) * 3 / 132): 1.5 and 2.5 both give 2, 0.5 gives 0.
    for (Step s : {Step{54, 1}, Step{76, 2}, Step{120, 2}, Step{300, 3}, Step{32, 0}}) {
        w.DragTo(s.c);
        EXPECT_EQ(s.position, w.bar->Position()) << s.c;
        EXPECT_EQ(s.position * 132 / 3, w.ThumbStart()) << s.c;
    }
    EXPECT_EQ(4, w.changes);
    SendMessageW(thumb, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, GetCapture());
    w.DragTo(100);
    EXPECT_EQ(0, w.bar->Position());

    // A thumb as long as the track has nowhere to go.
    w.bar->SetLineButton(w.TrackLength());
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    w.DragTo(140);
    EXPECT_EQ(0, w.bar->Position());
    SendMessageW(thumb, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST(SkinScrollBar, HoldingTheTrackPagesTowardsThePointerAndNeverPastIt) {
    for (TsuiScrollBarOrientation o : {suiVertical, suiHorizontal}) {
        SCOPED_TRACE(o == suiVertical ? "vertical" : "horizontal");
        BarWindow w(o);
        w.bar->SetPageSize(10);
        const int c = 140;
        const POINT at = w.TrackPoint(c);
        // The value under the pointer, and the steps to it: one page, then
        // one page (vertical) or three (horizontal) every 100 ms.
        const int room = w.TrackLength() - w.ThumbLength();
        const int target = int((c - w.ThumbLength() / 2) * 100.0 / room + 0.5);
        std::vector<int> expected{10};
        while (expected.back() < target)
            expected.push_back(std::min(expected.back() + (o == suiVertical ? 10 : 30), target));
        std::vector<int> seen;
        w.bar->OnChange = [&](TObject*) { seen.push_back(w.bar->Position()); };

        // The repeat reads the pointer, so it goes where the press is.
        const POINT screen = w.bar->Track().ClientToScreen(at);
        SetCursorPos(screen.x, screen.y);
        HWND track = w.bar->Track().Handle();
        SendMessageW(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(w.bar->Track().Focused());
        EXPECT_TRUE(PumpUntil([&] { return w.bar->Position() == target; }, 5000));
        // Two more ticks change nothing.
        PumpUntil([] { return false; }, 250);
        EXPECT_EQ(expected, seen);
        EXPECT_TRUE(w.bar->Track().Repeating());
        SendMessageW(track, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        EXPECT_FALSE(w.bar->Track().Repeating());

        // Back towards the start: the first page from a click before the thumb.
        seen.clear();
        SendMessageW(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w.TrackPoint(0).x, 0));
        SendMessageW(track, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(std::vector<int>{target - 10}, seen);
    }
}

TEST(SkinScrollBar, HeldArrowsStepEvery100MsAndAShortClickDoesNot) {
    BarWindow w;
    w.bar->SetSmallChange(7);
    w.bar->SetPosition(50);
    w.changes = 0;
    struct Case {
        TsuiImageButton* button;
        int sign;
    };
    for (Case c : {Case{&w.bar->SecondButton(), +1}, Case{&w.bar->FirstButton(), -1}}) {
        HWND b = c.button->Handle();
        const int from = w.bar->Position();
        const int changesBefore = w.changes;
        ClickAt(b, 5, 5);
        EXPECT_EQ(from, w.bar->Position()) << "a short click";
        SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_TRUE(PumpUntil([&] { return std::abs(w.bar->Position() - from) >= 21; }));
        SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        const int moved = w.bar->Position() - from;
        EXPECT_EQ(0, moved % 7);
        EXPECT_EQ(c.sign, moved > 0 ? 1 : -1);
        EXPECT_EQ(std::abs(moved) / 7, w.changes - changesBefore);
        EXPECT_FALSE(c.button->Repeating());
        EXPECT_FALSE(c.button->Focused()) << "arrows take no focus";
    }
}

TEST(SkinScrollBar, KeysOnTheFocusedTrack) {
    BarWindow w;
    w.bar->SetPageSize(20);
    w.bar->SetPosition(50);
    w.changes = 0;
    HWND track = w.bar->Track().Handle();
    w.bar->Track().SetFocus();
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(track, WM_GETDLGCODE, VK_DOWN, 0) & DLGC_WANTARROWS);
    struct Case {
        WORD key;
        int position;
    };
    const Case cases[] = {{VK_NEXT, 70}, {VK_PRIOR, 50}, {VK_DOWN, 51}, {VK_RIGHT, 52},
                          {VK_UP, 51},   {VK_LEFT, 50},  {VK_END, 100}, {VK_NEXT, 100},
                          {VK_HOME, 0},  {VK_UP, 0}};
    for (const Case& c : cases) {
        SendKey(track, c.key);
        EXPECT_EQ(c.position, w.bar->Position()) << c.key;
    }
    EXPECT_EQ(8, w.changes);
}

TEST(SkinScrollBar, BarsLeaveNoGdiObjectsBehind) {
    auto round = [] {
        HostForm host;
        for (int i = 0; i < 3; ++i) {
            auto* bar = Make<TsuiScrollBar>(host.get(), 10 + 30 * i, 10, 17, 150);
            bar->SetOrientation(i % 2 ? suiHorizontal : suiVertical);
            for (TsuiUIStyle s : {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::BlueGlass})
                bar->SetUIStyle(s);
            bar->SetPageSize(40);
            bar->SetPosition(30);
        }
        host.Show();
        Pump();
    };
    round(); // warms up the caches
    const int before = ProcessGdiObjectCount();
    round();
    round();
    EXPECT_LE(ProcessGdiObjectCount(), before + 2);
}
