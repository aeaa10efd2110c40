// Bitmaps loaded by fixed names, the tool-bar pictures and the program icon.
#include "tools/artgen/Styles.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

const Rgba kWindow = Hex(0xE7E7E7); // what the tool bar and dialogs show behind

Bitmap MenuChecked() {
    // Masked with white by the menus, so the ground is pure white and the
    // mark stays dark to its edges.
    Image img(16, 16);
    img.Fill(Polyline({{4.0f, 8.0f}, {6.8f, 10.8f}, {12.0f, 5.0f}}, 1.05f), Hex(0x101010));
    Bitmap b = Flatten(img, Hex(0xFFFFFF), false);
    for (auto& v : b.pixels)
        if (v != 0xFFFFFF && ((v >> 16) & 0xFF) > 0xE0)
            v = 0xFFFFFF; // faint fringe would show as a grey halo
    return b;
}

Bitmap StatusBarHandle() {
    // Six raised dots in the lower right triangle; the rest is the key
    // colour, read from the bottom-left pixel.
    Image img(11, 11);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col) {
            float x = 8.0f - 3.0f * (row - col), y = 2.0f + 3.0f * row;
            img.Fill(Rect(x + 1, y + 1, x + 3, y + 3), Hex(0xFFFFFF));
            img.Fill(Rect(x, y, x + 2, y + 2), Hex(0x8E8E8E));
        }
    return Flatten(img, kWindow, true);
}

void Shadowed(Image& img, const Sdf& shape, float dy, float alpha) {
    img.Fill(Shift(shape, 0, dy), Hex(0x000000, alpha));
}

Bitmap DialogIcon(int kind) {
    // 0 warning, 1 stop, 2 information, 3 question.
    Image img(42, 42);
    if (kind == 0) {
        Sdf tri = Intersect(ConvexPolygon({{21, 3.5f}, {39.5f, 36.5f}, {2.5f, 36.5f}}),
                            RoundRect(0, 0, 42, 42, 0));
        Sdf rounded = Union(Intersect(tri, Circle(21, 22, 30)), Circle(21, 6.5f, 0.1f));
        Shadowed(img, rounded, 1.5f, 0.2f);
        img.Fill(rounded, VGradient(4, 37, {{0.0f, Hex(0xFFE27A)}, {1.0f, Hex(0xF2A60D)}}));
        img.Fill(InnerBand(rounded, 1.2f), Hex(0xB07406));
        img.Fill(Capsule(21, 15, 21, 25, 2.2f), Hex(0x3A2A05));
        img.Fill(Circle(21, 31, 2.4f), Hex(0x3A2A05));
    } else {
        Sdf disc = Circle(21, 21, 18);
        Shadowed(img, disc, 1.5f, 0.2f);
        Rgba a = kind == 1 ? Hex(0xF0664F) : Hex(0x5DA2EC),
             b = kind == 1 ? Hex(0xB51E10) : Hex(0x1F5DB8);
        img.Fill(disc, VGradient(3, 39, {{0.0f, a}, {1.0f, b}}));
        img.Fill(Ellipse(21, 12, 13, 7.5f),
                 VGradient(4, 20, {{0.0f, Hex(0xFFFFFF, 0.6f)}, {1.0f, Hex(0xFFFFFF, 0.05f)}}));
        img.Fill(InnerBand(disc, 1.2f), Darken(b, 0.3f));
        const Rgba white = Hex(0xFFFFFF);
        if (kind == 1) {
            img.Fill(Union(Capsule(14, 14, 28, 28, 2.6f), Capsule(28, 14, 14, 28, 2.6f)), white);
        } else if (kind == 2) {
            img.Fill(Circle(21, 12.5f, 2.6f), white);
            img.Fill(Union(RoundRect(18.5f, 17, 23.5f, 31, 1), RoundRect(16, 29, 26, 32, 0.8f)),
                     white);
            img.Fill(RoundRect(16, 17, 23.5f, 20, 0.8f), white);
        } else {
            DrawTitleGlyph(img, TitleGlyph::Help, 42, 0, 0, white, 1.5f);
        }
    }
    return Flatten(img, kWindow, false);
}

// ----- tool-bar pictures, 32 x 32 on the key colour

