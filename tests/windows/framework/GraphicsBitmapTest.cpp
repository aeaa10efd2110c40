// Bitmaps: size and pixels, transparency drawn pixel by pixel, BMP reading
// and writing, resources.

#include "framework/Graphics.h"

#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

namespace {

// A BMP file assembled by hand, so the reader is not checked against our writer.
struct BmpBuilder {
    std::int32_t width = 2, height = 2;
    std::uint16_t planes = 1, bpp = 24;
    std::uint32_t compression = BI_RGB, colorsUsed = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint8_t> extra{}; // masks or palette, between header and bits
    std::vector<std::uint8_t> bits{};
    std::int64_t offBitsOverride = -1;
    std::int64_t headerSizeOverride = -1; // written into the field only

    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> out;
        auto put = [&](std::uint64_t v, int n) {
            for (int i = 0; i < n; ++i)
                out.push_back(std::uint8_t(v >> (8 * i)));
        };
        const std::uint32_t off = 14 + headerSize + std::uint32_t(extra.size());
        out.push_back('B');
        out.push_back('M');
        put(off + bits.size(), 4);
        put(0, 4);
        put(offBitsOverride >= 0 ? std::uint64_t(offBitsOverride) : off, 4);
        put(headerSizeOverride >= 0 ? std::uint64_t(headerSizeOverride) : headerSize, 4);
        put(std::uint32_t(width), 4);
        put(std::uint32_t(height), 4);
        put(planes, 2);
        put(bpp, 2);
        put(compression, 4);
        put(bits.size(), 4);
        put(0, 8);
        put(colorsUsed, 4);
        put(0, 4);
        out.resize(14 + headerSize, 0);
        out.insert(out.end(), extra.begin(), extra.end());
        out.insert(out.end(), bits.begin(), bits.end());
        return out;
    }
};

std::vector<std::uint8_t> Palette(std::initializer_list<TColor> colours) {
    std::vector<std::uint8_t> p;
    for (TColor c : colours) {
        p.push_back(GetBValue(c));
        p.push_back(GetGValue(c));
        p.push_back(GetRValue(c));
        p.push_back(0);
    }
    return p;
}

// A fresh bitmap read from the file m describes.
std::unique_ptr<TBitmap> Read(const BmpBuilder& m) {
    auto b = std::make_unique<TBitmap>();
    b->LoadFromBytes(m.Build());
    return b;
}

// 4 x 3: a key-coloured border around two coloured pixels.
void MakeKeyedSample(TBitmap& b, TColor key) {
    b.SetSize(4, 3);
    b.Fill(key);
    b.SetPixel(1, 1, clRed);
    b.SetPixel(2, 1, clBlue);
}

} // namespace

TEST(Bitmap, ResizingKeepsTheOverlapAndWhitensTheRest) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Pixel(2, 1), clWhite);
    b.SetPixel(0, 0, clRed);
    b.SetPixel(2, 1, clGreen);
    b.SetSize(5, 4);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 1), clGreen);
    EXPECT_EQ(b.Pixel(4, 3), clWhite);
    b.SetSize(1, 1);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), clNone) << "outside reads clNone";
    b.SetSize(0, 7);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
}

TEST(Bitmap, CanvasDrawingAndDirectPixelsSeeEachOther) {
    TBitmap b(10, 10);
    b.Canvas().Brush().SetColor(clNavy);
    b.Canvas().FillRect(RECT{2, 2, 5, 5});
    EXPECT_EQ(b.Pixel(2, 2), clNavy) << "GDI drawing visible without an explicit flush";
    EXPECT_EQ(b.Pixel(5, 5), clWhite);
    b.SetPixel(7, 7, clLime);
    EXPECT_EQ(b.Canvas().Pixels(7, 7), clLime);
    EXPECT_EQ(b.ScanLine(7)[7], 0x0000FF00u);
    // A system colour is stored as its RGB value.
    b.SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(b.Pixel(0, 0), ColorToRGB(clBtnFace));
    EXPECT_THROW(b.ScanLine(10), EGraphicError);
    // Resizing keeps the canvas usable on the new DIB.
    b.SetSize(20, 3);
    b.Canvas().FillRect(RECT{15, 0, 20, 3});
    EXPECT_EQ(b.Pixel(19, 2), clNavy);
}

