// The five built-in styles. Every title bar piece is drawn from one row
// gradient, so the left, client and right pieces join without a seam, and
// every stretchable middle row and column is kept uniform.
#include "tools/artgen/Painters.h"
#include "tools/artgen/Styles.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr TitleGlyph kTitleKinds[] = {TitleGlyph::ControlBox, TitleGlyph::Help, TitleGlyph::Max,
                                      TitleGlyph::Restore,    TitleGlyph::Min,  TitleGlyph::Close};
constexpr State kStates[] = {State::Normal, State::Hot, State::Pressed};

using TitleButtonPainter = std::function<void(Image&, TitleGlyph, State)>;

// Eighteen frames: three states of six kinds. Opaque styles bake the title
// bar rows the buttons sit on into the frame; transparent ones mask the rest.
Bitmap TitleButtons(int n, const RowPaint& titleRows, int top, bool masked,
                    const TitleButtonPainter& paint) {
    std::vector<Bitmap> frames;
    Image under(n, n);
    under.FillAll([&](float, float y) { return titleRows(y + top); });
    for (TitleGlyph g : kTitleKinds)
        for (State s : kStates) {
            Image img(n, n);
            paint(img, g, s);
            frames.push_back(Flatten(img, under, masked));
        }
    return Strip(frames);
}

struct TitlePieces {
    Bitmap left, client, right;
};

using Decoration = std::function<void(Image&)>;

TitlePieces TitleBar(int leftW, int clientW, int rightW, int h, const RowPaint& rows,
                     const Decoration& decorateLeft = {}, const Decoration& decorateRight = {}) {
    auto piece = [&](int w, const Decoration& deco) {
        Image img(w, h);
        img.FillAll(FromRows(rows));
        if (deco) deco(img);
        return Flatten(img, Hex(0), false);
    };
    return {piece(leftW, decorateLeft), piece(clientW, {}), piece(rightW, decorateRight)};
}

// A soft light whose strength falls off smoothly to nothing at its radii.
Paint Glow(float cx, float cy, float rx, float ry, Rgba c) {
    return [=](float x, float y) {
        float dx = (x - cx) / rx, dy = (y - cy) / ry;
        float d2 = dx * dx + dy * dy;
        float k = d2 >= 1 ? 0.0f : (1 - d2) * (1 - d2);
        return WithAlpha(c, c.a * k);
    };
}

void PushButtonFrames(std::vector<Art>& out, const std::string& name, int fw, int h,
                      const Palette& p, float radius, float glossEnd, bool masked,
                      const std::function<Face(State)>& faceOf) {
    // The highlight ends above the middle row so the row that stretches is
    // one flat colour; the lower gradient starts below it for the same reason.
    std::vector<Bitmap> frames;
    const int mid = h / 2;
    for (State s : kStates) {
        Image img(fw, h);
        Sdf shape = RoundRect(0, 0, fw, h, radius);
        Face f = faceOf(s);
        // Light upper half, a clear step, a flat middle, and a faint glow
        // rising again towards the bottom edge.
        img.Fill(shape, FromRows(Rows({{0, f.top},
                                       {glossEnd, Mix(f.top, f.bottom, 0.3f)},
                                       {glossEnd + 0.01f, f.bottom},
                                       {mid + 2.0f, f.bottom},
                                       {h - 2.0f, Mix(f.top, f.bottom, 0.55f)}})));
        if (p.gloss > 0)
            img.Fill(
                Intersect(RoundRect(1, 1, fw - 1, h, radius - 1), Rect(0, 1, fw, glossEnd + 1)),
                VGradient(1, glossEnd + 1,
                          {{0.0f, Hex(0xFFFFFF, 0.7f * p.gloss)},
                           {1.0f, Hex(0xFFFFFF, 0.2f * p.gloss)}}));
        img.Fill(InnerBand(RoundRect(1, 1, fw - 1, h - 1, radius - 1), 1.0f),
                 s == State::Pressed ? Hex(0x000000, 0.08f) : Hex(0xFFFFFF, 0.45f));
        img.Fill(InnerBand(shape, 1.0f), f.border);
        frames.push_back(Flatten(img, p.back, masked));
    }
    out.push_back({name, Strip(frames), 3});
}

