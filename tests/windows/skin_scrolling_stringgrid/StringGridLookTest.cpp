// The skinned string grid as a person sees it: BlueGlass cells, header and
// frame probed on screen, every colour property repainting what it colours,
// and a background erase that leaves the cells alone.

#include "skin/controls/SUIListControls.h"

#include "framework/Screenshot.h"

#include "../support/HostForm.h"
#include "../support/MessagePump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr TColor kHeader = 0xEC5E5E, kCell = 0xE7E7E7;

// A BlueGlass grid of 4 x 4 cells with text in the header and a plain cell,
// cells (1, 1)-(2, 1) selected and the focus on (2, 1), where the shift+click
// went.
struct GridWindow {
    HostForm host{400, 200};
    TsuiStringGrid* grid = Make<TsuiStringGrid>(host.get(), 10, 10, 300, 120);

    GridWindow() {
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(60);
        grid->SetDefaultRowHeight(24);
        grid->SetOptions(TGridOptions(grid->Options()).Include(goRangeSelect));
        grid->SetUIStyle(TsuiUIStyle::BlueGlass);
        grid->SetCells(1, 0, L"月份");
        grid->SetCells(3, 3, L"8888");
        host.Show();
        grid->SetFocus();
        Pump();
        // Shift+click extends the selection from the current cell.
        const RECT to = grid->CellRect(2, 1);
        const LPARAM at = MAKELPARAM(to.left + 5, to.top + 5);
        HeldKeys shift(true, false);
        SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
        SendMessageW(grid->Handle(), WM_LBUTTONUP, MK_SHIFT, at);
        Pump();
    }

    // The whole window, frame included, as it is on screen.
    std::unique_ptr<TBitmap> Screen() const {
        auto shot = std::make_unique<TBitmap>();
        CaptureWindow(grid->Handle(), *shot);
        return shot;
    }
    // A cell's rectangle in the window image: one frame pixel further in.
    RECT Cell(int col, int row) const {
        RECT r = grid->CellRect(col, row);
        OffsetRect(&r, 1, 1);
        return r;
    }
};

// Whether some pixel in r is close to color: smoothed text has no pixel of
// the pure colour.
bool Shows(const TBitmap& shot, const RECT& r, TColor color) {
    const auto alike = [](TColor a, TColor b) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 0x60) return false;
        return true;
    };
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (alike(shot.Pixel(x, y), color)) return true;
    return false;
}

TColor Inside(const TBitmap& shot, const RECT& r) {
    return shot.Pixel(r.right - 3, r.bottom - 3);
}

} // namespace

TEST(SkinStringGrid, BlueGlassCellsHeaderAndFrameOnScreen) {
    GridWindow w;
    ASSERT_TRUE(w.grid->Focused());
    ASSERT_EQ(2, w.grid->Selection().Right);
    const auto screen = w.Screen();
    const TBitmap& shot = *screen;
    SaveScreenshot(shot, L"skin-stringgrid-blueglass");

    EXPECT_EQ(kHeader, Inside(shot, w.Cell(1, 0)));
    EXPECT_TRUE(Shows(shot, w.Cell(1, 0), clWhite)) << "header text in FixedFontColor";
    EXPECT_EQ(TColor(0x00FFFF), Inside(shot, w.Cell(1, 1)));
    EXPECT_EQ(clLime, Inside(shot, w.Cell(2, 1)));
    EXPECT_EQ(kCell, Inside(shot, w.Cell(3, 3)));
    EXPECT_TRUE(Shows(shot, w.Cell(3, 3), clBlack)) << "cell text in the font colour";

    // One black pixel round the window, and no second line inside it.
    const int right = shot.Width() - 1, bottom = shot.Height() - 1;
    for (POINT p : {POINT{0, 0}, POINT{right, bottom}, POINT{right / 2, 0}, POINT{0, bottom / 2}})
        EXPECT_EQ(clBlack, shot.Pixel(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(kHeader, shot.Pixel(1, 1));
    EXPECT_EQ(kHeader, shot.Pixel(right / 2, 1));
    const RECT corner = w.Cell(0, 0);
    EXPECT_EQ(1, corner.left) << "the cells start right after the frame";
}

TEST(SkinStringGrid, EachColourPropertyRepaintsWhatItColours) {
    GridWindow w;
    struct Case {
        const char* name;
        std::function<void(TsuiStringGrid&)> set;
        std::function<bool(const GridWindow&, const TBitmap&)> shown;
    };
    const TColor red = 0x0000C0;
    const Case cases[] = {
        {"FocusedColor", [&](TsuiStringGrid& g) { g.SetFocusedColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Inside(s, gw.Cell(2, 1)) == red; }},
        {"SelectedColor", [&](TsuiStringGrid& g) { g.SetSelectedColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Inside(s, gw.Cell(1, 1)) == red; }},
        {"BGColor", [&](TsuiStringGrid& g) { g.SetBGColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Inside(s, gw.Cell(3, 3)) == red; }},
        {"FixedBGColor", [&](TsuiStringGrid& g) { g.SetFixedBGColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Inside(s, gw.Cell(1, 0)) == red; }},
        {"FixedFontColor", [&](TsuiStringGrid& g) { g.SetFixedFontColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Shows(s, gw.Cell(1, 0), red); }},
        {"FontColor", [&](TsuiStringGrid& g) { g.SetFontColor(red); },
         [&](const GridWindow& gw, const TBitmap& s) { return Shows(s, gw.Cell(3, 3), red); }},
        {"BorderColor", [&](TsuiStringGrid& g) { g.SetBorderColor(red); },
         [&](const GridWindow&, const TBitmap& s) { return s.Pixel(0, 0) == red; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.grid->SetUIStyle(TsuiUIStyle::BlueGlass);
        w.grid->SetFocusedColor(clLime);
        w.grid->SetSelectedColor(0x00FFFF);
        UpdateWindow(w.grid->Handle());
        ASSERT_FALSE(c.shown(w, *w.Screen()));
        c.set(*w.grid);
        EXPECT_TRUE(c.shown(w, *w.Screen()));
    }
}

TEST(SkinStringGrid, AnEraseLeavesTheCellsAndRepaintsTheGridWhole) {
    GridWindow w;
    UpdateWindow(w.grid->Handle());
    TBitmap marker(200, 100);
    marker.Fill(0x123456);
    EXPECT_EQ(1, SendMessageW(w.grid->Handle(), WM_ERASEBKGND,
                              reinterpret_cast<WPARAM>(marker.Canvas().Handle()), 0));
    EXPECT_EQ(TColor(0x123456), marker.Pixel(20, 20)) << "nothing erased";
    RECT pending{};
    ASSERT_TRUE(GetUpdateRect(w.grid->Handle(), &pending, FALSE));
    EXPECT_EQ(w.grid->ClientRect().right, pending.right);
    EXPECT_EQ(w.grid->ClientRect().bottom, pending.bottom);

    // A system repaint with an erase shows the same cells as before.
    RedrawWindow(w.grid->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW | RDW_FRAME);
    const auto screen = w.Screen();
    const TBitmap& shot = *screen;
    EXPECT_EQ(kCell, Inside(shot, w.Cell(3, 3)));
    EXPECT_EQ(clLime, Inside(shot, w.Cell(2, 1)));
    EXPECT_EQ(clBlack, shot.Pixel(0, 0));
}