Bitmap Calculator() {
    Image img(32, 32);
    Sdf body = RoundRect(6, 2, 26, 30, 3);
    Shadowed(img, body, 1, 0.25f);
    img.Fill(
        body,
        HGradient(6, 26, {{0.0f, Hex(0x5C6670)}, {0.5f, Hex(0x77828D)}, {1.0f, Hex(0x4E5760)}}));
    img.Fill(InnerBand(body, 1), Hex(0x2E353C));
    Sdf screen = RoundRect(9, 5, 23, 11, 1);
    img.Fill(screen, VGradient(5, 11, {{0.0f, Hex(0xD9F0D2)}, {1.0f, Hex(0xA9CFA0)}}));
    img.Fill(InnerBand(screen, 1), Hex(0x3B4A38));
    img.Fill(Rect(15, 7, 21, 8), Hex(0x2C3A2A)); // digits on the display
    img.Fill(Rect(19, 7, 21, 10), Hex(0x2C3A2A));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            float x = 9.0f + c * 5.0f, y = 14.0f + r * 4.0f;
            bool equals = (c == 2 && r == 3);
            Sdf key = RoundRect(x, y, x + 4, y + 3, 0.8f);
            img.Fill(key,
                     equals ? VGradient(y, y + 3, {{0.0f, Hex(0xFFB65C)}, {1.0f, Hex(0xE57A12)}})
                            : VGradient(y, y + 3, {{0.0f, Hex(0xFFFFFF)}, {1.0f, Hex(0xD5DADF)}}));
        }
    return Flatten(img, kWindow, true);
}

Bitmap Floppy() {
    Image img(32, 32);
    Sdf body = Subtract(RoundRect(4, 3, 28, 29, 2), ConvexPolygon({{24, 2}, {29, 2}, {29, 7}}));
    Shadowed(img, body, 1, 0.25f);
    img.Fill(body, VGradient(3, 29, {{0.0f, Hex(0x4A86D8)}, {1.0f, Hex(0x1F4F9C)}}));
    img.Fill(InnerBand(body, 1), Hex(0x163A73));
    Sdf shutter = RoundRect(9, 3, 22, 12, 1);
    img.Fill(shutter, VGradient(3, 12, {{0.0f, Hex(0xF2F4F6)}, {1.0f, Hex(0xB8C0C8)}}));
    img.Fill(Rect(17, 5, 20, 10), Hex(0x4D5966));
    Sdf label = RoundRect(8, 16, 24, 28, 1);
    img.Fill(label, Hex(0xFDFDFD));
    img.Fill(Rect(10, 19, 22, 20), Hex(0x9DB3CF));
    img.Fill(Rect(10, 22, 22, 23), Hex(0x9DB3CF));
    img.Fill(Rect(10, 25, 18, 26), Hex(0x9DB3CF));
    return Flatten(img, kWindow, true);
}

Bitmap SheetExport() {
    Image img(32, 32);
    Sdf sheet = RoundRect(3, 3, 23, 29, 1.5f);
    Shadowed(img, sheet, 1, 0.25f);
    img.Fill(sheet, Hex(0xFFFFFF));
    img.Fill(Rect(3, 3, 23, 8), VGradient(3, 8, {{0.0f, Hex(0x4CB06A)}, {1.0f, Hex(0x1F7A3F)}}));
    for (float y = 12; y < 29; y += 4)
        img.Fill(Rect(4, y, 22, y + 1), Hex(0xB7CDBE));
    for (float x = 9; x < 22; x += 6)
        img.Fill(Rect(x, 8, x + 1, 28), Hex(0xB7CDBE));
    img.Fill(InnerBand(sheet, 1), Hex(0x1E6B38));
    // The arrow leaves the sheet towards the lower right.
    Sdf shaft = Capsule(15, 20, 23.5f, 20, 2.2f);
    Sdf head = ConvexPolygon({{22, 13.5f}, {30, 20}, {22, 26.5f}});
    Sdf arrow = Union(shaft, head);
    img.Fill(Outline(arrow, 2.4f), Hex(0xFFFFFF));
    img.Fill(arrow, VGradient(13, 27, {{0.0f, Hex(0x4FB3F5)}, {1.0f, Hex(0x1565C0)}}));
    return Flatten(img, kWindow, true);
}