void ControlSet(std::vector<Art>& out, const std::string& prefix, const Palette& p, int checkW,
                int checkH, int checkBox, int radioW, int radioH, int radioBox) {
    out.push_back({prefix + "_CHECKBOX", Strip(FourStates([&](bool c, bool e) {
                       return CheckBoxFrame(p, checkW, checkH, checkBox, c, e, false);
                   })),
                   4});
    out.push_back({prefix + "_RADIOBUTTON", Strip(FourStates([&](bool c, bool e) {
                       return RadioFrame(p, radioW, radioH, radioBox, c, e);
                   })),
                   4});
}

void ScrollSet(std::vector<Art>& out, const std::string& prefix, const Palette& p, int bw, int bh,
               int piece, int ph) {
    std::vector<Bitmap> arrows;
    for (bool up : {true, false})
        for (State s : kStates)
            arrows.push_back(ScrollArrowFrame(p, bw, bh, up, s));
    out.push_back({prefix + "_SCROLLBAR_BUTTON", Strip(arrows), 6});
    out.push_back({prefix + "_SCROLLBAR_TRACK", Strip(ThumbPieces(p, piece, ph)), 3});
}

void MoreButtons(std::vector<Art>& out, const std::string& name, const Palette& p, int w, int h) {
    out.push_back(
        {name,
         Strip({MoreScrollButton(p, w, h, true, false), MoreScrollButton(p, w, h, true, true),
                MoreScrollButton(p, w, h, false, false), MoreScrollButton(p, w, h, false, true)}),
         4});
}

void TabSet(std::vector<Art>& out, const std::string& prefix, const Palette& p, int fw, int h,
            int lineW, int lineH, Rgba activeBottom) {
    out.push_back(
        {prefix + "_TAB",
         Strip({TabFrame(p, fw, h, true, activeBottom), TabFrame(p, fw, h, false, activeBottom)}),
         2});
    out.push_back({prefix + "_TAB_LINE", TabLine(p, lineW, lineH, activeBottom), 1});
}

void MiscSet(std::vector<Art>& out, const std::string& prefix, const Palette& p, Rgba accent,
             int progW, int progH, int barW, int barH, int sliderW, int sliderH, int vW, int vH,
             int listW, int listH, int handleW, int handleH, int sideW, int sideH) {
    out.push_back({prefix + "_PROGRESSBAR", ProgressBar(p, accent, progW, progH), 1});
    out.push_back({prefix + "_TRACKBAR_BAR", TrackBar(p, barW, barH), 1});
    out.push_back({prefix + "_TRACKBAR_SLIDER", TrackSlider(p, sliderW, sliderH, false), 1});
    out.push_back({prefix + "_TRACKBAR_SLIDER_V", TrackSlider(p, vW, vH, true), 1});
    const int fw = listW / 4;
    out.push_back({prefix + "_CHECKLIST", Strip(FourStates([&](bool c, bool e) {
                       return CheckBoxFrame(p, fw, listH, std::min(fw, listH) - 1, c, e, false);
                   })),
                   4});
    out.push_back({prefix + "_SIDECHENNEL_HANDLE", SideHandle(p, handleW, handleH), 1});
    out.push_back({prefix + "_SIDECHENNEL_BAR", SideBar(p, sideW, sideH), 1});
}

void AddTitle(std::vector<Art>& out, const std::string& prefix, TitlePieces t) {
    out.push_back({prefix + "_TITLE_LEFT", std::move(t.left), 1});
    out.push_back({prefix + "_TITLE_CLIENT", std::move(t.client), 1});
    out.push_back({prefix + "_TITLE_RIGHT", std::move(t.right), 1});
}

// ---------------------------------------------------------------- BlueGlass

RowPaint BlueGlassTitleRows() {
    return Rows({{0, Hex(0x2A5C9E)},
                 {1, Hex(0xB4D3F6)},
                 {2, Hex(0x8DBDF0)},
                 {15, Hex(0x5897E2)},
                 {16, Hex(0x2D68BE)},
                 {22, Hex(0x2C66BC)},
                 {30, Hex(0x4486D8)},
                 {31, Hex(0x6FA5E6)},
                 {32, Hex(0x183A6E)}});
}

