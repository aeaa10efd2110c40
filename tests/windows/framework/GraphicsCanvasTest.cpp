// Colours, fonts, brushes, pens and canvases drawing into a DC the canvas
// does not own.

#include "framework/Graphics.h"

#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

TEST(Color, SystemColoursResolveAndOthersPassThrough) {
    EXPECT_EQ(ColorToRGB(clBtnFace), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clHighlightText), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(clBtnFace, 0xFF00000Fu);
    EXPECT_EQ(clHighlight, 0xFF00000Du);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
    EXPECT_EQ(ColorToRGB(clNone), clNone) << "special values are not colours";
    EXPECT_EQ(RGBToColor(239, 239, 239), 0xEFEFEFu);
    EXPECT_EQ(RGBToColor(1, 2, 3), 0x030201u);
}

TEST(Font, HandleIsCachedAndRecreatedAfterAChange) {
    TFont f;
    EXPECT_EQ(f.Name(), L"MS Sans Serif");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_FALSE(f.HandleAllocated());
    HFONT first = f.Handle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(f.Handle(), first);

    f.SetColor(clRed);
    EXPECT_EQ(f.Handle(), first) << "colour is not part of the GDI font";

    f.SetStyle({fsBold, fsUnderline});
    HFONT second = f.Handle();
    LOGFONTW lf{};
    ASSERT_NE(::GetObjectW(second, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_EQ(::GetObjectType(first), 0u) << "the old handle is freed";

    f.SetName(L"Tahoma");
    f.SetHeight(-20);
    ASSERT_NE(::GetObjectW(f.Handle(), sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfHeight, -20);
}

TEST(Font, SizeAndHeightFollowThePixelsPerInch) {
    TFont f;
    f.SetPixelsPerInch(96);
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -12);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    f.SetPixelsPerInch(120);
    EXPECT_EQ(f.Height(), -16);
    EXPECT_EQ(f.Size(), 10);
}

TEST(Font, OnChangeOncePerRealChangeAndAssignCopiesEverything) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TFont* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetName(L"MS Sans Serif");
    f.SetHeight(-11);
    f.SetStyle({});
    EXPECT_EQ(changes, 0);
    f.SetColor(clBlue);
    f.SetCharset(GB2312_CHARSET);
    f.SetStyle(TFontStyles{fsItalic});
    EXPECT_EQ(changes, 3);

    TFont g;
    g.SetName(L"SimSun");
    g.SetHeight(-14);
    g.SetColor(clWhite);
    g.SetStyle(TFontStyles{fsBold});
    f.Assign(g);
    EXPECT_EQ(changes, 4) << "one event for the whole assignment";
    EXPECT_TRUE(f.SameAs(g));
    EXPECT_EQ(f.Name(), L"SimSun");
    EXPECT_EQ(f.Color(), clWhite);
    f.Assign(g);
    EXPECT_EQ(changes, 4);

    LOGFONTW lf = g.LogFont();
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = TRUE;
    lf.lfHeight = -13;
    f.AssignLogFont(lf);
    EXPECT_EQ(f.Height(), -13);
    EXPECT_EQ(f.Style(), TFontStyles{fsItalic});
    EXPECT_EQ(f.Color(), clWhite) << "a LOGFONT has no colour";
}

TEST(BrushAndPen, HandlesMatchTheirProperties) {
    TBrush b;
    EXPECT_EQ(b.Color(), clWhite);
    b.SetStyle(bsClear);
    LOGBRUSH lb{};
    ::GetObjectW(b.Handle(), sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, UINT(BS_NULL));
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid) << "giving a clear brush a colour makes it solid";
    ::GetObjectW(b.Handle(), sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, UINT(BS_SOLID));
    EXPECT_EQ(lb.lbColor, COLORREF(clRed));

    TPen p;
    p.SetWidth(3);
    p.SetColor(clBtnShadow);
    LOGPEN lp{};
    ::GetObjectW(p.Handle(), sizeof lp, &lp);
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, ColorToRGB(clBtnShadow));
}

