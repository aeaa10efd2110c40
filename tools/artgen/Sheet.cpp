#include "tools/artgen/Sheet.h"

#include "tools/artgen/Font5x7.h"

#include <algorithm>
#include <stdexcept>

namespace artgen {

Bitmap Frame(const Art& a, int index) {
    const int fw = a.bitmap.width / a.frames;
    Bitmap b{fw, a.bitmap.height, {}};
    b.pixels.resize(static_cast<std::size_t>(fw) * b.height);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < fw; ++x)
            b.At(x, y) = a.bitmap.At(index * fw + x, y);
    return b;
}

namespace {

constexpr std::uint32_t kInk = 0x202428;

Bitmap Blank(int w, int h, std::uint32_t rgb) {
    Bitmap b{w, h, {}};
    b.pixels.assign(static_cast<std::size_t>(w) * h, rgb);
    return b;
}

std::uint32_t Checker(int x, int y) {
    return ((x / 6 + y / 6) % 2) ? 0xC8C8C8 : 0xF0F0F0;
}

// src scaled by an integer factor at (x, y); key pixels let the ground show.
void Put(Bitmap& dst, const Bitmap& src, int x, int y, int scale, bool keyed) {
    for (int sy = 0; sy < src.height * scale; ++sy)
        for (int sx = 0; sx < src.width * scale; ++sx) {
            int tx = x + sx, ty = y + sy;
            if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height) continue;
            std::uint32_t v = src.At(sx / scale, sy / scale);
            if (keyed && v == kKey) continue;
            dst.At(tx, ty) = v;
        }
}

const Art& Find(const std::vector<Art>& art, const std::string& name) {
    for (const Art& a : art)
        if (a.name == name) return a;
    throw std::runtime_error("no artwork named " + name);
}

// Frames of a three-part picture laid over a width, as the tab strip does.
Bitmap ThreePart(const Bitmap& f, int width) {
    const int p = f.width / 3;
    Bitmap out = Blank(width, f.height, kKey);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < width; ++x) {
            int sx = x < p            ? x
                     : x >= width - p ? 2 * p + (x - (width - p))
                                      : p + (x - p) * p / std::max(1, width - 2 * p);
            out.At(x, y) = f.At(sx, y);
        }
    return out;
}

struct StyleFacts {
    const char* prefix;
    int leftOffset, rightOffset, top; // title-bar button placement of the style
    std::uint32_t form, caption;
    const char* scrollButton;
};

constexpr StyleFacts kFacts[] = {
    {"MACOS", 3, -2, 4, 0xE7E7E7, 0x000000, "MACOS_SCROLLBUTTON"},
    {"WINXP", 2, -2, 5, 0xEFEBDE, 0xFFFFFF, "WINXP_SCROLLBUTTON"},
    {"DEEPBLUE", 0, 0, 2, 0xE8E8E8, 0xFFFFFF, "MORE_SCROLLBUTTON"},
    {"PROTEIN", 0, 0, 2, 0xFBFBFB, 0xFFFFFF, "MORE_SCROLLBUTTON"},
    {"BLUEGLASS", 4, -3, 6, 0xE7E7E7, 0xFFFFFF, "MORE_SCROLLBUTTON"},
};

