// A small software rasteriser for the skin artwork: signed-distance shapes,
// box-filtered coverage, gradients, and flattening onto a key colour.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace artgen {

// Straight (not premultiplied) colour, components 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB as written in design tools, opaque unless alpha is given.
Rgba Hex(std::uint32_t rgb, float alpha = 1.0f);
Rgba Mix(Rgba a, Rgba b, float t);
Rgba WithAlpha(Rgba c, float alpha);
Rgba Lighten(Rgba c, float t); // towards white
Rgba Darken(Rgba c, float t);  // towards black

constexpr std::uint32_t kKey = 0xFF00FF; // masked pixels, clFuchsia

// Distance field: negative inside, in pixels. Pixel (x, y) covers the square
// [x, x+1) x [y, y+1), so a rectangle from 0 to 10 fills ten whole pixels.
using Sdf = std::function<float(float, float)>;
using Paint = std::function<Rgba(float, float)>;

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius);
Sdf Rect(float x0, float y0, float x1, float y1);
Sdf Circle(float cx, float cy, float radius);
Sdf Ellipse(float cx, float cy, float rx, float ry);
Sdf Capsule(float ax, float ay, float bx, float by, float radius);
Sdf Polyline(std::vector<std::pair<float, float>> points, float radius);
Sdf ConvexPolygon(std::vector<std::pair<float, float>> points);
Sdf Union(Sdf a, Sdf b);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
Sdf Shift(Sdf a, float dx, float dy);
// The band of the given width just inside the shape's edge (a crisp border
// when the shape's edges lie on pixel boundaries).
Sdf InnerBand(Sdf shape, float width);
// A band centred on the edge.
Sdf Outline(Sdf shape, float width);

Paint Solid(Rgba c);
// Gradient along y between positions; stops are (position 0..1, colour).
Paint VGradient(float y0, float y1, std::vector<std::pair<float, Rgba>> stops);
Paint HGradient(float x0, float x1, std::vector<std::pair<float, Rgba>> stops);

class Image {
  public:
    Image() = default;
    Image(int width, int height);
    int Width() const { return w_; }
    int Height() const { return h_; }

    // Premultiplied pixel, for compositing.
    struct Px {
        float r = 0, g = 0, b = 0, a = 0;
    };
    Px& At(int x, int y) { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    const Px& At(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }

    // Source-over of paint through the shape's coverage times opacity.
    void Fill(const Sdf& shape, const Paint& paint, float opacity = 1.0f);
    void Fill(const Sdf& shape, Rgba c) { Fill(shape, Solid(c)); }
    void FillAll(const Paint& paint);
    void Pixel(int x, int y, Rgba c); // one pixel, source-over

  private:
    int w_ = 0, h_ = 0;
    std::vector<Px> px_;
};

// Output pixels are 0x00RRGGBB (no alpha), top-down.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Composites the image over an opaque background. Pixels the drawing leaves
// (nearly) empty become the key colour when masked, so anti-aliased edges are
// blended with the colour they will actually sit on instead of with magenta.
Bitmap Flatten(const Image& img, const Image& background, bool masked);
Bitmap Flatten(const Image& img, Rgba background, bool masked);

// Frames side by side into one strip; every frame must share its height.
Bitmap Strip(const std::vector<Bitmap>& frames);

} // namespace artgen