TEST(Bitmap, TransparentDrawLeavesKeyPixelsOfTheTarget) {
    ForeignSurface s(8, 6);
    s.Fill(clYellow);
    TCanvas canvas(s.DC());

    TBitmap b;
    MakeKeyedSample(b, clFuchsia);
    b.SetTransparent(true);
    canvas.Draw(2, 1, b);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            TColor want = clYellow;
            if (x == 3 && y == 2) want = clRed;
            if (x == 4 && y == 2) want = clBlue;
            EXPECT_EQ(s.At(x, y), want) << x << "," << y;
        }

    // Opaque: the key colour is copied like any other.
    b.SetTransparent(false);
    canvas.Draw(2, 1, b);
    EXPECT_EQ(s.At(2, 1), clFuchsia);
    EXPECT_EQ(s.At(3, 2), clRed);
}

TEST(Bitmap, AutomaticKeyIsTheBottomLeftPixelAndFixedKeyStays) {
    TBitmap b;
    MakeKeyedSample(b, clAqua);
    b.SetPixel(0, 0, clFuchsia); // a corner that is not the key
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), clAqua);
    b.SetPixel(0, 2, clGreen);
    EXPECT_EQ(b.TransparentColor(), clGreen) << "automatic key follows the pixel";

    b.SetTransparentMode(tmFixed);
    b.SetPixel(0, 2, clAqua);
    EXPECT_EQ(b.TransparentColor(), clGreen) << "fixing freezes the current key";

    b.SetTransparentColor(clFuchsia);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    ForeignSurface s(4, 3);
    s.Fill(clBlack);
    TCanvas canvas(s.DC());
    b.SetTransparent(true);
    canvas.Draw(0, 0, b);
    EXPECT_EQ(s.At(0, 0), clBlack) << "fuchsia corner masked";
    EXPECT_EQ(s.At(0, 2), clAqua) << "the old automatic key is drawn now";

    b.SetTransparentColor(clDefault);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), clAqua);
}

TEST(Bitmap, StretchDrawScalesWholePixelsAndMasks) {
    TBitmap b(2, 1);
    b.SetPixel(0, 0, clRed);
    b.SetPixel(1, 0, clFuchsia);
    b.SetTransparentColor(clFuchsia);
    b.SetTransparent(true);
    ForeignSurface s(8, 4);
    s.Fill(clWhite);
    TCanvas canvas(s.DC());
    canvas.StretchDraw(RECT{0, 0, 8, 4}, b);
    EXPECT_EQ(s.At(0, 0), clRed);
    EXPECT_EQ(s.At(3, 3), clRed);
    EXPECT_EQ(s.At(4, 0), clWhite);
    EXPECT_EQ(s.At(7, 3), clWhite);
}

TEST(Bitmap, ChangeNotificationsAndAssign) {
    TBitmap b(2, 2);
    int changes = 0;
    b.OnChange = [&](TGraphic* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.SetSize(2, 2);
    b.SetTransparent(false);
    EXPECT_EQ(changes, 0) << "no change, no event";
    b.SetSize(3, 2);
    b.SetTransparent(true);
    b.SetTransparentColor(clRed);
    EXPECT_EQ(changes, 3);

    TBitmap copy;
    copy.Assign(b);
    b.SetPixel(0, 0, clBlack);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);
    EXPECT_EQ(copy.Pixel(0, 0), clWhite) << "pixels copied, not shared";
    EXPECT_NE(copy.Handle(), b.Handle());

    BitmapHandle own = b.CopyHandle();
    ASSERT_TRUE(own);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, own.Get());
    EXPECT_NE(old, nullptr) << "the copy is free to be selected elsewhere";
    EXPECT_EQ(::GetPixel(dc, 0, 0), COLORREF(clBlack));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    auto clone = b.Clone();
    EXPECT_EQ(static_cast<TBitmap&>(*clone).Pixel(0, 0), clBlack);
    EXPECT_FALSE(clone->OnChange) << "listeners are not copied";
}