Palette BlueGlassPalette() {
    Palette p;
    p.back = Hex(0xE7E7E7);
    p.scrollBack = Hex(0xF4F4F4);
    p.normal = {Hex(0xFBFDFF), Hex(0xD5E4F6), Hex(0x6E8FBC)};
    p.hot = {Hex(0xE9F5FE), Hex(0x9CCBF2), Hex(0x3C7FB1)};
    p.pressed = {Hex(0xB5D3F2), Hex(0x86B5E6), Hex(0x2C5F93)};
    p.disabled = {Hex(0xF4F4F4), Hex(0xE6E6E6), Hex(0xADB2B5)};
    p.mark = Hex(0x1D4F91);
    p.markDisabled = Hex(0xA0A6AC);
    p.radius = 2.5f;
    p.gloss = 0.6f;
    return p;
}

void BlueGlass(std::vector<Art>& out) {
    const std::string s = "BLUEGLASS";
    const Palette p = BlueGlassPalette();
    const RowPaint rows = BlueGlassTitleRows();

    PushButtonFrames(out, s + "_BUTTON", 77, 27, p, 5.0f, 11.0f, true, [&](State st) {
        return st == State::Normal ? Face{Hex(0xF7FAFE), Hex(0xC7DBF3), Hex(0x5D7FAF)}
               : st == State::Hot  ? Face{Hex(0xEAF6FE), Hex(0x9ACCF3), Hex(0x3C7FB1)}
                                   : Face{Hex(0xC4DDF4), Hex(0x7FB3E4), Hex(0x2C5F93)};
    });
    ControlSet(out, s, p, 13, 13, 13, 13, 13, 13);

    out.push_back(
        {s + "_TITLEBTN",
         TitleButtons(19, rows, 6, true,
                      [&rows](Image& img, TitleGlyph g, State st) {
                          const bool close = g == TitleGlyph::Close;
                          Sdf shape = RoundRect(0, 0, 19, 19, 4.5f);
                          // The title bar itself inside the shape, so the
                          // clear glass of the normal state is not masked away.
                          img.Fill(shape, [&rows](float, float y) { return rows(y + 6); });
                          Face f;
                          if (st == State::Normal)
                              f = {Hex(0xFFFFFF, 0.22f), Hex(0xFFFFFF, 0.04f), Hex(0x12356A, 0.8f)};
                          else if (close)
                              f = st == State::Hot
                                      ? Face{Hex(0xF08A78), Hex(0xC7301C), Hex(0x6E1208)}
                                      : Face{Hex(0xB8321F), Hex(0x8E1C0E), Hex(0x5A0C04)};
                          else
                              f = st == State::Hot
                                      ? Face{Hex(0x9FD0FA), Hex(0x3F88DC), Hex(0x12356A)}
                                      : Face{Hex(0x2D62AE), Hex(0x1D4A8C), Hex(0x0C2550)};
                          img.Fill(shape, VGradient(0, 19, {{0.0f, f.top}, {1.0f, f.bottom}}));
                          if (st != State::Pressed)
                              img.Fill(Intersect(RoundRect(1, 1, 18, 18, 3.5f), Rect(0, 0, 19, 9)),
                                       VGradient(1, 9,
                                                 {{0.0f, Hex(0xFFFFFF, 0.55f)},
                                                  {1.0f, Hex(0xFFFFFF, 0.12f)}}));
                          img.Fill(InnerBand(RoundRect(1, 1, 18, 18, 3.5f), 1.0f),
                                   Hex(0xFFFFFF, st == State::Pressed ? 0.15f : 0.45f));
                          img.Fill(InnerBand(shape, 1.0f), f.border);
                          const float off = st == State::Pressed ? 1.0f : 0.0f;
                          DrawTitleGlyph(img, g, 19, off, off + 1, Hex(0x0B2A5A, 0.4f));
                          DrawTitleGlyph(img, g, 19, off, off, Hex(0xFFFFFF));
                      }),
         18});

    AddTitle(out, s,
             TitleBar(
                 162, 179, 101, 33, rows,
                 [](Image& img) {
                     // A little light behind the system-menu leaf and the caption.
                     img.Fill(Rect(0, 1, 162, 32), Glow(20, 6, 120, 16, Hex(0xFFFFFF, 0.28f)));
                     img.Fill(Rect(0, 1, 1, 32), Hex(0xFFFFFF, 0.35f));
                 },
                 [](Image& img) { img.Fill(Rect(100, 1, 101, 32), Hex(0xFFFFFF, 0.35f)); }));

    ScrollSet(out, s, p, 17, 16, 7, 16);
    MoreButtons(out, "MORE_SCROLLBUTTON", p, 18, 17);
    TabSet(out, s, p, 9, 17, 10, 5, Hex(0xF3F7FC));
    MiscSet(out, s, p, Hex(0x3C82D6), 1, 10, 45, 4, 11, 20, 18, 11, 44, 11, 8, 86, 1, 21);
}

