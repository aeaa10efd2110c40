#include "tools/artgen/Painters.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Paint FromRows(RowPaint rows) {
    return [rows = std::move(rows)](float, float y) { return rows(y); };
}

RowPaint Rows(std::vector<std::pair<float, Rgba>> stops) {
    // Pixel centres sit at y + 0.5; a stop at row r means the centre of row r.
    return [stops = std::move(stops)](float y) {
        float r = y - 0.5f;
        if (r <= stops.front().first) return stops.front().second;
        for (std::size_t i = 1; i < stops.size(); ++i)
            if (r <= stops[i].first) {
                float span = stops[i].first - stops[i - 1].first;
                float t = span > 0 ? (r - stops[i - 1].first) / span : 1.0f;
                return Mix(stops[i - 1].second, stops[i].second, t);
            }
        return stops.back().second;
    };
}

void GlassFace(Image& img, const Sdf& shape, float y0, float y1, const Face& face, float gloss,
               float glossEnd) {
    img.Fill(shape, VGradient(y0, y1, {{0.0f, face.top}, {1.0f, face.bottom}}));
    if (gloss > 0) {
        // The highlight covers the upper part and ends in a hard edge, the
        // look of a lit glass surface.
        Sdf upper = Intersect(shape, Rect(-100, y0, 1000, glossEnd));
        img.Fill(upper, VGradient(y0, glossEnd,
                                  {{0.0f, Hex(0xFFFFFF, 0.75f * gloss)},
                                   {1.0f, Hex(0xFFFFFF, 0.25f * gloss)}}));
    }
    img.Fill(InnerBand(shape, 1.0f), face.border);
}

void DrawTitleGlyph(Image& img, TitleGlyph glyph, float size, float dx, float dy, Rgba colour,
                    float weight) {
    // Designed on a 19 pixel cell; other cells scale it.
    const float k = size / 19.0f;
    auto X = [&](float v) { return dx + v * k; };
    auto Y = [&](float v) { return dy + v * k; };
    const float line = std::max(0.75f, 0.85f * k * weight);
    switch (glyph) {
    case TitleGlyph::Close:
        img.Fill(Union(Capsule(X(6), Y(6), X(13), Y(13), line + 0.15f),
                       Capsule(X(13), Y(6), X(6), Y(13), line + 0.15f)),
                 colour);
        break;
    case TitleGlyph::Min:
        img.Fill(Rect(std::round(X(5.5f)), std::round(Y(12)), std::round(X(13.5f)),
                      std::round(Y(12)) + std::max(2.0f, std::round(2 * k))),
                 colour);
        break;
    case TitleGlyph::Max: {
        float x0 = std::round(X(5)), y0 = std::round(Y(5)), x1 = std::round(X(14)),
              y1 = std::round(Y(14));
        img.Fill(Union(InnerBand(Rect(x0, y0, x1, y1), 1.0f), Rect(x0, y0, x1, y0 + 2)), colour);
        break;
    }
    case TitleGlyph::Restore: {
        float a = std::round(X(7)), b = std::round(Y(4)), c = std::round(X(15)),
              d = std::round(Y(11));
        float e = std::round(X(4)), f = std::round(Y(8)), g = std::round(X(12)),
              h = std::round(Y(15));
        Sdf back = Subtract(Union(InnerBand(Rect(a, b, c, d), 1.0f), Rect(a, b, c, b + 2)),
                            Rect(e - 1, f - 1, g + 1, h + 1));
        Sdf front = Union(InnerBand(Rect(e, f, g, h), 1.0f), Rect(e, f, g, f + 2));
        img.Fill(Union(back, front), colour);
        break;
    }
    case TitleGlyph::Help: {
        std::vector<std::pair<float, float>> pts;
        const float cx = X(9.5f), cy = Y(7.2f), r = 2.9f * k;
        for (int i = 0; i <= 12; ++i) {
            float t = 3.6f + i * (2.75f / 12.0f); // from the upper left round to the right
            pts.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
        }
        pts.push_back({X(9.5f), Y(10.6f)});
        pts.push_back({X(9.5f), Y(11.8f)});
        img.Fill(Union(Polyline(pts, line), Circle(X(9.5f), Y(14.6f), line + 0.35f)), colour);
        break;
    }
    case TitleGlyph::ControlBox: {
        // A little house, the program's emblem, with its door cut out.
        Sdf roof = ConvexPolygon({{X(9.5f), Y(3.5f)}, {X(15.5f), Y(9.5f)}, {X(3.5f), Y(9.5f)}});
        Sdf walls = Rect(std::round(X(5)), Y(9), std::round(X(14)), std::round(Y(15)));
        Sdf door = Rect(std::round(X(8)), std::round(Y(11)), std::round(X(11)), Y(16));
        img.Fill(Subtract(Union(roof, walls), door), colour);
        break;
    }
    }
}