TEST(BitmapFile, SaveAndLoadRoundTrip) {
    TBitmap b(5, 3); // odd width: rows are padded in the file
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.SetPixel(x, y, RGBToColor(std::uint8_t(x * 50), std::uint8_t(y * 100), 7));
    auto bytes = b.SaveToBytes();
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24) << "24 bits per pixel, readable by any viewer";

    TBitmap back;
    back.LoadFromBytes(bytes);
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;

    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    TBitmap fromStream;
    fromStream.LoadFromStream(in);
    EXPECT_EQ(fromStream.Pixel(4, 2), b.Pixel(4, 2));
}

TEST(BitmapFile, ReadsPalettesBitFieldsTopDownAndRle) {
    // 1 bpp, bottom-up: the first stored row is the bottom one.
    auto b = Read({.width = 3,
                   .bpp = 1,
                   .extra = Palette({clBlack, clWhite}),
                   .bits = {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}});
    EXPECT_EQ(b->Pixel(0, 1), clWhite);
    EXPECT_EQ(b->Pixel(1, 1), clBlack);
    EXPECT_EQ(b->Pixel(1, 0), clWhite);
    // 4 bpp, top-down, short palette: missing entries read black.
    b = Read({.width = 3,
              .height = -1,
              .bpp = 4,
              .colorsUsed = 2,
              .extra = Palette({clRed, clBlue}),
              .bits = {0x10, 0x70, 0, 0}});
    EXPECT_EQ(b->Pixel(0, 0), clBlue);
    EXPECT_EQ(b->Pixel(1, 0), clRed);
    EXPECT_EQ(b->Pixel(2, 0), clBlack);
    // 16 bpp 5-6-5 through bit fields: full red and blue, no green.
    b = Read({.width = 1,
              .height = 1,
              .bpp = 16,
              .compression = BI_BITFIELDS,
              .extra = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0},
              .bits = {0x1F, 0xF8, 0, 0}});
    EXPECT_EQ(b->Pixel(0, 0), clFuchsia);
    // 32 bpp: the fourth byte is not a colour.
    b = Read({.width = 1, .height = 1, .bpp = 32, .bits = {0x10, 0x20, 0x30, 0xFF}});
    EXPECT_EQ(b->Pixel(0, 0), RGBToColor(0x30, 0x20, 0x10));
    // RLE8: a run, a literal, end of line, a delta, end.
    b = Read({.width = 4,
              .height = 2,
              .bpp = 8,
              .compression = BI_RLE8,
              .colorsUsed = 3,
              .extra = Palette({clBlack, clRed, clLime}),
              .bits = {2, 1, 0, 3, 2, 0, 2, 0, 0, 0, 0, 2, 3, 0, 1, 2, 0, 1}});
    // Bottom row: the run, then the literal's first two pixels (the third falls outside).
    EXPECT_EQ(b->Pixel(0, 1), clRed);
    EXPECT_EQ(b->Pixel(1, 1), clRed);
    EXPECT_EQ(b->Pixel(2, 1), clLime);
    EXPECT_EQ(b->Pixel(3, 1), clBlack);
    // Top row: after moving 3 right, one lime pixel.
    EXPECT_EQ(b->Pixel(3, 0), clLime);
    EXPECT_EQ(b->Pixel(0, 0), clBlack);
}