// ---------------------------------------------------------------- MacOS

void MacOS(std::vector<Art>& out) {
    const std::string s = "MACOS";
    Palette p;
    p.back = Hex(0xE7E7E7);
    p.scrollBack = Hex(0xC9C9C9);
    p.normal = {Hex(0xFFFFFF), Hex(0xD6D6D6), Hex(0x8A8A8A)};
    p.hot = {Hex(0xB8DBFB), Hex(0x4F97E3), Hex(0x3A6CA8)};
    p.pressed = {Hex(0x7FB3EE), Hex(0x2E6FC4), Hex(0x24508A)};
    p.disabled = {Hex(0xF4F4F4), Hex(0xE4E4E4), Hex(0xB4B4B4)};
    p.mark = Hex(0x1A1A1A);
    p.markDisabled = Hex(0xA8A8A8);
    p.checkedTop = Hex(0xC2E0FC);
    p.checkedBottom = Hex(0x4C93E0);
    p.checkedGel = true;
    p.radius = 3.0f;
    p.gloss = 0.8f;

    // Aqua pill buttons; the radius stops short of the two middle rows, which
    // the skin stretches.
    PushButtonFrames(out, s + "_BUTTON", 84, 23, p, 10.0f, 9.0f, true, [&](State st) {
        return st == State::Normal ? Face{Hex(0xFFFFFF), Hex(0xD9D9D9), Hex(0x8C8C8C)}
               : st == State::Hot  ? Face{Hex(0xCDE6FC), Hex(0x5CA2EA), Hex(0x3A6CA8)}
                                   : Face{Hex(0x8EBDF0), Hex(0x2C6DC2), Hex(0x234E87)};
    });
    ControlSet(out, s, p, 15, 17, 14, 16, 17, 15);

    // Pinstriped light grey, black caption.
    const RowPaint base =
        Rows({{0, Hex(0xA8A8A8)}, {1, Hex(0xFBFBFB)}, {21, Hex(0xCFCFCF)}, {22, Hex(0x8E8E8E)}});
    const RowPaint rows = [base](float y) {
        Rgba c = base(y);
        int r = static_cast<int>(y);
        return (r >= 1 && r <= 21 && r % 2 == 0) ? Darken(c, 0.035f) : c;
    };
    out.push_back(
        {s + "_TITLEBTN",
         TitleButtons(
             17, rows, 4, false,
             [](Image& img, TitleGlyph g, State st) {
                 // Gel lights: red close, amber minimise, green zoom, graphite others.
                 std::uint32_t hue = g == TitleGlyph::Close ? 0xE0443A
                                     : g == TitleGlyph::Min ? 0xE8A317
                                     : (g == TitleGlyph::Max || g == TitleGlyph::Restore)
                                         ? 0x3DA83A
                                         : 0x8C96A3;
                 Rgba c = Hex(hue);
                 if (st == State::Pressed) c = Darken(c, 0.3f);
                 Sdf shape = Circle(8.5f, 8.5f, 7.0f);
                 img.Fill(Circle(8.5f, 9.0f, 7.5f), Hex(0x000000, 0.18f));
                 img.Fill(shape, VGradient(1.5f, 15.5f,
                                           {{0.0f, Darken(c, 0.25f)}, {1.0f, Lighten(c, 0.45f)}}));
                 img.Fill(Ellipse(8.5f, 5.2f, 4.6f, 2.9f),
                          VGradient(2.3f, 8.1f,
                                    {{0.0f, Hex(0xFFFFFF, 0.85f)}, {1.0f, Hex(0xFFFFFF, 0.1f)}}));
                 img.Fill(InnerBand(shape, 1.0f), Darken(c, 0.45f));
                 // The symbol shows faintly until the mouse comes near, as on the Mac.
                 DrawTitleGlyph(img, g, 13, 2, 2, Hex(0x000000, st == State::Normal ? 0.18f : 0.6f),
                                1.2f);
             }),
         18});
    AddTitle(out, s, TitleBar(48, 49, 48, 23, rows));

    ScrollSet(out, s, p, 16, 22, 11, 16);
    MoreButtons(out, "MACOS_SCROLLBUTTON", p, 18, 18);
    TabSet(out, s, p, 18, 27, 17, 7, Hex(0xE9EEF5));
    MiscSet(out, s, p, Hex(0x3D86E0), 13, 10, 45, 5, 11, 20, 19, 11, 40, 11, 7, 84, 1, 21);

    out.push_back({"MACOS_MENU_BAR",
                   Background(1, 22, FromRows(Rows({{0, Hex(0xFBFBFB)}, {21, Hex(0xE8E8E8)}}))),
                   1});
    out.push_back({"MACOS_MENU_SELECT",
                   Background(1, 21,
                              FromRows(Rows({{0, Hex(0x6FA9F0)},
                                             {9, Hex(0x3E82E2)},
                                             {10, Hex(0x2C6FD6)},
                                             {20, Hex(0x3B84E4)}}))),
                   1});
    out.push_back({"MACOS_FORM_BACKGROUND",
                   Background(8, 8,
                              [](float, float y) {
                                  return static_cast<int>(y) % 2 == 0 ? Hex(0xEEEEEE)
                                                                      : Hex(0xE4E4E4);
                              }),
                   1});
    {
        Image img(16, 17);
        Sdf shape = RoundRect(0, 0, 16, 17, 3.0f);
        GlassFace(img, shape, 0, 17, p.hot, 0.8f, 8.5f);
        DrawArrow(img, 8, 6.0f, 6, 0, Hex(0xFFFFFF));
        DrawArrow(img, 8, 11.0f, 6, 2, Hex(0xFFFFFF));
        out.push_back({"MACOS_COMBOBOX_BUTTON", Flatten(img, p.back, false), 1});
    }
}

