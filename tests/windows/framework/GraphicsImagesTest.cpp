// Image lists, icons, pictures and the off-screen buffer.

#include "framework/Graphics.h"

#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// w x h of key colour with a 2 x 2 block of `inner` at (1, 1).
void Glyph(TBitmap& b, int w, int h, TColor key, TColor inner) {
    b.SetSize(w, h);
    b.Fill(key);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 3; ++x)
            b.SetPixel(x, y, inner);
}

} // namespace

TEST(ImageList, MaskedImagesLetTheBackgroundThrough) {
    TImageList list(4, 4);
    TBitmap g;
    Glyph(g, 4, 4, clFuchsia, clBlue);
    EXPECT_EQ(list.AddMasked(g, clFuchsia), 0);
    Glyph(g, 4, 4, clFuchsia, clGreen);
    g.SetPixel(0, 3, clAqua); // the automatic key is the bottom-left pixel
    g.SetPixel(3, 0, clAqua);
    EXPECT_EQ(list.AddMasked(g, clDefault), 1);
    EXPECT_EQ(list.AddMasked(g, clNone), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_NE(list.Handle(), nullptr);

    ForeignSurface s(10, 4);
    TCanvas c(s.DC());
    s.Fill(clRed);
    list.Draw(c, 0, 0, 0);
    list.Draw(c, 5, 0, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool in = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(s.At(x, y), in ? clBlue : clRed) << x << "," << y;
        }
    EXPECT_EQ(s.At(6, 1), clGreen);
    EXPECT_EQ(s.At(5, 3), clRed) << "aqua key masked";
    EXPECT_EQ(s.At(8, 0), clRed);
    EXPECT_EQ(s.At(5, 0), clFuchsia) << "fuchsia is an ordinary colour in that image";
    EXPECT_EQ(s.At(9, 0), clRed) << "nothing drawn beyond the image";
    list.Draw(c, 0, 0, 2);
    EXPECT_EQ(s.At(0, 3), clAqua) << "clNone: nothing masked";
    EXPECT_EQ(s.At(0, 0), clFuchsia);

    list.Draw(c, 0, 0, 7); // out of range: nothing, no error
}

TEST(ImageList, MaskBitmapsWideStripsAndSizeChanges) {
    TImageList list(2, 2);
    TBitmap strip(6, 2); // three images of 2 x 2
    strip.Fill(clNavy);
    strip.SetPixel(2, 0, clYellow);
    TBitmap mask(6, 2); // white = transparent
    mask.Fill(clBlack);
    mask.SetPixel(5, 1, clWhite);
    EXPECT_EQ(list.Add(strip, &mask), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Add(strip, nullptr), 3);
    EXPECT_EQ(list.Count(), 6);

    ForeignSurface s(2, 2);
    TCanvas c(s.DC());
    s.Fill(clWhite);
    list.Draw(c, 0, 0, 1);
    EXPECT_EQ(s.At(0, 0), clYellow);
    EXPECT_EQ(s.At(1, 1), clNavy);
    s.Fill(clWhite);
    list.Draw(c, 0, 0, 2);
    EXPECT_EQ(s.At(1, 1), clWhite) << "masked by the mask bitmap";
    EXPECT_EQ(s.At(0, 1), clNavy);

    TBitmap out;
    list.GetBitmap(1, out);
    EXPECT_EQ(out.Width(), 2);
    EXPECT_EQ(out.Pixel(0, 0), clYellow);

    list.Delete(0);
    EXPECT_EQ(list.Count(), 5);
    int changes = 0;
    list.OnChange = [&](TImageList* sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    };
    list.SetSize(16, 16);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_EQ(changes, 1);
    TBitmap empty;
    EXPECT_THROW(list.Add(empty, nullptr), EGraphicError);
}

TEST(ImageList, DisabledImagesAreEmbossedInButtonColours) {
    TImageList list(4, 4);
    TBitmap g;
    Glyph(g, 4, 4, clFuchsia, clBlack);
    g.SetPixel(3, 3, clWhite); // white parts of a glyph vanish when disabled
    g.SetPixel(0, 3, clFuchsia);
    list.AddMasked(g, clFuchsia);

    ForeignSurface s(6, 6);
    TCanvas c(s.DC());
    const TColor back = RGBToColor(10, 20, 30);
    s.Fill(back);
    list.Draw(c, 0, 0, 0, false);
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(s.At(1, 1), shadow);
    EXPECT_EQ(s.At(2, 2), shadow);
    EXPECT_EQ(s.At(3, 3), light) << "highlight one pixel down-right of the shape";
    EXPECT_EQ(s.At(3, 2), light);
    EXPECT_EQ(s.At(0, 0), back);
    EXPECT_EQ(s.At(4, 4), back);
    EXPECT_EQ(
        s.Count(ColorToRGB(clBlack), RECT{0, 0, 6, 6}) - (shadow == ColorToRGB(clBlack) ? 4 : 0), 0)
        << "no trace of the glyph's own colours";
}

TEST(Icon, LoadsFromResourcesAndDrawsWithItsMask) {
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    EXPECT_TRUE(icon.Transparent());
    icon.LoadFromResourceName(self, L"GFXTEST_ICON", 16);
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);

    ForeignSurface s(16, 16);
    s.Fill(clLime);
    TCanvas c(s.DC());
    c.Draw(0, 0, icon);
    EXPECT_EQ(s.At(8, 8), clBlue);
    EXPECT_EQ(s.At(1, 1), clLime);

    TIcon copy;
    copy.Assign(icon);
    EXPECT_NE(copy.Handle(), icon.Handle());
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_THROW(icon.LoadFromResourceName(self, L"NO_SUCH_ICON"), EGraphicResNotFound);
}

