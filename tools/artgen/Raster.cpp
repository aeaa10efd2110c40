#include "tools/artgen/Raster.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Rgba Hex(std::uint32_t rgb, float alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
            alpha};
}

Rgba Mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, float alpha) {
    c.a = alpha;
    return c;
}

Rgba Lighten(Rgba c, float t) {
    Rgba white{1, 1, 1, c.a};
    return Mix(c, white, t);
}

Rgba Darken(Rgba c, float t) {
    Rgba black{0, 0, 0, c.a};
    return Mix(c, black, t);
}

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    radius = std::min({radius, hx, hy});
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - (hx - radius);
        float qy = std::fabs(y - cy) - (hy - radius);
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf Rect(float x0, float y0, float x1, float y1) {
    return RoundRect(x0, y0, x1, y1, 0);
}

Sdf Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Sdf Ellipse(float cx, float cy, float rx, float ry) {
    // Scaled circle: exact in sign, never overestimates the distance.
    return [=](float x, float y) {
        float k = std::hypot((x - cx) / rx, (y - cy) / ry);
        return (k - 1.0f) * std::min(rx, ry);
    };
}

namespace {
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t);
}
} // namespace

Sdf Capsule(float ax, float ay, float bx, float by, float radius) {
    return [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - radius; };
}

Sdf Polyline(std::vector<std::pair<float, float>> points, float radius) {
    return [points = std::move(points), radius](float x, float y) {
        float best = 1e9f;
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            best = std::min(best, SegmentDistance(x, y, points[i].first, points[i].second,
                                                  points[i + 1].first, points[i + 1].second));
        return best - radius;
    };
}

Sdf ConvexPolygon(std::vector<std::pair<float, float>> points) {
    float area = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        auto [x0, y0] = points[i];
        auto [x1, y1] = points[(i + 1) % points.size()];
        area += x0 * y1 - x1 * y0;
    }
    float sign = area >= 0 ? 1.0f : -1.0f;
    return [points = std::move(points), sign](float x, float y) {
        float d = -1e9f;
        for (std::size_t i = 0; i < points.size(); ++i) {
            auto [x0, y0] = points[i];
            auto [x1, y1] = points[(i + 1) % points.size()];
            float ex = x1 - x0, ey = y1 - y0;
            float len = std::hypot(ex, ey);
            if (len == 0) continue;
            // Outward normal of a counter-clockwise (in y-down terms) edge.
            float dist = sign * ((x - x0) * ey - (y - y0) * ex) / len;
            d = std::max(d, dist);
        }
        return d;
    };
}

Sdf Union(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::min(a(x, y), b(x, y));
    };
}

Sdf Intersect(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::max(a(x, y), b(x, y));
    };
}

Sdf Subtract(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::max(a(x, y), -b(x, y));
    };
}

Sdf Shift(Sdf a, float dx, float dy) {
    return [a = std::move(a), dx, dy](float x, float y) { return a(x - dx, y - dy); };
}

Sdf InnerBand(Sdf shape, float width) {
    return [shape = std::move(shape), width](float x, float y) {
        float d = shape(x, y);
        return std::max(d, -(d + width));
    };
}

Sdf Outline(Sdf shape, float width) {
    return [shape = std::move(shape), width](float x, float y) {
        return std::fabs(shape(x, y)) - width / 2;
    };
}

Paint Solid(Rgba c) {
    return [c](float, float) { return c; };
}

namespace {
Rgba Sample(const std::vector<std::pair<float, Rgba>>& stops, float t) {
    if (stops.empty()) return {};
    if (t <= stops.front().first) return stops.front().second;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            float span = stops[i].first - stops[i - 1].first;
            float u = span > 0 ? (t - stops[i - 1].first) / span : 1.0f;
            return Mix(stops[i - 1].second, stops[i].second, u);
        }
    }
    return stops.back().second;
}
} // namespace

Paint VGradient(float y0, float y1, std::vector<std::pair<float, Rgba>> stops) {
    return [=](float, float y) { return Sample(stops, (y - y0) / (y1 - y0)); };
}

Paint HGradient(float x0, float x1, std::vector<std::pair<float, Rgba>> stops) {
    return [=](float x, float) { return Sample(stops, (x - x0) / (x1 - x0)); };
}

Image::Image(int width, int height)
    : w_(width), h_(height), px_(static_cast<std::size_t>(width) * height) {}

namespace {
// Box-filtered coverage: the distance decides far from the edge, a 6 x 6 grid
// of samples decides near it (exact for sharp corners and thin strokes). An
// even grid puts no sample on a half-pixel edge, so such an edge gives 0.5.
float Coverage(const Sdf& shape, int x, int y) {
    float d = shape(x + 0.5f, y + 0.5f);
    if (d >= 1.0f) return 0.0f;
    if (d <= -1.0f) return 1.0f;
    constexpr int kGrid = 6;
    int inside = 0;
    for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i)
            if (shape(x + (i + 0.5f) / kGrid, y + (j + 0.5f) / kGrid) < 0) ++inside;
    return inside / static_cast<float>(kGrid * kGrid);
}

void Over(Image::Px& dst, Rgba c, float cover) {
    float a = std::clamp(c.a * cover, 0.0f, 1.0f);
    dst.r = c.r * a + dst.r * (1 - a);
    dst.g = c.g * a + dst.g * (1 - a);
    dst.b = c.b * a + dst.b * (1 - a);
    dst.a = a + dst.a * (1 - a);
}
} // namespace

void Image::Fill(const Sdf& shape, const Paint& paint, float opacity) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            float cover = Coverage(shape, x, y) * opacity;
            if (cover > 0) Over(At(x, y), paint(x + 0.5f, y + 0.5f), cover);
        }
}

void Image::FillAll(const Paint& paint) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            Over(At(x, y), paint(x + 0.5f, y + 0.5f), 1.0f);
}

void Image::Pixel(int x, int y, Rgba c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) Over(At(x, y), c, 1.0f);
}

namespace {
std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// Below this the pixel is background: anything fainter would be a speck of
// magenta-tinted fringe once the key colour is masked out.
constexpr float kMaskThreshold = 0.2f;
} // namespace

Bitmap Flatten(const Image& img, const Image& background, bool masked) {
    Bitmap out{img.Width(), img.Height(), {}};
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Image::Px& p = img.At(x, y);
            if (masked && p.a < kMaskThreshold) {
                out.At(x, y) = kKey;
                continue;
            }
            const Image::Px& b = background.At(x, y);
            float r = p.r + b.r * (1 - p.a), g = p.g + b.g * (1 - p.a), bl = p.b + b.b * (1 - p.a);
            std::uint32_t v = (Byte(r) << 16) | (Byte(g) << 8) | Byte(bl);
            // A drawn pixel must never collide with the key by accident.
            out.At(x, y) = v == kKey ? 0xFE00FE : v;
        }
    return out;
}

Bitmap Flatten(const Image& img, Rgba background, bool masked) {
    Image bg(img.Width(), img.Height());
    bg.FillAll(Solid(WithAlpha(background, 1.0f)));
    return Flatten(img, bg, masked);
}

Bitmap Strip(const std::vector<Bitmap>& frames) {
    Bitmap out;
    for (const Bitmap& f : frames) {
        out.width += f.width;
        out.height = f.height;
    }
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    int x0 = 0;
    for (const Bitmap& f : frames) {
        for (int y = 0; y < f.height && y < out.height; ++y)
            for (int x = 0; x < f.width; ++x)
                out.At(x0 + x, y) = f.At(x, y);
        x0 += f.width;
    }
    return out;
}

} // namespace artgen
