// The bitmap and drawing helpers, probed pixel by pixel on bitmaps whose
// pixels name their own coordinates.

#include "SkinTestSupport.h"

#include "framework/Menus.h"

#include <set>

using namespace skin_test;

namespace {

constexpr TColor kBackground = 0x00997733; // blue 0x99: never a coded pixel

// Where a destination pixel of the 77 x 27 into (0, 0, 80, 27) example comes
// from: the allowed source columns and the source row.
struct Origin {
    std::set<int> columns;
    int row;
};

Origin ExpectedNinePartOrigin(int x, int y) {
    const bool left = x < 38, right = x >= 43;
    if (x >= 37 && x < 43 && y >= 14) return {{38, 39}, y}; // bottom strip, drawn last
    if (!left && !right) return {{38, 39}, y};              // top strip and centre
    const int sx = left ? x : x - 3;           // right pieces end at the source's right edge
    if (y < 13) return {{sx}, y};              // top corners
    if (y < 15) return {{sx}, left ? 13 : 14}; // side strips
    return {{sx}, y};                          // bottom corners
}

} // namespace

TEST(DrawNinePart, ButtonFrameIntoEightyPixelsMatchesTheWorkedExample) {
    TBitmap frame(77, 27);
    FillCoded(frame);
    TBitmap dest(80, 27);
    dest.Fill(kBackground);
    DrawNinePart(frame, dest.Canvas(), RECT{0, 0, 80, 27}, false);

    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 80; ++x) {
            const TColor c = dest.Pixel(x, y);
            ASSERT_NE(kBackground, c) << "undrawn at " << x << "," << y;
            const Origin o = ExpectedNinePartOrigin(x, y);
            EXPECT_TRUE(o.columns.count(CodedX(c)))
                << "pixel " << x << "," << y << " from column " << CodedX(c);
            EXPECT_EQ(o.row, CodedY(c)) << "pixel " << x << "," << y;
        }
    // Corner pieces sit unscaled where the example puts them.
    EXPECT_EQ(Coded(37, 12), dest.Pixel(37, 12)); // top-left 38 x 13 at (0, 0)
    EXPECT_EQ(Coded(0, 15), dest.Pixel(0, 15));   // bottom-left 38 x 12 at (0, 15)
    EXPECT_EQ(Coded(36, 26), dest.Pixel(36, 26));
    EXPECT_EQ(Coded(40, 0), dest.Pixel(43, 0)); // top-right 37 x 13 at (43, 0)
    EXPECT_EQ(Coded(76, 12), dest.Pixel(79, 12));
    EXPECT_EQ(Coded(40, 15), dest.Pixel(43, 15)); // bottom-right 37 x 12 at (43, 15)
    EXPECT_EQ(Coded(76, 26), dest.Pixel(79, 26));
    // The top strip stretches columns 38-39 over x = 38 … 42: both show.
    EXPECT_EQ(38, CodedX(dest.Pixel(38, 5)));
    EXPECT_EQ(39, CodedX(dest.Pixel(42, 5)));
    // The centre fills (38, 13, 43, 14) from the source's middle.
    for (int x = 38; x < 43; ++x)
        EXPECT_EQ(13, CodedY(dest.Pixel(x, 13)));
}

TEST(DrawNinePart, CornersAreMaskedOnlyWhenAskedButStripsAlways) {
    TBitmap frame(11, 9);
    FillCoded(frame);
    frame.SetPixel(0, 0, clFuchsia); // in the top-left corner
    frame.SetPixel(5, 0, clFuchsia); // the top strip's source column
    for (bool transparent : {false, true}) {
        TBitmap dest(20, 9);
        dest.Fill(kBackground);
        DrawNinePart(frame, dest.Canvas(), RECT{0, 0, 20, 9}, transparent);
        EXPECT_EQ(transparent ? kBackground : clFuchsia, dest.Pixel(0, 0)) << transparent;
        for (int x = 5; x < 15; ++x) {
            const TColor c = dest.Pixel(x, 0);
            EXPECT_NE(clFuchsia, c) << x;
        }
        EXPECT_EQ(kBackground, dest.Pixel(5, 0)) << transparent;
    }
}