// One style's title bar, buttons and small controls laid out the way the
// skin draws them, at 1:1.
Bitmap StylePreview(const std::vector<Art>& art, const StyleFacts& f) {
    const std::string p = f.prefix;
    constexpr int kW = 360;
    const Bitmap bar =
        ComposeTitleBar(Find(art, p + "_TITLE_LEFT").bitmap, Find(art, p + "_TITLE_CLIENT").bitmap,
                        Find(art, p + "_TITLE_RIGHT").bitmap, kW);
    const int kH = bar.height + 110;
    Bitmap out = Blank(kW, kH, f.form);
    Put(out, bar, 0, 0, 1, false);
    const Art& btn = Find(art, p + "_TITLEBTN");
    const int bw = btn.bitmap.width / btn.frames;
    int x = kW + f.rightOffset + 1;
    for (int frame : {15, 6, 12}) { // close, maximise, minimise
        x -= bw + 1;
        Put(out, Frame(btn, frame), x, f.top, 1, true);
    }
    Put(out, Frame(btn, 0), f.leftOffset, f.top, 1, true);
    DrawText5x7(out, f.leftOffset + bw + 5, f.top + (btn.bitmap.height - 7) / 2, p, f.caption);

    int y = bar.height + 10;
    const Art& push = Find(art, p + "_BUTTON");
    for (int i = 0; i < 3; ++i)
        Put(out, ComposeNinePart(Frame(push, i), 80, 25), 10 + i * 90, y, 1, true);
    DrawText5x7(out, 10 + 40 - TextWidth5x7("OK") / 2, y + 9, "OK", 0);
    y += 35;
    const Art& check = Find(art, p + "_CHECKBOX");
    const Art& radio = Find(art, p + "_RADIOBUTTON");
    for (int i = 0; i < 4; ++i) {
        Put(out, Frame(check, i), 10 + i * 24, y, 1, false);
        Put(out, Frame(radio, i), 120 + i * 24, y, 1, true);
    }
    const Art& more = Find(art, f.scrollButton);
    for (int i = 0; i < 4; ++i)
        Put(out, Frame(more, i), 230 + i * 22, y, 1, true);
    y += 28;
    const Art& tab = Find(art, p + "_TAB");
    const Bitmap& line = Find(art, p + "_TAB_LINE").bitmap;
    const int hi = tab.bitmap.height;
    for (int yy = 0; yy < line.height; ++yy)
        for (int xx = 10; xx < kW - 10; ++xx)
            out.At(xx, y + hi + yy) =
                line.At(std::min(line.width - 1, (xx - 10) * line.width / (kW - 20)), yy);
    Put(out, ThreePart(Frame(tab, 1), 70), 10 + 70, y, 1, true);
    Put(out, ThreePart(Frame(tab, 1), 70), 10 + 140, y, 1, true);
    Put(out, ThreePart(Frame(tab, 0), 70), 10, y + 1, 1, true);
    return out;
}

} // namespace