TEST(Canvas, ShapesUseBrushForFillAndPenForOutline) {
    ForeignSurface s(20, 20);
    TCanvas c(s.DC());
    c.Brush().SetColor(clWhite);
    c.FillRect(RECT{0, 0, 20, 20});
    EXPECT_EQ(s.Count(clWhite, RECT{0, 0, 20, 20}), 400);

    c.Brush().SetColor(clRed);
    c.Pen().SetColor(clBlue);
    c.Rectangle(2, 2, 8, 8);
    EXPECT_EQ(s.At(2, 2), clBlue);
    EXPECT_EQ(s.At(7, 5), clBlue);
    EXPECT_EQ(s.At(5, 5), clRed);
    EXPECT_EQ(s.At(8, 8), clWhite) << "right and bottom edges excluded";

    c.Brush().SetColor(clGreen);
    c.FrameRect(RECT{10, 10, 15, 15});
    EXPECT_EQ(s.Count(clGreen, RECT{10, 10, 15, 15}), 16);
    EXPECT_EQ(s.At(12, 12), clWhite);

    c.Pen().SetColor(clBlack);
    c.MoveTo(0, 19);
    c.LineTo(10, 19);
    EXPECT_EQ(c.PenPos().x, 10);
    EXPECT_EQ(s.Count(clBlack, RECT{0, 19, 20, 20}), 10);

    const POINT tri[] = {{12, 2}, {18, 2}, {12, 8}};
    c.Brush().SetColor(clYellow);
    c.Polygon(tri);
    EXPECT_EQ(s.At(13, 3), clYellow);
    EXPECT_EQ(s.At(17, 7), clWhite);

    c.SetPixels(19, 0, clFuchsia);
    EXPECT_EQ(c.Pixels(19, 0), clFuchsia);
    EXPECT_EQ(s.At(19, 0), clFuchsia);
    EXPECT_EQ(c.Pixels(500, 500), clNone);
}

// Fonts may be drawn smoothed: text pixels blend the font colour into the
// background, so the tests look for colours near the font's.
TEST(Canvas, TextDrawsInTheFontColourOnTheBrushOrTransparently) {
    ForeignSurface s(200, 60);
    s.Fill(clWhite);
    TCanvas c(s.DC());

    c.Font().SetHeight(-24);
    c.Font().SetStyle(TFontStyles{fsBold});
    c.Font().SetColor(clRed);
    c.Brush().SetColor(clYellow);
    const SIZE ext = c.TextExtent(L"WWW");
    ASSERT_GT(ext.cx, 0);
    ASSERT_GT(ext.cy, 0);
    EXPECT_EQ(c.TextWidth(L"WWW"), ext.cx);
    EXPECT_GT(c.TextWidth(L"WWWWWW"), ext.cx);
    EXPECT_GT(c.TextHeight(L""), 0) << "an empty text still has a line height";

    c.TextOut(0, 0, L"WWW");
    const RECT cell{0, 0, ext.cx, ext.cy};
    EXPECT_GT(s.Count(clRed, cell, 63), 0);
    EXPECT_GT(s.Count(clYellow, cell), 0) << "opaque background in the brush colour";
    EXPECT_EQ(s.Count(clWhite, cell), 0);
    EXPECT_EQ(s.At(ext.cx + 1, 0), clWhite);

    c.Brush().SetStyle(bsClear);
    c.TextOut(0, 30, L"WWW");
    const RECT cell2{0, 30, ext.cx, 30 + ext.cy};
    EXPECT_GT(s.Count(clRed, cell2, 63), 0);
    EXPECT_EQ(s.Count(clYellow, cell2), 0) << "clear brush: transparent background";
    EXPECT_GT(s.Count(clWhite, cell2), 0);

    // A bigger font makes wider text.
    const int normal = c.TextWidth(L"Mortgage");
    c.Font().SetHeight(-36);
    EXPECT_GT(c.TextWidth(L"Mortgage"), normal);
}