Bitmap Info() {
    Image img(32, 32);
    Sdf disc = Circle(16, 16, 13.5f);
    Shadowed(img, disc, 1, 0.25f);
    img.Fill(disc, VGradient(2, 30, {{0.0f, Hex(0x6DB0F2)}, {1.0f, Hex(0x1B56B0)}}));
    img.Fill(Ellipse(16, 9.5f, 10, 5.5f),
             VGradient(4, 15, {{0.0f, Hex(0xFFFFFF, 0.6f)}, {1.0f, Hex(0xFFFFFF, 0.05f)}}));
    img.Fill(InnerBand(disc, 1), Hex(0x123F85));
    img.Fill(Circle(16, 9.5f, 2.1f), Hex(0xFFFFFF));
    img.Fill(Union(RoundRect(14, 13, 18, 23.5f, 0.8f), RoundRect(12, 22, 20, 24.5f, 0.6f)),
             Hex(0xFFFFFF));
    img.Fill(RoundRect(12, 13, 18, 15.2f, 0.6f), Hex(0xFFFFFF));
    return Flatten(img, kWindow, true);
}

} // namespace

void AddExtraArtwork(std::vector<Art>& out) {
    out.push_back({"MENU_CHECKED", MenuChecked(), 1});
    out.push_back({"STATUSBAR_HANDLE", StatusBarHandle(), 1});
    out.push_back(
        {"MSGDLG", Strip({DialogIcon(0), DialogIcon(1), DialogIcon(2), DialogIcon(3)}), 4});
    out.push_back({"TB_JS", Calculator(), 1});
    out.push_back({"TB_CD", Floppy(), 1});
    out.push_back({"TB_DC", SheetExport(), 1});
    out.push_back({"TB_GY", Info(), 1});
}

std::vector<IconImage> BuildMainIcon() {
    // A house under a blue roof with a gold coin in front: a home loan.
    std::vector<IconImage> icons;
    for (int n : {16, 32, 48}) {
        const float k = n / 48.0f;
        Image img(n, n);
        auto P = [&](float x, float y) { return std::pair<float, float>{x * k, y * k}; };
        Sdf walls = Rect(9 * k, 22 * k, 35 * k, 43 * k);
        Sdf roof = ConvexPolygon({P(22, 4), P(42, 22), P(2, 22)});
        img.Fill(walls, VGradient(22 * k, 43 * k, {{0.0f, Hex(0xFFFFFF)}, {1.0f, Hex(0xDCE3EA)}}));
        img.Fill(InnerBand(walls, std::max(1.0f, 1.5f * k)), Hex(0x5B6B7C));
        img.Fill(Rect(18 * k, 30 * k, 26 * k, 43 * k), Hex(0x2F6BBE)); // door
        img.Fill(roof, VGradient(4 * k, 22 * k, {{0.0f, Hex(0x5DA2EC)}, {1.0f, Hex(0x1B4F9C)}}));
        img.Fill(InnerBand(roof, std::max(1.0f, 1.5f * k)), Hex(0x123A75));
        Sdf coin = Circle(36 * k, 36 * k, 11 * k);
        img.Fill(Shift(coin, 0, std::max(1.0f, k)), Hex(0x000000, 0.3f));
        img.Fill(coin, VGradient(25 * k, 47 * k, {{0.0f, Hex(0xFFE38A)}, {1.0f, Hex(0xE0A21A)}}));
        img.Fill(InnerBand(coin, std::max(1.0f, 1.6f * k)), Hex(0x9C6A06));
        if (n >= 32) {
            // The yuan sign.
            Rgba ink = Hex(0x7A5204);
            float w = 1.1f * k + 0.3f;
            img.Fill(Union(Union(Capsule(31.5f * k, 30 * k, 36 * k, 36 * k, w),
                                 Capsule(40.5f * k, 30 * k, 36 * k, 36 * k, w)),
                           Union(Capsule(36 * k, 36 * k, 36 * k, 43 * k, w),
                                 Union(Capsule(32 * k, 37 * k, 40 * k, 37 * k, w * 0.8f),
                                       Capsule(32 * k, 40 * k, 40 * k, 40 * k, w * 0.8f)))),
                     ink);
        }
        IconImage icon{n, {}};
        icon.argb.resize(static_cast<std::size_t>(n) * n);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const Image::Px& p = img.At(x, y);
                auto un = [&](float c) {
                    float v = p.a > 0 ? c / p.a : 0;
                    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
                };
                std::uint32_t a =
                    static_cast<std::uint32_t>(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255));
                icon.argb[static_cast<std::size_t>(y) * n + x] =
                    (a << 24) | (un(p.r) << 16) | (un(p.g) << 8) | un(p.b);
            }
        icons.push_back(std::move(icon));
    }
    return icons;
}

std::vector<Art> BuildArtwork() {
    std::vector<Art> out;
    AddStyleArtwork(out);
    AddExtraArtwork(out);
    return out;
}

} // namespace artgen