TEST(Picture, HoldsCopiesAndReportsChangesOfItsGraphic) {
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TPicture* sender) {
        EXPECT_EQ(sender, &p);
        ++changes;
    };
    EXPECT_FALSE(p.HasGraphic());
    EXPECT_EQ(p.Width(), 0);

    TBitmap b(3, 2);
    b.SetPixel(0, 0, clRed);
    p.SetGraphic(&b);
    EXPECT_EQ(changes, 1);
    b.SetPixel(0, 0, clBlue);
    ASSERT_NE(p.Graphic(), &b);
    EXPECT_EQ(p.Bitmap().Pixel(0, 0), clRed) << "the picture keeps its own copy";
    EXPECT_EQ(p.Width(), 3);

    // A change of the graphic inside reaches the picture's listener.
    p.Graphic()->SetTransparent(true);
    EXPECT_EQ(changes, 2);
    p.Bitmap().SetSize(5, 5);
    EXPECT_EQ(changes, 3);

    // Asking for an icon replaces the bitmap; asking for a bitmap again replaces that.
    TIcon& icon = p.Icon();
    EXPECT_TRUE(icon.Empty());
    EXPECT_FALSE(p.HasGraphic());
    EXPECT_EQ(changes, 4);
    p.Bitmap().SetSize(2, 2);
    EXPECT_EQ(p.Width(), 2);

    TPicture q;
    q.Assign(p);
    EXPECT_EQ(q.Width(), 2);
    EXPECT_NE(q.Graphic(), p.Graphic());
    q.Clear();
    EXPECT_EQ(q.Graphic(), nullptr);

    p.LoadFromResourceName(::GetModuleHandleW(nullptr), L"GFXTEST_KEYED");
    EXPECT_EQ(p.Width(), 5);
}

TEST(Offscreen, RebuildsOnlyOnResizeAndCopiesInOneStep) {
    TOffscreenBuffer buffer;
    TCanvas& c = buffer.Prepare(8, 6);
    const HBITMAP first = buffer.Bitmap().Handle();
    c.Brush().SetColor(clTeal);
    c.FillRect(RECT{0, 0, 8, 6});
    EXPECT_EQ(&buffer.Prepare(8, 6), &c);
    EXPECT_EQ(buffer.Bitmap().Handle(), first) << "same size: same bitmap";

    ForeignSurface s(10, 10);
    s.Fill(clWhite);
    buffer.CopyTo(s.DC(), 1, 2);
    EXPECT_EQ(s.At(1, 2), clTeal);
    EXPECT_EQ(s.At(8, 7), clTeal);
    EXPECT_EQ(s.At(9, 8), clWhite);
    EXPECT_EQ(s.At(0, 0), clWhite);

    buffer.Prepare(12, 3);
    EXPECT_EQ(buffer.Bitmap().Width(), 12);
    EXPECT_EQ(buffer.Bitmap().Height(), 3);
    buffer.Release();
    EXPECT_TRUE(buffer.Bitmap().Empty());
    buffer.CopyTo(s.DC()); // nothing to copy, no error
}