TEST(DrawNinePart, TinyDestinationsDoNotFail) {
    TBitmap frame(11, 9);
    FillCoded(frame);
    for (RECT r : {RECT{0, 0, 0, 0}, RECT{0, 0, 1, 1}, RECT{0, 0, 2, 3}, RECT{0, 0, 3, 2}}) {
        TBitmap dest(4, 4);
        dest.Fill(kBackground);
        DrawNinePart(frame, dest.Canvas(), r, true);
        EXPECT_EQ(kBackground, dest.Pixel(3, 3));
    }
}

TEST(DrawThreePart, EndsUnscaledMiddleStretchedKeyedByCornerOrFuchsia) {
    // Three frames of 3 x 4; pixel (0, 0) is green, one pixel of each frame magenta.
    TBitmap strip(9, 4);
    FillCoded(strip);
    strip.SetPixel(0, 0, clLime);
    strip.SetPixel(4, 1, clLime);
    strip.SetPixel(1, 2, clFuchsia);
    strip.SetPixel(8, 3, clFuchsia);
    const RECT r{2, 1, 20, 5};

    TBitmap byCorner(24, 7);
    byCorner.Fill(kBackground);
    DrawThreePart(strip, byCorner.Canvas(), r, true);
    TBitmap byFuchsia(24, 7);
    byFuchsia.Fill(kBackground);
    DrawThreePart(strip, byFuchsia.Canvas(), r, false);

    for (TBitmap* b : {&byCorner, &byFuchsia}) {
        EXPECT_EQ(Coded(2, 3), b->Pixel(4, 4));  // frame 1 at (rect.Left, rect.Top)
        EXPECT_EQ(Coded(6, 0), b->Pixel(17, 1)); // frame 3 ends at rect.Right
        EXPECT_EQ(Coded(7, 2), b->Pixel(18, 3));
        EXPECT_EQ(kBackground, b->Pixel(1, 1)); // nothing outside rect
        EXPECT_EQ(kBackground, b->Pixel(20, 1));
        EXPECT_EQ(kBackground, b->Pixel(5, 5));
        for (int x = 5; x < 17; ++x) { // frame 2 over 12 columns, source columns 3-5
            const TColor c = b->Pixel(x, 4);
            EXPECT_TRUE(CodedX(c) >= 3 && CodedX(c) <= 5) << x;
            EXPECT_EQ(3, CodedY(c)) << x;
        }
    }
    // The corner's green is the key: its own pixel and the one in frame 2 stay out.
    EXPECT_EQ(kBackground, byCorner.Pixel(2, 1));
    EXPECT_EQ(clFuchsia, byCorner.Pixel(3, 3));
    EXPECT_EQ(clFuchsia, byCorner.Pixel(19, 4));
    int greenInMiddle = 0;
    for (int x = 5; x < 17; ++x)
        greenInMiddle += byFuchsia.Pixel(x, 2) == clLime;
    EXPECT_GT(greenInMiddle, 0);
    for (int x = 5; x < 17; ++x)
        EXPECT_NE(clLime, byCorner.Pixel(x, 2)) << x;
    // Without it, magenta is the key and green is drawn.
    EXPECT_EQ(clLime, byFuchsia.Pixel(2, 1));
    EXPECT_EQ(kBackground, byFuchsia.Pixel(3, 3));
    EXPECT_EQ(kBackground, byFuchsia.Pixel(19, 4));
}

TEST(ExtractBitmapFrame, CutsEqualFramesAndZeroWidthWhenTooNarrow) {
    TBitmap source(10, 3); // three frames of 3, one column left over
    FillCoded(source);
    TBitmap frame;
    ExtractBitmapFrame(source, frame, 3, 2);
    ASSERT_EQ(3, frame.Width());
    ASSERT_EQ(3, frame.Height());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Coded(3 + x, y), frame.Pixel(x, y));
    ExtractBitmapFrame(source, frame, 3, 3);
    EXPECT_EQ(Coded(6, 0), frame.Pixel(0, 0));
    EXPECT_EQ(Coded(8, 2), frame.Pixel(2, 2));

    TBitmap narrow(2, 5);
    FillCoded(narrow);
    TBitmap target(7, 7);
    ExtractBitmapFrame(narrow, target, 3, 1);
    EXPECT_EQ(0, target.Width());
    EXPECT_EQ(5, target.Height());
}