TEST(Canvas, DrawTextAndTextRectKeepToTheirRectangle) {
    ForeignSurface s(160, 30);
    s.Fill(clWhite);
    TCanvas c(s.DC());
    c.Font().SetColor(clBlack);
    c.Font().SetHeight(-20);
    const RECT all{0, 0, 160, 30};

    RECT calc{0, 0, 0, 0};
    const int h = c.DrawText(L"计算", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(h, 0);
    EXPECT_GT(calc.right, 0);
    EXPECT_EQ(s.Count(clWhite, all), 160 * 30) << "DT_CALCRECT only measures";

    RECT r = all;
    c.Brush().SetStyle(bsClear);
    c.DrawText(L"WW", r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    EXPECT_EQ(s.Count(clWhite, RECT{0, 0, 80, 30}), 80 * 30);
    EXPECT_GT(s.Count(clBlack, RECT{80, 0, 160, 30}, 63), 0);

    // TextRect fills and clips to its rectangle even when the text runs on.
    c.Brush().SetColor(clSilver);
    c.TextRect(RECT{0, 0, 10, 30}, 0, 0, L"WWWWWWWW");
    const RECT box{0, 0, 10, 30};
    EXPECT_EQ(s.Count(clWhite, box), 0);
    EXPECT_GT(s.Count(clSilver, box), 0);
    EXPECT_GT(s.Count(clBlack, box, 63), 0);
    EXPECT_EQ(s.Count(clWhite, RECT{10, 0, 80, 30}), 70 * 30);
}

TEST(Canvas, CopyRectCopiesAndStretches) {
    ForeignSurface a(4, 4), b(8, 8);
    TCanvas ca(a.DC()), cb(b.DC());
    ca.Brush().SetColor(clRed);
    ca.FillRect(RECT{0, 0, 4, 4});
    ca.SetPixels(0, 0, clBlue);
    cb.CopyRect(RECT{0, 0, 4, 4}, ca, RECT{0, 0, 4, 4});
    EXPECT_EQ(b.At(0, 0), clBlue);
    EXPECT_EQ(b.At(3, 3), clRed);
    cb.CopyRect(RECT{0, 0, 8, 8}, ca, RECT{0, 0, 4, 4});
    EXPECT_EQ(b.Count(clBlue, RECT{0, 0, 8, 8}), 4);
}

TEST(Canvas, GivesTheDcItsOwnObjectsBackAndSurvivesChanges) {
    ForeignSurface s(10, 10);
    HGDIOBJ font0 = ::GetCurrentObject(s.DC(), OBJ_FONT);
    HGDIOBJ brush0 = ::GetCurrentObject(s.DC(), OBJ_BRUSH);
    HGDIOBJ pen0 = ::GetCurrentObject(s.DC(), OBJ_PEN);
    {
        TCanvas c(s.DC());
        c.Rectangle(0, 0, 5, 5);
        c.TextOut(0, 0, L"x");
        EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_FONT), c.Font().Handle());
        EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_PEN), c.Pen().Handle());
        // Changing a selected font: the DC gets its own back before ours is freed.
        HFONT old = c.Font().Handle();
        c.Font().SetHeight(-30);
        EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_FONT), font0);
        EXPECT_EQ(::GetObjectType(old), 0u);
        c.TextOut(0, 0, L"x");
        EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_FONT), c.Font().Handle());
        c.Brush().SetColor(clRed);
        c.Pen().SetWidth(2);
        c.Rectangle(0, 0, 5, 5);
    }
    EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_FONT), font0);
    EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_BRUSH), brush0);
    EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_PEN), pen0);

    // Moving a canvas to another DC hands the first one back as well.
    ForeignSurface t(10, 10);
    TCanvas c(s.DC());
    c.TextOut(0, 0, L"x");
    c.SetHandle(t.DC());
    EXPECT_EQ(::GetCurrentObject(s.DC(), OBJ_FONT), font0);
    c.TextOut(0, 0, L"x");
    EXPECT_EQ(::GetCurrentObject(t.DC(), OBJ_FONT), c.Font().Handle());
    c.SetHandle(nullptr);
    EXPECT_THROW(c.FillRect(RECT{0, 0, 1, 1}), EGraphicError);
}