// ---------------------------------------------------------------- WinXP

void WinXP(std::vector<Art>& out) {
    const std::string s = "WINXP";
    Palette p;
    p.back = Hex(0xEFEBDE);
    p.scrollBack = Hex(0xF9F9F9);
    p.normal = {Hex(0xFFFFFF), Hex(0xE2E1D8), Hex(0x1C5180)};
    p.hot = {Hex(0xFFF6DC), Hex(0xF9C25A), Hex(0xC08C2C)};
    p.pressed = {Hex(0xDCDBD3), Hex(0xF2F1EA), Hex(0x1C5180)};
    p.disabled = {Hex(0xF6F5F1), Hex(0xF6F5F1), Hex(0xC9C7BA)};
    p.mark = Hex(0x21A121);
    p.markDisabled = Hex(0xBEBCAE);
    p.radius = 1.0f;
    p.gloss = 0.0f;

    {
        // Luna push button: dark blue rim, white face shading down to beige,
        // an amber inner ring when hot.
        std::vector<Bitmap> frames;
        for (State st : kStates) {
            Image img(18, 21);
            Sdf shape = RoundRect(0, 0, 18, 21, 3.0f);
            Face f = st == State::Pressed ? Face{Hex(0xCFCDC4), Hex(0xF1F0EA), Hex(0x003C74)}
                                          : Face{Hex(0xFFFFFF), Hex(0xF0EFE9), Hex(0x003C74)};
            img.Fill(shape,
                     FromRows(Rows({{0, f.top},
                                    {9, f.bottom},
                                    {12, f.bottom},
                                    {19, st == State::Pressed ? f.bottom : Hex(0xD6D0C5)}})));
            if (st == State::Hot) {
                img.Fill(InnerBand(RoundRect(1, 1, 17, 20, 2.0f), 2.0f),
                         FromRows(Rows({{1, Hex(0xFFF0CF)},
                                        {8, Hex(0xFCD57E)},
                                        {13, Hex(0xFCD57E)},
                                        {19, Hex(0xE5A01A)}})));
            }
            img.Fill(InnerBand(shape, 1.0f), f.border);
            frames.push_back(Flatten(img, p.back, false));
        }
        out.push_back({s + "_BUTTON", Strip(frames), 3});
    }
    ControlSet(out, s, p, 13, 13, 13, 13, 13, 13);

    // Luna: a bright rim under the top edge, a deep middle that lifts a
    // little towards the bottom, and a dark last row.
    const RowPaint rows = Rows({{0, Hex(0x0831D9)},
                                {1, Hex(0x5AA6FF)},
                                {2, Hex(0x3D8FFC)},
                                {4, Hex(0x1C6CF2)},
                                {7, Hex(0x0A5BE6)},
                                {16, Hex(0x0055E5)},
                                {24, Hex(0x0B62EE)},
                                {26, Hex(0x0A57E0)},
                                {27, Hex(0x0443C2)},
                                {28, Hex(0x0031A8)}});
    out.push_back({s + "_TITLEBTN",
                   TitleButtons(21, rows, 5, false,
                                [](Image& img, TitleGlyph g, State st) {
                                    const bool close = g == TitleGlyph::Close;
                                    Rgba a = close ? Hex(0xE37A5D) : Hex(0x5C93FC),
                                         b = close ? Hex(0xC2350F) : Hex(0x2661E3);
                                    if (st == State::Hot) {
                                        a = Lighten(a, 0.25f);
                                        b = Lighten(b, 0.2f);
                                    } else if (st == State::Pressed) {
                                        a = Darken(a, 0.3f);
                                        b = Darken(b, 0.25f);
                                    }
                                    Sdf shape = RoundRect(0, 0, 21, 21, 3.0f);
                                    img.Fill(shape, Solid(Hex(0xFFFFFF)));
                                    Sdf inner = RoundRect(1, 1, 20, 20, 2.0f);
                                    img.Fill(inner, VGradient(1, 20, {{0.0f, a}, {1.0f, b}}));
                                    img.Fill(Circle(6, 6, 9),
                                             Hex(0xFFFFFF, st == State::Pressed ? 0.05f : 0.18f));
                                    img.Fill(InnerBand(inner, 1.0f), Hex(0xFFFFFF, 0.2f));
                                    const float off = st == State::Pressed ? 1.0f : 0.0f;
                                    DrawTitleGlyph(img, g, 21, off, off, Hex(0xFFFFFF), 1.3f);
                                }),
                   18});
    AddTitle(out, s,
             TitleBar(
                 35, 37, 35, 29, rows,
                 [](Image& img) { img.Fill(Rect(0, 1, 1, 28), Hex(0xFFFFFF, 0.25f)); },
                 [](Image& img) { img.Fill(Rect(34, 1, 35, 28), Hex(0x001E7A, 0.5f)); }));

    {
        // Luna scroll bars: pale blue buttons and thumb.
        Palette sp = p;
        sp.normal = {Hex(0xE3ECFD), Hex(0xB8CDF7), Hex(0xB3C8F5)};
        sp.hot = {Hex(0xEEF4FF), Hex(0xC8DAFC), Hex(0x98B1E8)};
        sp.pressed = {Hex(0xA9C1F2), Hex(0xC2D3F8), Hex(0x7E9ED8)};
        sp.mark = Hex(0x4D6185);
        sp.radius = 2.0f;
        ScrollSet(out, s, sp, 16, 17, 7, 16);
        MoreButtons(out, "WINXP_SCROLLBUTTON", sp, 18, 18);
        Image img(16, 18);
        Sdf shape = RoundRect(0, 0, 16, 18, 2.0f);
        img.Fill(shape, VGradient(0, 18, {{0.0f, Hex(0xE1EAFE)}, {1.0f, Hex(0xB3C8F5)}}));
        img.Fill(InnerBand(shape, 1.0f), Hex(0xB9CBF3));
        img.Fill(Polyline({{4.5f, 7.0f}, {8.0f, 10.5f}, {11.5f, 7.0f}}, 1.0f), Hex(0x4D6185));
        out.push_back({"WINXP_COMBOBOX_BUTTON", Flatten(img, p.back, false), 1});
    }
    {
        // Luna tabs: white, with the amber top edge on the active one; the
        // line under the tabs is the page frame's grey-blue.
        auto tab = [&](bool active) {
            Image img(9, 18);
            Sdf shape = RoundRect(0, 0, 9, 22, 2.0f);
            img.Fill(shape, VGradient(0, 18,
                                      {{0.0f, Hex(0xFFFFFF)},
                                       {1.0f, active ? Hex(0xFCFCFE) : Hex(0xECEBE6)}}));
            img.Fill(InnerBand(shape, 1.0f), Hex(0x919B9C));
            if (active)
                img.Fill(Intersect(RoundRect(0, 0, 9, 22, 2.0f), Rect(0, 0, 9, 3)),
                         FromRows(Rows({{0, Hex(0xE68B2C)}, {2, Hex(0xFFC73C)}})));
            Bitmap b = Flatten(img, p.back, true);
            KeyTopCorners(b);
            return b;
        };
        out.push_back({s + "_TAB", Strip({tab(true), tab(false)}), 2});
        out.push_back({s + "_TAB_LINE", Background(8, 1, Solid(Hex(0x919B9C))), 1});
    }
    Palette mp = p;
    mp.normal = {Hex(0xFFFFFF), Hex(0xDCE6F4), Hex(0x7A8FA8)};
    mp.hot = {Hex(0xD9F0C7), Hex(0x8FBF5E), Hex(0x5E8A35)}; // olive accents
    mp.mark = Hex(0x5E6F2F);
    MiscSet(out, s, mp, Hex(0x2FB12F), 6, 10, 45, 8, 11, 21, 22, 11, 44, 11, 8, 86, 1, 21);
}