Bitmap ContactSheet(const std::vector<Art>& art, const std::vector<IconImage>& icon) {
    constexpr int kWidth = 1500, kPad = 14;
    struct Placed {
        const Art* art;
        int x, y, scale;
    };
    std::vector<Placed> placed;
    // Each style put together first, two to a row at twice the size.
    std::vector<Bitmap> previews;
    for (const StyleFacts& f : kFacts)
        previews.push_back(StylePreview(art, f));
    const int previewRows = (static_cast<int>(previews.size()) + 1) / 2;
    int previewBottom = kPad + 30;
    for (int r = 0; r < previewRows; ++r) {
        int h = 0;
        for (int c = 0; c < 2 && r * 2 + c < static_cast<int>(previews.size()); ++c)
            h = std::max(h, previews[r * 2 + c].height * 2);
        previewBottom += h + kPad;
    }
    int x = kPad, y = previewBottom + 20, rowH = 0;
    for (const Art& a : art) {
        const int scale = std::max(a.bitmap.width, a.bitmap.height) <= 64 ? 3 : 2;
        const int w = std::max(a.bitmap.width * scale, TextWidth5x7(a.name + " 000x000"));
        const int h = a.bitmap.height * scale + 12;
        if (x + w > kWidth - kPad) {
            x = kPad;
            y += rowH + kPad;
            rowH = 0;
        }
        placed.push_back({&a, x, y, scale});
        x += w + kPad;
        rowH = std::max(rowH, h);
    }
    const int iconTop = y + rowH + kPad + 10;
    Bitmap sheet = Blank(kWidth, iconTop + 48 * 2 + 30, 0xFAFAFA);
    DrawText5x7(sheet, kPad, kPad,
                "LANAN ARTWORK - BITMAPS AT x2 AND x3 - KEY COLOUR SHOWN AS CHECKERS", kInk, 2);
    int py = kPad + 30;
    for (std::size_t i = 0; i < previews.size(); i += 2) {
        int h = 0;
        for (std::size_t c = 0; c < 2 && i + c < previews.size(); ++c) {
            Put(sheet, previews[i + c], kPad + static_cast<int>(c) * (previews[i].width * 2 + kPad),
                py, 2, false);
            h = std::max(h, previews[i + c].height * 2);
        }
        py += h + kPad;
    }
    for (const Placed& p : placed) {
        const Bitmap& b = p.art->bitmap;
        std::string label =
            p.art->name + " " + std::to_string(b.width) + "x" + std::to_string(b.height);
        DrawText5x7(sheet, p.x, p.y, label, kInk);
        const int top = p.y + 10;
        for (int yy = 0; yy < b.height * p.scale; ++yy)
            for (int xx = 0; xx < b.width * p.scale; ++xx)
                sheet.At(p.x + xx, top + yy) = Checker(xx, yy);
        Put(sheet, b, p.x, top, p.scale, true);
        // Frame boundaries as small ticks under the picture.
        const int fw = b.width / p.art->frames;
        for (int f = 1; f < p.art->frames; ++f)
            for (int t = 0; t < 2; ++t)
                sheet.At(p.x + f * fw * p.scale, top + b.height * p.scale + t) = 0xD03030;
    }
    DrawText5x7(sheet, kPad, iconTop, "MAINICON 16 32 48 x2", kInk);
    int ix = kPad;
    for (const IconImage& img : icon) {
        for (int yy = 0; yy < img.size * 2; ++yy)
            for (int xx = 0; xx < img.size * 2; ++xx) {
                std::uint32_t v = img.argb[static_cast<std::size_t>(yy / 2) * img.size + xx / 2];
                std::uint32_t a = v >> 24, g = Checker(xx, yy);
                auto ch = [&](int s) {
                    return (((v >> s) & 0xFF) * a + ((g >> s) & 0xFF) * (255 - a)) / 255;
                };
                sheet.At(ix + xx, iconTop + 12 + yy) = (ch(16) << 16) | (ch(8) << 8) | ch(0);
            }
        ix += img.size * 2 + kPad;
    }
    return sheet;
}