TEST(RotateBitmap, LeftAndRightTurnAQuarterAndUndoEachOther) {
    TBitmap b(3, 2);
    FillCoded(b);
    TBitmap left;
    left.Assign(b);
    RotateBitmapLeft(left);
    ASSERT_EQ(2, left.Width());
    ASSERT_EQ(3, left.Height());
    // Top row becomes the left column, read bottom-up.
    EXPECT_EQ(Coded(0, 0), left.Pixel(0, 2));
    EXPECT_EQ(Coded(1, 0), left.Pixel(0, 1));
    EXPECT_EQ(Coded(2, 0), left.Pixel(0, 0));
    EXPECT_EQ(Coded(2, 1), left.Pixel(1, 0));

    TBitmap right;
    right.Assign(b);
    RotateBitmapRight(right);
    ASSERT_EQ(2, right.Width());
    ASSERT_EQ(3, right.Height());
    // Bottom-left becomes top-left.
    EXPECT_EQ(Coded(0, 1), right.Pixel(0, 0));
    EXPECT_EQ(Coded(0, 0), right.Pixel(1, 0));
    EXPECT_EQ(Coded(2, 0), right.Pixel(1, 2));

    RotateBitmapRight(left);
    ASSERT_EQ(3, left.Width());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Coded(x, y), left.Pixel(x, y));
}

TEST(TileDraw, RepeatsFromCanvasOriginOverTheRectangleSizePlusOneTile) {
    TBitmap tile(3, 2);
    FillCoded(tile);
    TBitmap dest(14, 7);
    dest.Fill(kBackground);
    // Width 5, height 2: tiles at x = 0, 3, 6 and y = 0, 2; the origin is ignored.
    TileDraw(dest.Canvas(), tile, RECT{5, 5, 10, 7});
    EXPECT_EQ(Coded(0, 0), dest.Pixel(0, 0));
    EXPECT_EQ(Coded(1, 1), dest.Pixel(7, 3));
    EXPECT_EQ(Coded(2, 1), dest.Pixel(8, 3));
    EXPECT_EQ(kBackground, dest.Pixel(9, 0));
    EXPECT_EQ(kBackground, dest.Pixel(0, 4));
}

TEST(SmallHelpers, PointInRectIncludesAllEdges) {
    const RECT r{2, 3, 5, 7};
    EXPECT_TRUE(PointInRect(POINT{2, 3}, r));
    EXPECT_TRUE(PointInRect(POINT{5, 7}, r));
    EXPECT_FALSE(PointInRect(POINT{1, 3}, r));
    EXPECT_FALSE(PointInRect(POINT{5, 8}, r));
    EXPECT_FALSE(PointInRect(POINT{6, 4}, r));
}

TEST(SmallHelpers, FrameAndFillControlRect) {
    TBitmap b(6, 6);
    b.Fill(clWhite);
    FillControlRect(b.Canvas(), RECT{1, 1, 5, 5}, clRed);
    FrameControlRect(b.Canvas(), RECT{0, 0, 6, 6}, clBlue);
    EXPECT_EQ(clBlue, b.Pixel(0, 0));
    EXPECT_EQ(clBlue, b.Pixel(5, 3));
    EXPECT_EQ(clRed, b.Pixel(1, 1));
    EXPECT_EQ(clRed, b.Pixel(4, 4));
}