void DrawArrow(Image& img, float cx, float cy, float size, int direction, Rgba colour) {
    // direction: 0 up, 1 right, 2 down, 3 left. Whole-pixel rows 1, 3, 5, ...
    // wide, the crisp arrow small buttons want; anti-aliasing only blurs it.
    const int rows = std::max(2, static_cast<int>(std::lround(size / 2)));
    const int c = static_cast<int>(std::floor(cx)), m = static_cast<int>(std::floor(cy));
    const int first = m - rows / 2; // the apex row (or column) along the arrow
    for (int i = 0; i < rows; ++i) {
        const float a = static_cast<float>(c - i), b = static_cast<float>(c + i + 1);
        switch (direction) {
        case 0:
            img.Fill(Rect(a, first + i, b, first + i + 1.0f), colour);
            break;
        case 2:
            img.Fill(Rect(a, first + rows - 1 - i, b, first + rows - i + 0.0f), colour);
            break;
        case 1: {
            const int r = static_cast<int>(std::floor(cy)), col = c - rows / 2 + rows - 1 - i;
            img.Fill(Rect(col, r - i, col + 1.0f, r + i + 1.0f), colour);
            break;
        }
        default: {
            const int r = static_cast<int>(std::floor(cy)), col = c - rows / 2 + i;
            img.Fill(Rect(col, r - i, col + 1.0f, r + i + 1.0f), colour);
            break;
        }
        }
    }
}

void DrawCheckMark(Image& img, float x0, float y0, float size, Rgba colour, float weight) {
    float k = size / 9.0f;
    img.Fill(Polyline({{x0 + 1.2f * k, y0 + 4.6f * k},
                       {x0 + 3.6f * k, y0 + 7.0f * k},
                       {x0 + 8.0f * k, y0 + 1.6f * k}},
                      weight),
             colour);
}

void KeyTopCorners(Bitmap& b) {
    b.At(0, 0) = kKey;
    b.At(b.width - 1, 0) = kKey;
}

void KeyBottomCorners(Bitmap& b) {
    b.At(0, b.height - 1) = kKey;
    b.At(b.width - 1, b.height - 1) = kKey;
}

Bitmap CheckBoxFrame(const Palette& p, int w, int h, int box, bool checked, bool enabled,
                     bool masked) {
    Image img(w, h);
    float x0 = std::floor((w - box) / 2.0f), y0 = std::floor((h - box) / 2.0f);
    Sdf shape = RoundRect(x0, y0, x0 + box, y0 + box, p.radius);
    Face face = enabled ? p.normal : p.disabled;
    if (checked && enabled && p.checkedGel) face = {p.checkedTop, p.checkedBottom, p.hot.border};
    GlassFace(img, shape, y0, y0 + box, face, enabled ? p.gloss : 0, y0 + box * 0.5f);
    if (checked) {
        Rgba mark = enabled ? p.mark : p.markDisabled;
        float inset = box * 0.2f;
        DrawCheckMark(img, x0 + inset, y0 + inset, box - 2 * inset, mark, box >= 15 ? 1.1f : 0.9f);
    }
    return Flatten(img, p.back, masked);
}

Bitmap RadioFrame(const Palette& p, int w, int h, int box, bool checked, bool enabled) {
    Image img(w, h);
    float cx = w / 2.0f, cy = h / 2.0f, r = box / 2.0f;
    Sdf shape = Circle(cx, cy, r);
    Face face = enabled ? p.normal : p.disabled;
    if (checked && enabled && p.checkedGel) face = {p.checkedTop, p.checkedBottom, p.hot.border};
    GlassFace(img, shape, cy - r, cy + r, face, enabled ? p.gloss : 0, cy);
    if (checked) {
        Rgba dot = enabled ? p.mark : p.markDisabled;
        float dr = r * 0.42f;
        img.Fill(Circle(cx, cy, dr), dot);
        if (enabled)
            img.Fill(Circle(cx - dr * 0.3f, cy - dr * 0.35f, dr * 0.45f), Hex(0xFFFFFF, 0.45f));
    }
    return Flatten(img, p.back, true);
}

