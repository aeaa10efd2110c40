// The rasteriser's promises the artwork leans on: edges on pixel boundaries
// stay crisp, coverage is area, keying happens only where nothing was drawn.
#include "tools/artgen/Font5x7.h"
#include "tools/artgen/Painters.h"
#include "tools/artgen/Raster.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace artgen;

float AlphaSum(const Image& img) {
    float sum = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            sum += img.At(x, y).a;
    return sum;
}

TEST(RasterCoverage, RectanglesOnPixelEdgesAreCrisp) {
    Image img(10, 10);
    img.Fill(Rect(2, 3, 5, 7), Hex(0xFF0000));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 3 && y < 7;
            ASSERT_FLOAT_EQ(inside ? 1.0f : 0.0f, img.At(x, y).a) << x << "," << y;
        }
    // A one-pixel inner band is exactly the outermost ring.
    Image ring(8, 6);
    ring.Fill(InnerBand(Rect(0, 0, 8, 6), 1.0f), Hex(0x000000));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            bool edge = x == 0 || y == 0 || x == 7 || y == 5;
            ASSERT_FLOAT_EQ(edge ? 1.0f : 0.0f, ring.At(x, y).a) << x << "," << y;
        }
}

TEST(RasterCoverage, CurvedShapesCoverTheirArea) {
    Image img(40, 40);
    img.Fill(Circle(20, 20, 12.3f), Hex(0x00FF00));
    EXPECT_NEAR(3.14159265f * 12.3f * 12.3f, AlphaSum(img), 3.0f);
    // A half-pixel offset edge gives half coverage.
    Image half(4, 1);
    half.Fill(Rect(0, 0, 2.5f, 1), Hex(0x0000FF));
    EXPECT_NEAR(0.5f, half.At(2, 0).a, 1e-5f);
    // Rounded corners take away what the corner circles leave out.
    Image rr(20, 20);
    rr.Fill(RoundRect(0, 0, 20, 20, 5), Hex(0));
    EXPECT_NEAR(400.0f - (4 - 3.14159265f) * 25.0f, AlphaSum(rr), 1.5f);
}

TEST(RasterCoverage, PolygonWindingDoesNotMatter) {
    Image cw(12, 12), ccw(12, 12);
    cw.Fill(ConvexPolygon({{1, 1}, {11, 2}, {6, 11}}), Hex(0));
    ccw.Fill(ConvexPolygon({{6, 11}, {11, 2}, {1, 1}}), Hex(0));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_NEAR(cw.At(x, y).a, ccw.At(x, y).a, 1.0f / 36 + 1e-5f); // a sample on an edge
    EXPECT_NEAR(0.5f * std::fabs((11 - 1) * (11 - 1) - (6 - 1) * (2 - 1)), AlphaSum(cw), 1.0f);
}

TEST(RasterFlatten, KeysOnlyUndrawnPixelsAndNeverDrawsTheKeyByAccident) {
    Image img(4, 1);
    img.Pixel(1, 0, Hex(0x000000, 0.1f)); // a faint speck: background
    img.Pixel(2, 0, Hex(0x000000, 0.5f)); // half-covered edge: blended
    img.Pixel(3, 0, Hex(0xFF00FF));       // drawn magenta must not vanish
    Bitmap masked = Flatten(img, Hex(0xFFFFFF), true);
    EXPECT_EQ(kKey, masked.At(0, 0));
    EXPECT_EQ(kKey, masked.At(1, 0));
    EXPECT_EQ(0x808080u, masked.At(2, 0));
    EXPECT_NE(kKey, masked.At(3, 0));
    Bitmap opaque = Flatten(img, Hex(0xFFFFFF), false);
    EXPECT_EQ(0xFFFFFFu, opaque.At(0, 0));
    EXPECT_EQ(0xE6E6E6u, opaque.At(1, 0));
}

TEST(RasterPaint, RowStopsLandOnTheirRows) {
    RowPaint rows = Rows({{0, Hex(0x000000)}, {10, Hex(0xC8C8C8)}, {10.01f, Hex(0xFF0000)}});
    Image img(1, 14);
    img.FillAll(FromRows(rows));
    Bitmap b = Flatten(img, Hex(0), false);
    EXPECT_EQ(0x000000u, b.At(0, 0));
    EXPECT_EQ(0x646464u, b.At(0, 5));
    EXPECT_EQ(0xC8C8C8u, b.At(0, 10));
    EXPECT_EQ(0xFF0000u, b.At(0, 11)); // a hard step between two rows
    EXPECT_EQ(0xFF0000u, b.At(0, 13));
}

TEST(RasterStrip, FramesSitSideBySideInOrder) {
    Bitmap a{2, 2, {1, 2, 3, 4}}, b{3, 2, {5, 6, 7, 8, 9, 10}};
    Bitmap s = Strip({a, b});
    EXPECT_EQ(5, s.width);
    EXPECT_EQ(2, s.height);
    EXPECT_EQ((std::vector<std::uint32_t>{1, 2, 5, 6, 7, 3, 4, 8, 9, 10}), s.pixels);
}

TEST(RasterNinePartMock, CornersStayAndTheMiddleRepeats) {
    // The mock-ups stretch a frame the way the skin does; a 5 x 5 frame with
    // distinct pixels grown to 8 x 6 keeps its corners.
    Bitmap f{5, 5, {}};
    for (int i = 0; i < 25; ++i)
        f.pixels.push_back(static_cast<std::uint32_t>(i));
    Bitmap g = ComposeNinePart(f, 8, 6);
    EXPECT_EQ(f.At(0, 0), g.At(0, 0));
    EXPECT_EQ(f.At(4, 4), g.At(7, 5));
    EXPECT_EQ(f.At(4, 0), g.At(7, 0));
    EXPECT_EQ(f.At(2, 2), g.At(4, 3));
    EXPECT_EQ(f.At(2, 0), g.At(5, 0));
}

TEST(Font5x7, WidthsAndClippingAtTheEdges) {
    EXPECT_EQ(0, TextWidth5x7(""));
    EXPECT_EQ(11, TextWidth5x7("AB"));
    EXPECT_EQ(22, TextWidth5x7("AB", 2));
    // An unknown character draws the box glyph, not nothing.
    EXPECT_NE(Glyph5x7('A'), Glyph5x7('?'));
    EXPECT_EQ(Glyph5x7('?'), Glyph5x7('~'));
    Bitmap b{6, 4, std::vector<std::uint32_t>(24, 0)};
    DrawText5x7(b, -3, -2, "W", 0xFFFFFF); // partly outside: must not write out of bounds
    int lit = 0;
    for (std::uint32_t v : b.pixels)
        lit += v != 0;
    EXPECT_GT(lit, 0);
}

} // namespace