// ---------------------------------------------------------------- DeepBlue

void DeepBlue(std::vector<Art>& out) {
    const std::string s = "DEEPBLUE";
    Palette p;
    p.back = Hex(0xE8E8E8);
    p.scrollBack = Hex(0xF5F5F5);
    p.normal = {Hex(0xF4F7FC), Hex(0xC9D5EA), Hex(0x13295A)};
    p.hot = {Hex(0xE6EFFF), Hex(0xA9C3EE), Hex(0x1F4796)};
    p.pressed = {Hex(0x9FB5DC), Hex(0xC5D3EC), Hex(0x0B1C42)};
    p.disabled = {Hex(0xF2F2F2), Hex(0xE2E2E2), Hex(0xA5A9B2)};
    p.mark = Hex(0x0E2A66);
    p.markDisabled = Hex(0xA5A9B2);
    p.radius = 1.5f;
    p.gloss = 0.35f;

    PushButtonFrames(out, s + "_BUTTON", 74, 21, p, 2.5f, 8.0f, false, [&](State st) {
        return st == State::Normal ? p.normal : st == State::Hot ? p.hot : p.pressed;
    });
    ControlSet(out, s, p, 13, 13, 13, 13, 13, 13);

    const RowPaint rows = Rows({{0, Hex(0x050D22)},
                                {1, Hex(0x4767A6)},
                                {2, Hex(0x2A4A8A)},
                                {14, Hex(0x1A3670)},
                                {15, Hex(0x122A5C)},
                                {29, Hex(0x173468)},
                                {30, Hex(0x28497F)},
                                {31, Hex(0x060F26)}});
    out.push_back(
        {s + "_TITLEBTN",
         TitleButtons(
             19, rows, 2, false,
             [](Image& img, TitleGlyph g, State st) {
                 const bool close = g == TitleGlyph::Close;
                 Rgba fill = st == State::Normal ? Hex(0x1E3B74)
                             : st == State::Hot  ? (close ? Hex(0xB3323E) : Hex(0x30589F))
                                                 : (close ? Hex(0x7D1B24) : Hex(0x0D1F47));
                 Sdf shape = RoundRect(1, 1, 18, 18, 2.0f);
                 img.Fill(shape, VGradient(1, 18, {{0.0f, Lighten(fill, 0.18f)}, {1.0f, fill}}));
                 img.Fill(InnerBand(shape, 1.0f),
                          Hex(0x7F9CD4, st == State::Pressed ? 0.5f : 0.85f));
                 const float off = st == State::Pressed ? 1.0f : 0.0f;
                 DrawTitleGlyph(img, g, 19, off, off, Hex(0xE3EBFA));
             }),
         18});
    AddTitle(out, s, TitleBar(97, 98, 97, 32, rows, [](Image& img) {
                 // A faint diagonal sheen at the left end.
                 img.Fill(ConvexPolygon({{10, 1}, {40, 1}, {22, 31}, {-8, 31}}),
                          Glow(16, 16, 40, 30, Hex(0xFFFFFF, 0.12f)));
             }));

    ScrollSet(out, s, p, 16, 16, 7, 16);
    TabSet(out, s, p, 6, 17, 5, 5, Hex(0xF4F7FC));
    MiscSet(out, s, p, Hex(0x1E3F86), 1, 10, 45, 4, 11, 20, 18, 11, 44, 11, 8, 83, 1, 20);
}