namespace {
const Face& FaceOf(const Palette& p, State s) {
    return s == State::Hot ? p.hot : s == State::Pressed ? p.pressed : p.normal;
}
} // namespace

Bitmap ScrollArrowFrame(const Palette& p, int w, int h, bool up, State s) {
    Image img(w, h);
    Sdf shape = RoundRect(0, 0, w, h, p.radius);
    const Face& face = FaceOf(p, s);
    GlassFace(img, shape, 0, h, face, p.gloss, h * 0.5f);
    float off = s == State::Pressed ? 1.0f : 0.0f;
    DrawArrow(img, w / 2.0f + off, h / 2.0f + off, std::min(w, h) * 0.56f, up ? 0 : 2, p.mark);
    Bitmap b = Flatten(img, p.scrollBack, true);
    // Image buttons are keyed by pixel (0, 0), whatever the corner radius.
    KeyTopCorners(b);
    KeyBottomCorners(b);
    return b;
}

std::vector<Bitmap> ThumbPieces(const Palette& p, int piece, int h) {
    // One thumb drawn three pieces wide, cut into start, middle and end.
    const int w = piece * 3;
    Image img(w, h);
    Sdf shape = RoundRect(0, 1, w, h - 1, std::min(p.radius + 1.0f, piece - 1.0f));
    GlassFace(img, shape, 1, h - 1, p.hot, p.gloss, h * 0.5f);
    Bitmap all = Flatten(img, p.scrollBack, false);
    std::vector<Bitmap> out;
    for (int i = 0; i < 3; ++i) {
        Bitmap b{piece, h, {}};
        b.pixels.resize(static_cast<std::size_t>(piece) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < piece; ++x)
                b.At(x, y) = all.At(i * piece + x, y);
        out.push_back(b);
    }
    return out;
}

Bitmap TabFrame(const Palette& p, int w, int h, bool active, Rgba activeBottom) {
    // Open at the bottom: the active tab runs into the line below it.
    Image img(w, h);
    const float r = std::min(p.radius + 1.0f, w / 3.0f);
    Sdf shape = RoundRect(0, 0, w, h + 4, r);
    Face face = active ? Face{Hex(0xFFFFFF), activeBottom, p.normal.border}
                       : Face{p.normal.top, p.normal.bottom, p.disabled.border};
    img.Fill(shape, VGradient(0, h, {{0.0f, face.top}, {1.0f, face.bottom}}));
    img.Fill(InnerBand(shape, 1.0f), face.border);
    if (active)
        img.Fill(Intersect(InnerBand(Shift(shape, 0, 1), 1.0f), Rect(1, 1, w - 1, 3)),
                 Hex(0xFFFFFF, 0.7f));
    Bitmap b = Flatten(img, p.back, true);
    KeyTopCorners(b); // the tab strip takes its key colour from pixel (0, 0)
    return b;
}

Bitmap TabLine(const Palette& p, int w, int h, Rgba fill) {
    Image img(w, h);
    img.FillAll(Solid(fill));
    img.Fill(Rect(0, 0, w, 1), p.normal.border);
    return Flatten(img, p.back, false);
}

Bitmap MoreScrollButton(const Palette& p, int w, int h, bool right, bool hot) {
    Image img(w, h);
    Sdf shape = RoundRect(1, 1, w - 1, h - 1, p.radius);
    GlassFace(img, shape, 1, h - 1, hot ? p.hot : p.normal, p.gloss, h * 0.5f);
    DrawArrow(img, w / 2.0f, h / 2.0f, h * 0.52f, right ? 1 : 3, p.mark);
    return Flatten(img, p.back, true);
}

Bitmap ProgressBar(const Palette& p, Rgba accent, int w, int h) {
    Image img(w, h);
    img.FillAll(VGradient(0, h,
                          {{0.0f, Lighten(accent, 0.45f)},
                           {0.45f, Lighten(accent, 0.15f)},
                           {0.5f, accent},
                           {1.0f, Lighten(accent, 0.2f)}}));
    return Flatten(img, p.back, false);
}