TEST(Canvas, StateGuardRestoresClippingOriginAndTools) {
    ForeignSurface s(10, 10);
    s.Fill(clWhite);
    TCanvas c(s.DC());
    c.Font().SetName(L"Tahoma");
    {
        TCanvasState state(c);
        ::IntersectClipRect(c.Handle(), 0, 0, 2, 2);
        ::SetViewportOrgEx(c.Handle(), 1, 1, nullptr);
        c.Font().SetName(L"SimSun");
        c.Brush().SetColor(clRed);
        c.FillRect(RECT{0, 0, 10, 10});
        EXPECT_EQ(s.At(1, 1), clRed);
        EXPECT_EQ(s.At(0, 0), clWhite) << "origin moved";
        EXPECT_EQ(s.At(5, 5), clWhite) << "clipped";
    }
    EXPECT_EQ(c.Font().Name(), L"Tahoma");
    EXPECT_EQ(c.Brush().Color(), clWhite);
    c.Brush().SetColor(clBlue);
    c.FillRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(s.At(0, 0), clBlue);
    EXPECT_EQ(s.At(9, 9), clBlue);
}

TEST(Canvas, OwningCanvasesFreeTheirDc) {
    auto use = [] {
        TMemoryCanvas m;
        EXPECT_NE(m.Handle(), nullptr);
        EXPECT_EQ(::GetObjectType(m.Handle()), DWORD(OBJ_MEMDC));
        m.TextOut(0, 0, L"x");
    };
    use(); // the first text drawn creates lasting system objects
    const int before = ProcessGdiObjectCount();
    use();
    EXPECT_EQ(ProcessGdiObjectCount(), before);
}

TEST(Canvas, PreparedHandleCarriesOurToolsForDirectCalls) {
    ForeignSurface s(40, 20);
    TCanvas c(s.DC());
    c.Font().SetColor(clRed);
    c.Brush().SetColor(clBlue);
    HDC dc = c.PrepareHandle();
    EXPECT_EQ(dc, s.DC());
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), c.Font().Handle());
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), c.Brush().Handle());
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), c.Pen().Handle());
    EXPECT_EQ(::GetTextColor(dc), COLORREF(clRed));
    EXPECT_EQ(::GetBkColor(dc), COLORREF(clBlue));
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
    c.Brush().SetStyle(bsClear);
    EXPECT_EQ(::GetBkMode(c.PrepareHandle()), TRANSPARENT);
}

TEST(GdiHandles, OwnersFreeOnceAndSelectionsPutTheOldObjectBack) {
    { // the first DCs of a process create lasting system objects
        MemoryDC warm(::CreateCompatibleDC(nullptr));
        WindowDC screen(nullptr);
    }
    const int before = ProcessGdiObjectCount();
    {
        BrushHandle a(::CreateSolidBrush(0));
        BrushHandle b(std::move(a));
        EXPECT_FALSE(a);
        ASSERT_TRUE(b);
        BrushHandle c;
        c = std::move(b);
        EXPECT_EQ(ProcessGdiObjectCount(), before + 1);
        HBRUSH raw = c.Release();
        EXPECT_FALSE(c);
        c.Reset(raw);

        MemoryDC dc(::CreateCompatibleDC(nullptr));
        HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BRUSH);
        {
            ObjectSelection sel(dc.Get(), c.Get());
            EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), c.Get());
            SavedDCState saved(dc.Get());
            ::SetViewportOrgEx(dc.Get(), 5, 5, nullptr);
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
        POINT org{};
        ::GetViewportOrgEx(dc.Get(), &org);
        EXPECT_EQ(org.x, 0);

        WindowDC screen(nullptr);
        EXPECT_TRUE(screen);
    }
    EXPECT_EQ(ProcessGdiObjectCount(), before);
}