TEST(SmallHelpers, SetControlBoundsAndWorkArea) {
    TPanel p(nullptr);
    SetControlBounds(p, RECT{10, 20, 110, 70});
    EXPECT_EQ(10, p.Left());
    EXPECT_EQ(20, p.Top());
    EXPECT_EQ(100, p.Width());
    EXPECT_EQ(50, p.Height());

    const RECT area = GetWorkArea();
    EXPECT_GT(area.right - area.left, 0);
    EXPECT_GT(area.bottom - area.top, 0);
    EXPECT_LE(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
}

TEST(SmallHelpers, MenuFontComesFromTheSystemInMenuTextColour) {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    TFont f;
    f.SetName(L"Courier New");
    GetMenuFont(f);
    EXPECT_EQ(std::wstring(m.lfMenuFont.lfFaceName), f.Name());
    EXPECT_EQ(clMenuText, f.Color());
}

TEST(PaintParentBackground, ParentPaintsUnderTheControlShiftedToItsOrigin) {
    TCustomControl parent(nullptr);
    parent.SetBounds(0, 0, 40, 30);
    parent.OnPaint = [&](TObject*) {
        FillControlRect(parent.Canvas(), RECT{0, 0, 40, 30}, clRed);
        parent.Canvas().SetPixels(12, 7, clBlue);
    };
    TPanel child(nullptr);
    child.SetParent(&parent);
    child.SetBounds(10, 5, 8, 8);

    TBitmap into(8, 8);
    into.Fill(clWhite);
    PaintParentBackground(into.Canvas(), child);
    EXPECT_EQ(clBlue, into.Pixel(2, 2));
    EXPECT_EQ(clRed, into.Pixel(0, 0));
    EXPECT_EQ(clRed, into.Pixel(7, 7));
    // The canvas is whole again afterwards: origin and clipping restored.
    FillControlRect(into.Canvas(), RECT{0, 0, 1, 1}, clLime);
    EXPECT_EQ(clLime, into.Pixel(0, 0));
    child.SetParent(nullptr);

    TBitmap orphan(4, 4);
    orphan.Fill(clWhite);
    PaintParentBackground(orphan.Canvas(), child);
    EXPECT_EQ(clWhite, orphan.Pixel(1, 1));
}

TEST(FrameWindowEdge, FramesTheWholeWindowAndOptionallyInside) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(50, 50, 60, 40);
    form.SetColor(clWhite);
    form.Show();
    Application->ProcessMessages();
    FrameWindowEdge(form, clRed, clBlue, true);
    WindowDC dc(form.Handle(), true);
    EXPECT_EQ(COLORREF(clRed), GetPixel(dc.Get(), 0, 0));
    EXPECT_EQ(COLORREF(clRed), GetPixel(dc.Get(), 59, 39));
    EXPECT_EQ(COLORREF(clBlue), GetPixel(dc.Get(), 1, 1));
    EXPECT_EQ(COLORREF(clBlue), GetPixel(dc.Get(), 58, 20));
    EXPECT_EQ(COLORREF(clWhite), GetPixel(dc.Get(), 2, 2));
    form.Hide();
}

TEST(BuiltInBitmaps, WholeOrOneFrameOfTheStyleResource) {
    TBitmap whole;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ButtonImage, &whole);
    ASSERT_EQ(231, whole.Width());
    ASSERT_EQ(27, whole.Height());

    TBitmap second;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ButtonImage, &second, 2, 3);
    ASSERT_EQ(77, second.Width());
    ASSERT_EQ(27, second.Height());
    for (int y = 0; y < 27; y += 13)
        for (int x = 0; x < 77; x += 19)
            EXPECT_EQ(whole.Pixel(77 + x, y), second.Pixel(x, y)) << x << "," << y;

    TBitmap tab;
    GetBuiltInThemeBitmap(TsuiUIStyle::DeepBlue, ThemeElement::ScrollButtonImage, &tab, 4, 4);
    EXPECT_EQ(18, tab.Width()); // MORE_SCROLLBUTTON 72 x 17
    EXPECT_EQ(17, tab.Height());
}

TEST(BuiltInBitmaps, NoImageNoStyleOrNoTargetLeavesThingsAlone) {
    TBitmap b(3, 3);
    b.Fill(clRed);
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::FormBorderColor, &b);
    GetBuiltInThemeBitmap(TsuiUIStyle::FromThemeFile, ThemeElement::ButtonImage, &b);
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ButtonImage, nullptr, 1, 3);
    EXPECT_EQ(3, b.Width());
    EXPECT_EQ(clRed, b.Pixel(1, 1));
}