// ---------------------------------------------------------------- Protein

void Protein(std::vector<Art>& out) {
    const std::string s = "PROTEIN";
    Palette p;
    p.back = Hex(0xFBFBFB);
    p.scrollBack = Hex(0xF5F5F5);
    p.normal = {Hex(0xFDFEFC), Hex(0xDCE4D6), Hex(0x7C9370)};
    p.hot = {Hex(0xF1FAEA), Hex(0xC3E0AE), Hex(0x5A8842)};
    p.pressed = {Hex(0xC0D4B2), Hex(0xE0EAD8), Hex(0x4E6F3E)};
    p.disabled = {Hex(0xF7F7F7), Hex(0xEBEBEB), Hex(0xB9BEB6)};
    p.mark = Hex(0x3F6B2A);
    p.markDisabled = Hex(0xB3B8B0);
    p.radius = 3.0f;
    p.gloss = 0.5f;

    PushButtonFrames(out, s + "_BUTTON", 74, 21, p, 5.0f, 8.0f, false, [&](State st) {
        return st == State::Normal ? p.normal : st == State::Hot ? p.hot : p.pressed;
    });
    ControlSet(out, s, p, 13, 13, 13, 13, 13, 13);

    // Sage green under a white caption.
    const RowPaint rows = Rows({{0, Hex(0x50683F)},
                                {1, Hex(0xB9CFA9)},
                                {2, Hex(0x9CB98A)},
                                {10, Hex(0x85A472)},
                                {11, Hex(0x708F5E)},
                                {20, Hex(0x7C9B69)},
                                {21, Hex(0x94B083)},
                                {22, Hex(0x4A5F3C)}});
    out.push_back(
        {s + "_TITLEBTN",
         TitleButtons(19, rows, 2, true,
                      [](Image& img, TitleGlyph g, State st) {
                          const bool close = g == TitleGlyph::Close;
                          Rgba c = st == State::Normal ? Hex(0xE9F1E3)
                                   : st == State::Hot  ? (close ? Hex(0xF4C7B8) : Hex(0xDDF5C9))
                                                       : (close ? Hex(0xC9735C) : Hex(0x9CC283));
                          Sdf shape = Circle(9.5f, 9.5f, 8.0f);
                          img.Fill(shape,
                                   VGradient(1.5f, 17.5f,
                                             {{0.0f, Lighten(c, 0.5f)}, {1.0f, Darken(c, 0.12f)}}));
                          img.Fill(Ellipse(9.5f, 6.0f, 5.5f, 3.2f), Hex(0xFFFFFF, 0.45f));
                          img.Fill(InnerBand(shape, 1.0f), Hex(0x4F6A3F));
                          const float off = st == State::Pressed ? 0.5f : 0.0f;
                          DrawTitleGlyph(img, g, 15, 2 + off, 2 + off, Hex(0x34492A), 1.1f);
                      }),
         18});
    AddTitle(out, s, TitleBar(441, 1, 1, 23, rows, [](Image& img) {
                 // A string of soft beads, fading out well before the join.
                 for (int i = 0; i < 9; ++i) {
                     float x = 150.0f + i * 24.0f, y = 11.5f + 4.0f * std::sin(i * 0.9f);
                     float fade = 1.0f - i / 9.0f;
                     img.Fill(Circle(x, y, 7.0f), Hex(0xFFFFFF, 0.06f * fade));
                 }
             }));

    ScrollSet(out, s, p, 16, 16, 7, 16);
    TabSet(out, s, p, 9, 17, 10, 5, Hex(0xF6F9F3));
    MiscSet(out, s, p, Hex(0x6FA34F), 1, 10, 45, 4, 11, 20, 18, 11, 44, 11, 8, 83, 1, 21);

    out.push_back({"PROTEIN_FORM_BACKGROUND",
                   Background(8, 8,
                              [](float x, float y) {
                                  int ix = static_cast<int>(x), iy = static_cast<int>(y);
                                  bool dot = (ix == 1 && iy == 1) || (ix == 5 && iy == 5);
                                  return dot ? Hex(0xEEF2EA) : Hex(0xFBFBFB);
                              }),
                   1});
}

} // namespace

void AddStyleArtwork(std::vector<Art>& out) {
    MacOS(out);
    WinXP(out);
    DeepBlue(out);
    Protein(out);
    BlueGlass(out);
}

} // namespace artgen