// The scoped paint copies when it ends, at its offset, through a kept buffer
// or one of its own; a paint that throws leaves the target as it was.
TEST(Offscreen, ScopedPaintCopiesOnlyAPaintThatFinished) {
    ForeignSurface s(10, 10);
    s.Fill(clWhite);
    auto fill = [](TCanvas& c, TColor color) {
        c.Brush().SetColor(color);
        c.FillRect(RECT{0, 0, 10, 10});
    };

    TOffscreenBuffer kept;
    {
        TOffscreenPaint paint(kept, s.DC(), 4, 3, 2, 1);
        fill(paint.Canvas(), clTeal);
        EXPECT_EQ(s.At(2, 1), clWhite) << "nothing reaches the target before the end";
    }
    EXPECT_EQ(s.At(2, 1), clTeal);
    EXPECT_EQ(s.At(5, 3), clTeal);
    EXPECT_EQ(s.At(6, 4), clWhite);
    EXPECT_EQ(kept.Bitmap().Pixel(0, 0), clTeal) << "the buffer keeps the picture";

    EXPECT_THROW(
        {
            TOffscreenPaint paint(s.DC(), 10, 10);
            fill(paint.Canvas(), clRed);
            throw std::runtime_error("paint failed");
        },
        std::runtime_error);
    EXPECT_EQ(s.At(0, 0), clWhite);
    EXPECT_EQ(s.At(2, 1), clTeal);
}

// Creating, using and freeing many of everything leaves no GDI object behind.
TEST(GdiObjects, NothingLeaksAfterAHundredOfEach) {
    ForeignSurface s(64, 64);
    auto round = [&] {
        TCanvas target(s.DC());
        TBitmap b(32, 32);
        b.Canvas().Font().SetStyle(TFontStyles{fsBold});
        b.Canvas().TextOut(0, 0, L"计算");
        b.Canvas().Rectangle(0, 0, 5, 5);
        b.SetTransparent(true);
        target.Draw(0, 0, b);
        target.StretchDraw(RECT{0, 0, 64, 64}, b);
        TBitmap copy;
        copy.Assign(b);
        copy.SetSize(40, 40);
        TFont f;
        f.SetName(L"Tahoma");
        (void)f.Handle();
        f.SetHeight(-20);
        target.SetFont(f);
        target.TextOut(0, 0, L"x");
        TImageList list(16, 16);
        list.AddMasked(b, clDefault);
        list.Draw(target, 0, 0, 0);
        list.Draw(target, 0, 0, 0, false);
        TPicture p;
        p.SetGraphic(&b);
        TIcon icon;
        icon.LoadFromResourceName(::GetModuleHandleW(nullptr), L"GFXTEST_ICON", 16);
        target.Draw(0, 0, icon);
        TOffscreenBuffer buffer;
        buffer.Prepare(10, 10).TextOut(0, 0, L"y");
        buffer.Prepare(11, 10);
        buffer.CopyTo(s.DC());
        TCanvasState state(target);
        target.Pen().SetWidth(3);
        target.LineTo(5, 5);
    };
    round(); // first use creates lasting system objects (stock fonts, caches)
    const int before = ProcessGdiObjectCount();
    ASSERT_GT(before, 0) << "the count must be real for this test to mean anything";
    for (int i = 0; i < 100; ++i)
        round();
    EXPECT_EQ(ProcessGdiObjectCount(), before);

    // The counter does see a leak.
    HBRUSH leak = ::CreateSolidBrush(0);
    EXPECT_EQ(ProcessGdiObjectCount(), before + 1);
    ::DeleteObject(leak);
}