TEST(IsFormActive, FollowsTheApplicationAndTheForm) {
    TForm* savedMain = Application->MainForm();
    Application->SetMainForm(nullptr);
    TForm other(nullptr);
    // Without a main form only the form's own flag counts.
    EXPECT_EQ(other.Active(), IsFormActive(&other));
    EXPECT_FALSE(IsFormActive(nullptr));
    TForm mainForm(nullptr);
    Application->SetMainForm(&mainForm);
    if (Application->Active()) {
        EXPECT_TRUE(IsFormActive(&mainForm));
        EXPECT_TRUE(IsFormActive(nullptr));
        EXPECT_EQ(other.Active(), IsFormActive(&other));
    } else {
        EXPECT_FALSE(IsFormActive(&mainForm));
        EXPECT_FALSE(IsFormActive(nullptr));
    }
    Application->SetMainForm(savedMain);
}

TEST(ExtractBitmapFrame, AFrameOfItselfAndIndexesPastTheEnds) {
    TBitmap b(6, 2);
    FillCoded(b);
    ExtractBitmapFrame(b, b, 2, 2);
    ASSERT_EQ(3, b.Width());
    EXPECT_EQ(Coded(3, 0), b.Pixel(0, 0));
    EXPECT_EQ(Coded(5, 1), b.Pixel(2, 1));

    TBitmap source(6, 2);
    FillCoded(source);
    TBitmap past;
    ExtractBitmapFrame(source, past, 3, 4); // nothing of the source lies there
    EXPECT_EQ(2, past.Width());
    for (int x = 0; x < 2; ++x)
        EXPECT_NE(6 + x, CodedX(past.Pixel(x, 0)));
}

TEST(DrawingHelpers, LeaveNoGdiObjectsBehind) {
    TBitmap frame(77, 27);
    FillCoded(frame);
    TBitmap tab(18, 17);
    FillCoded(tab);
    TBitmap dest(120, 40);
    dest.Canvas();
    TsuiImagePanel panel(nullptr);
    panel.SetBounds(0, 0, 120, 40);
    panel.Picture().SetGraphic(&frame);
    panel.SetCaption(L"计算");
    auto round = [&] {
        DrawNinePart(frame, dest.Canvas(), RECT{0, 0, 120, 40}, true);
        DrawThreePart(tab, dest.Canvas(), RECT{0, 0, 60, 17}, true);
        TileDraw(dest.Canvas(), tab, RECT{0, 0, 120, 40});
        TBitmap piece;
        ExtractBitmapFrame(frame, piece, 3, 2);
        RotateBitmapLeft(piece);
        for (TsuiDrawStyle s : {suiNormal, suiStretch, suiTile}) {
            panel.SetDrawStyle(s);
            panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dest.Canvas().Handle()), 0);
        }
    };
    round(); // fonts and brushes created once and kept
    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 50; ++i)
        round();
    EXPECT_EQ(before, ProcessGdiObjectCount());
}

// The names in the style tables are the ones the artwork carries: every
// image element of every style, and the fixed bitmaps, load at the table's size.
TEST(BuiltInBitmaps, EveryTableNameLoadsAtTheTablesSize) {
    for (int s = 1; s <= 5; ++s) {
        const auto style = static_cast<TsuiUIStyle>(s);
        for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
            const auto size = BuiltInThemeBitmapSize(style, e);
            if (!size) continue;
            TBitmap whole;
            ASSERT_NO_THROW(GetBuiltInThemeBitmap(style, e, &whole)) << s << "/" << e;
            EXPECT_EQ(size->width, whole.Width()) << s << "/" << e;
            EXPECT_EQ(size->height, whole.Height()) << s << "/" << e;
            if (const int frames = ThemeElementFrameCount(e)) {
                TBitmap last;
                GetBuiltInThemeBitmap(style, e, &last, frames, frames);
                EXPECT_EQ(size->width / frames, last.Width()) << s << "/" << e;
            }
        }
    }
    for (const FixedBitmap& f : FixedThemeBitmaps()) {
        TBitmap b;
        ASSERT_NO_THROW(b.LoadFromResourceName(MainInstance(), std::wstring(f.resourceName)));
        EXPECT_EQ(f.size.width, b.Width());
        EXPECT_EQ(f.size.height, b.Height());
    }
}