Bitmap BlueGlassMock(const std::vector<Art>& art) {
    constexpr int kW = 500, kH = 230;
    Bitmap win = Blank(kW, kH, 0xE7E7E7);
    const Bitmap bar = ComposeTitleBar(Find(art, "BLUEGLASS_TITLE_LEFT").bitmap,
                                       Find(art, "BLUEGLASS_TITLE_CLIENT").bitmap,
                                       Find(art, "BLUEGLASS_TITLE_RIGHT").bitmap, kW - 2);
    Put(win, bar, 1, 0, 1, false);
    // Border, then the buttons where the title bar puts them.
    for (int y = 0; y < kH; ++y) {
        win.At(0, y) = 0;
        win.At(kW - 1, y) = 0;
    }
    for (int x = 0; x < kW; ++x) {
        win.At(x, 0) = 0;
        win.At(x, kH - 1) = 0;
    }
    const Art& btn = Find(art, "BLUEGLASS_TITLEBTN");
    const int w = kW - 2;
    Put(win, Frame(btn, 15), 1 + w - 22, 6, 1, true); // close
    Put(win, Frame(btn, 7), 1 + w - 42, 6, 1, true);  // maximise, hot
    Put(win, Frame(btn, 12), 1 + w - 62, 6, 1, true); // minimise
    Put(win, Frame(btn, 0), 1 + 4, 6, 1, true);       // control box
    DrawText5x7(win, 1 + 28, 13, "LANAN LOAN CALCULATOR V1.0", 0xFFFFFF);
    // Rounded top corners, the window region's r = 11 ellipse.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            float dx = 5.5f - x, dy = 5.5f - y;
            if (dx * dx + dy * dy > 5.5f * 5.5f) {
                win.At(x, y) = 0xFFFFFF;
                win.At(kW - 1 - x, y) = 0xFFFFFF;
            }
        }
    // Push buttons: the three states at their own size and one stretched.
    const Art& push = Find(art, "BLUEGLASS_BUTTON");
    for (int i = 0; i < 3; ++i)
        Put(win, Frame(push, i), 20 + i * 90, 50, 1, true);
    Put(win, ComposeNinePart(Frame(push, 0), 120, 30), 290, 48, 1, true);
    DrawText5x7(win, 290 + 60 - TextWidth5x7("OK") / 2, 48 + 12, "OK", 0);
    // Check boxes and radio buttons in all four states.
    const Art& check = Find(art, "BLUEGLASS_CHECKBOX");
    const Art& radio = Find(art, "BLUEGLASS_RADIOBUTTON");
    for (int i = 0; i < 4; ++i) {
        Put(win, Frame(check, i), 20 + i * 40, 100, 1, true);
        Put(win, Frame(radio, i), 200 + i * 40, 100, 1, true);
    }
    // A tab strip: active and inactive tabs over the tab line.
    const Art& tab = Find(art, "BLUEGLASS_TAB");
    const Bitmap& line = Find(art, "BLUEGLASS_TAB_LINE").bitmap;
    const int stripTop = 130, hi = tab.bitmap.height;
    for (int y = 0; y < line.height; ++y)
        for (int x = 20; x < 360; ++x)
            win.At(x, stripTop + hi + y) =
                line.At(std::min(line.width - 1, (x - 20) * line.width / 340), y);
    Put(win, ThreePart(Frame(tab, 1), 70), 20 + 70, stripTop, 1, true);
    Put(win, ThreePart(Frame(tab, 1), 70), 20 + 140, stripTop, 1, true);
    Put(win, ThreePart(Frame(tab, 0), 70), 20, stripTop + 1, 1, true);
    for (int y = stripTop + hi + line.height; y < stripTop + hi + line.height + 40; ++y) {
        win.At(20, y) = 0;
        win.At(359, y) = 0;
    }
    // A horizontal scroll bar: arrow buttons rotated left, thumb in between.
    const Art& arrows = Find(art, "BLUEGLASS_SCROLLBAR_BUTTON");
    const Art& thumb = Find(art, "BLUEGLASS_SCROLLBAR_TRACK");
    const int sy = 200;
    for (int x = 20; x < 240; ++x)
        for (int y = 0; y < 16; ++y)
            win.At(x, sy + y) = 0xF4F4F4;
    auto rotateLeft = [](const Bitmap& b) {
        Bitmap r{b.height, b.width, {}};
        r.pixels.resize(b.pixels.size());
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                r.At(y, b.width - 1 - x) = b.At(x, y);
        return r;
    };
    Put(win, rotateLeft(Frame(arrows, 0)), 20, sy, 1, true);
    Put(win, rotateLeft(Frame(arrows, 4)), 240 - 16, sy, 1, true);
    const Bitmap t0 = Frame(thumb, 0), t1 = Frame(thumb, 1), t2 = Frame(thumb, 2);
    Put(win, t0, 70, sy, 1, false);
    for (int x = 70 + t0.width; x < 140 - t2.width; ++x)
        Put(win, t1, x, sy, 1, false);
    Put(win, t2, 140 - t2.width, sy, 1, false);

    Bitmap big = Blank(kW * 2, kH * 2, 0);
    Put(big, win, 0, 0, 2, false);
    return big;
}

} // namespace artgen