TEST(BitmapFile, MalformedDataIsRejectedAndLeavesTheBitmapAlone) {
    const BmpBuilder good{.width = 2, .height = 2, .bits = std::vector<std::uint8_t>(16, 0x40)};
    ASSERT_NO_THROW(TBitmap().LoadFromBytes(good.Build()));

    std::vector<std::vector<std::uint8_t>> bad;
    auto variant = [&](auto change) {
        BmpBuilder m = good;
        change(m);
        bad.push_back(m.Build());
    };
    variant([](BmpBuilder& m) { m.bits.resize(15); });                  // one byte short
    variant([](BmpBuilder& m) { m.width = 0; });                        // no columns
    variant([](BmpBuilder& m) { m.width = -2; });                       // negative width
    variant([](BmpBuilder& m) { m.width = 0x7FFFFFFF; });               // absurd size
    variant([](BmpBuilder& m) { m.height = int(0x80000000u); });        // -2^31 rows
    variant([](BmpBuilder& m) { m.planes = 2; });                       // bad planes
    variant([](BmpBuilder& m) { m.bpp = 7; });                          // no such depth
    variant([](BmpBuilder& m) { m.headerSize = 39; });                  // unknown header
    variant([](BmpBuilder& m) { m.headerSizeOverride = 0xFFFFFFF0u; }); // header past the end
    variant([](BmpBuilder& m) { m.offBitsOverride = 0x7FFFFFFF; });     // bits past the end
    variant([](BmpBuilder& m) { m.compression = 9; });                  // unknown compression
    variant([](BmpBuilder& m) {                                         // palette too long
        m.bpp = 1;
        m.colorsUsed = 3;
        m.extra = Palette({clRed, clRed, clRed});
    });
    variant([](BmpBuilder& m) { m.bpp = 8, m.colorsUsed = 256; }); // palette missing
    variant([](BmpBuilder& m) {                                    // RLE without its end
        m.bpp = 8;
        m.compression = BI_RLE8;
        m.colorsUsed = 1;
        m.extra = Palette({clRed});
        m.bits = {2, 0, 0};
    });
    variant([](BmpBuilder& m) { m.height = -2, m.bpp = 8, m.compression = BI_RLE8; });
    variant([](BmpBuilder& m) { // bit field masks with holes
        m.bpp = 32;
        m.compression = BI_BITFIELDS;
        m.extra = {0x05, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0};
    });
    bad.push_back({'B', 'M', 0});
    bad.push_back({});
    auto wrongMagic = good.Build();
    wrongMagic[0] = 'M';
    bad.push_back(wrongMagic);

    TBitmap b(3, 3);
    b.SetPixel(1, 1, clRed);
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(b.LoadFromBytes(bad[i]), EGraphicError) << "case " << i;
        ASSERT_EQ(b.Width(), 3) << "case " << i;
        EXPECT_EQ(b.Pixel(1, 1), clRed) << "case " << i;
    }
    // Every truncation of a valid file fails cleanly, none reads past the end.
    auto file = good.Build();
    for (size_t n = 0; n < file.size(); ++n)
        EXPECT_THROW(b.LoadFromBytes(std::span(file.data(), n)), EGraphicError) << n;
}

TEST(BitmapResource, LoadsNamedBitmapsAndRejectsMissingOnes) {
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    TBitmap keyed;
    keyed.LoadFromResourceName(self, L"GFXTEST_KEYED");
    ASSERT_EQ(keyed.Width(), 5);
    ASSERT_EQ(keyed.Height(), 4);
    EXPECT_EQ(keyed.Pixel(1, 1), clRed);
    EXPECT_EQ(keyed.Pixel(2, 2), clWhite);
    EXPECT_EQ(keyed.Pixel(3, 2), clBlue);
    EXPECT_EQ(keyed.TransparentColor(), clFuchsia);

    TBitmap pal;
    pal.LoadFromResourceName(self, L"GFXTEST_PAL8");
    ASSERT_EQ(pal.Width(), 3);
    EXPECT_EQ(pal.Pixel(1, 0), RGBToColor(200, 100, 50));
    EXPECT_EQ(pal.Pixel(0, 1), RGBToColor(0, 255, 0));

    try {
        pal.LoadFromResourceName(self, L"NO_SUCH_BITMAP");
        FAIL() << "expected an error";
    } catch (const EGraphicResNotFound& e) {
        EXPECT_NE(e.Message().find(L"NO_SUCH_BITMAP"), std::wstring::npos);
    }
    EXPECT_EQ(pal.Width(), 3);
}

TEST(BitmapFile, LoadsACopyOfAnyGdiBitmap) {
    HBITMAP ddb = ::CreateBitmap(2, 1, 1, 32, nullptr);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ddb);
    ::SetPixelV(dc, 1, 0, RGB(1, 2, 3));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    TBitmap b;
    b.LoadFromHandle(ddb);
    ::DeleteObject(ddb);
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixel(1, 0), RGBToColor(1, 2, 3));
    EXPECT_THROW(b.LoadFromHandle(nullptr), EGraphicError);
}