Bitmap TrackBar(const Palette& p, int w, int h) {
    Image img(w, h);
    Sdf shape = RoundRect(0, 0, w, h, h / 2.0f);
    img.Fill(shape,
             VGradient(0, h,
                       {{0.0f, Darken(p.scrollBack, 0.25f)}, {1.0f, Darken(p.scrollBack, 0.05f)}}));
    img.Fill(InnerBand(shape, 1.0f), p.normal.border);
    return Flatten(img, p.back, true);
}

Bitmap TrackSlider(const Palette& p, int w, int h, bool vertical) {
    // A slider pointing at the bar: down in a horizontal bar, right in a vertical one.
    Image img(w, h);
    Sdf shape;
    if (!vertical)
        shape = ConvexPolygon({{0.5f, 0.5f},
                               {w - 0.5f, 0.5f},
                               {w - 0.5f, h - w / 2.0f},
                               {w / 2.0f, h - 0.5f},
                               {0.5f, h - w / 2.0f}});
    else
        shape = ConvexPolygon({{0.5f, 0.5f},
                               {w - h / 2.0f, 0.5f},
                               {w - 0.5f, h / 2.0f},
                               {w - h / 2.0f, h - 0.5f},
                               {0.5f, h - 0.5f}});
    GlassFace(img, shape, 0, static_cast<float>(h), p.normal, p.gloss, h * 0.45f);
    return Flatten(img, p.back, true);
}

Bitmap SideHandle(const Palette& p, int w, int h) {
    Image img(w, h);
    Sdf shape = RoundRect(0, 0, w, h, std::min(3.0f, w / 2.0f));
    img.Fill(shape, HGradient(0, w, {{0.0f, p.normal.top}, {1.0f, p.normal.bottom}}));
    img.Fill(InnerBand(shape, 1.0f), p.normal.border);
    // Grip dots in the middle third.
    for (int y = h / 2 - 9; y <= h / 2 + 9; y += 4) {
        img.Fill(Rect(w / 2.0f - 1, y, w / 2.0f + 1, y + 1), p.mark);
        img.Fill(Rect(w / 2.0f - 1, y + 1, w / 2.0f + 1, y + 2), Hex(0xFFFFFF, 0.8f));
    }
    return Flatten(img, p.back, true);
}

Bitmap SideBar(const Palette& p, int w, int h) {
    Image img(w, h);
    img.FillAll(VGradient(0, h, {{0.0f, p.hot.top}, {1.0f, p.hot.bottom}}));
    img.Fill(Rect(0, h - 1, w, h), p.hot.border);
    return Flatten(img, p.back, false);
}

std::vector<Bitmap> FourStates(const std::function<Bitmap(bool checked, bool enabled)>& f) {
    return {f(true, true), f(false, true), f(true, false), f(false, false)};
}

Bitmap Background(int w, int h, const Paint& paint) {
    Image img(w, h);
    img.FillAll(paint);
    return Flatten(img, Hex(0), false);
}

Bitmap ComposeTitleBar(const Bitmap& left, const Bitmap& client, const Bitmap& right, int width) {
    Bitmap out{width, left.height, {}};
    out.pixels.assign(static_cast<std::size_t>(width) * out.height, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t v;
            if (x < left.width)
                v = left.At(x, y);
            else if (x >= width - right.width)
                v = right.At(x - (width - right.width), y);
            else {
                // Stretched like StretchBlt: nearest source column.
                int span = width - left.width - right.width;
                int sx = (x - left.width) * client.width / std::max(1, span);
                v = client.At(std::min(sx, client.width - 1), y);
            }
            out.At(x, y) = v;
        }
    return out;
}

Bitmap ComposeNinePart(const Bitmap& f, int w, int h) {
    // Corners unscaled, the middle row and column stretched.
    Bitmap out{w, h, {}};
    out.pixels.resize(static_cast<std::size_t>(w) * h);
    const int cw = f.width / 2, ch = f.height / 2;
    auto src = [&](int d, int size, int fsize, int corner) {
        if (d < corner) return d;
        if (d >= size - (fsize - corner - 1)) return fsize - (size - d);
        return corner;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.At(x, y) = f.At(src(x, w, f.width, cw), src(y, h, f.height, ch));
    return out;
}

} // namespace artgen
