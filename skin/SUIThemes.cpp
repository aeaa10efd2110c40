#include "skin/SUIThemes.h"

#include "skin/SUIFormFrame.h"

#include "framework/Utils.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

const TEnumInfo& UIStyleEnum() {
    static const TEnumInfo info{L"TsuiUIStyle",
                                {{L"FromThemeFile", 0},
                                 {L"MacOS", 1},
                                 {L"WinXP", 2},
                                 {L"DeepBlue", 3},
                                 {L"Protein", 4},
                                 {L"BlueGlass", 5}}};
    return info;
}

// ---------------------------------------------------------------------------
// Built-in bitmaps

namespace {

// The decoded pictures of one style, kept while some control shows it.
struct StyleArtwork {
    int users = 0;
    std::map<std::wstring, std::unique_ptr<TBitmap>, std::less<>> pictures;
};

struct ArtworkCache {
    std::array<StyleArtwork, 6> styles;
    int decodes = 0;
};

ArtworkCache& Artwork() {
    // Never destroyed: the application's forms, static too, leave their
    // styles after it would be gone; the process's end frees the pictures.
    static auto* cache = new ArtworkCache;
    return *cache;
}

StyleArtwork& ArtworkOf(TsuiUIStyle style) {
    return Artwork().styles.at(std::size_t(style));
}

void Decode(const std::wstring& name, TBitmap& into) {
    into.LoadFromResourceName(MainInstance(), name);
    ++Artwork().decodes;
}

} // namespace

void UseBuiltInStyleArtwork(TsuiUIStyle style) {
    ++ArtworkOf(style).users;
}

void ReleaseBuiltInStyleArtwork(TsuiUIStyle style) {
    StyleArtwork& art = ArtworkOf(style);
    if (art.users > 0 && --art.users == 0) art.pictures.clear();
}

int BuiltInArtworkDecodes() {
    return Artwork().decodes;
}

void GetBuiltInThemeBitmap(TsuiUIStyle style, int element, TBitmap* target, int index, int count) {
    if (!target) return;
    auto request = GetBuiltInThemeBitmapRequest(style, element, index, count);
    if (!request) return;
    const std::wstring name(request->resourceName);
    // The whole picture is its one frame.
    const int frames = request->Whole() ? 1 : request->count;
    const int frame = request->Whole() ? 1 : request->index;
    StyleArtwork& art = ArtworkOf(style);
    if (art.users == 0) { // nobody shows this style: nothing worth keeping
        TBitmap whole;
        Decode(name, whole);
        ExtractBitmapFrame(whole, *target, frames, frame);
        return;
    }
    auto it = art.pictures.find(name);
    if (it == art.pictures.end()) {
        auto whole = std::make_unique<TBitmap>();
        Decode(name, *whole);
        it = art.pictures.emplace(name, std::move(whole)).first;
    }
    // A copy of the pixels only: the target keeps its own transparency.
    ExtractBitmapFrame(*it->second, *target, frames, frame);
}

// ---------------------------------------------------------------------------
// Resolution and propagation

TsuiUIStyle GetOwnerFormStyle(const TComponent* owner) {
    const IsuiFormFrame* frame = FindFormFrame(owner);
    return frame ? frame->UIStyle() : kFallbackStyle;
}

void ApplyStyleToChildren(TWinControl& container, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    for (int i = 0; i < container.ControlCount(); ++i) {
        TControl* child = container.Controls(i);
        if (auto* skinned = dynamic_cast<IsuiStyled*>(child)) {
            // The theme first: a UIStyle of FromThemeFile resolves against it.
            skinned->SetFileTheme(fileTheme);
            skinned->SetUIStyle(style);
        }
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            ApplyStyleToChildren(*windowed, style, fileTheme);
    }
}

// ---------------------------------------------------------------------------
// Bitmap helpers

namespace {

bool EmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// Nearest-neighbour copy of the source rectangle s (clipped to the bitmap)
// into out, sized dw x dh. Skin artwork must not be blended when stretched.
void ScaleInto(const TBitmap& source, RECT s, TBitmap& out, int dw, int dh) {
    out.SetSize(dw, dh);
    s.left = std::max<LONG>(s.left, 0);
    s.top = std::max<LONG>(s.top, 0);
    s.right = std::min<LONG>(s.right, source.Width());
    s.bottom = std::min<LONG>(s.bottom, source.Height());
    if (dw <= 0 || dh <= 0 || EmptyRect(s)) return;
    const long long sw = s.right - s.left, sh = s.bottom - s.top;
    // Rows follow each other without gaps; one flush per bitmap, not per row.
    const std::uint32_t* from = source.ScanLine(0);
    std::uint32_t* to = out.ScanLine(0);
    const std::size_t stride = std::size_t(source.Width());
    for (int y = 0; y < dh; ++y) {
        const std::uint32_t* row = from + std::size_t(s.top + y * sh / dh) * stride;
        for (int x = 0; x < dw; ++x)
            *to++ = row[s.left + x * sw / dw];
    }
    out.Modified();
}

void DrawMasked(TCanvas& canvas, int x, int y, TBitmap& piece, TColor key) {
    piece.SetTransparentColor(key);
    piece.SetTransparent(true);
    canvas.Draw(x, y, piece);
}

} // namespace

void ExtractBitmapFrame(const TBitmap& source, TBitmap& target, int count, int index) {
    if (&source == &target) {
        TBitmap copy;
        copy.Assign(source);
        ExtractBitmapFrame(copy, target, count, index);
        return;
    }
    const int width = source.Width(), height = source.Height();
    const int frameWidth = count > 0 ? width / count : 0;
    const int left = (index - 1) * frameWidth;
    target.SetSize(frameWidth, height);
    // Columns of an index past either end stay as SetSize left them.
    const int first = std::max(left, 0), last = std::min(left + frameWidth, width);
    if (frameWidth <= 0 || height <= 0 || first >= last) return;
    const std::uint32_t* from = source.ScanLine(0);
    std::uint32_t* to = target.ScanLine(0);
    for (int y = 0; y < height; ++y)
        std::copy(from + std::size_t(y) * std::size_t(width) + std::size_t(first),
                  from + std::size_t(y) * std::size_t(width) + std::size_t(last),
                  to + std::size_t(y) * std::size_t(frameWidth) + std::size_t(first - left));
    target.Modified();
}

// ---------------------------------------------------------------------------
// DrawNinePart

namespace {

enum class Anchor { TopLeft, BottomLeft, TopRight, BottomRight };

// Draws the part of source rectangle s that fits a cell of cw x ch, taken
// from the corner named by anchor, with its top-left at the position place
// gives for the piece size. Returns the rectangle drawn (empty, but placed,
// when nothing fits).
template <class Place>
RECT DrawCorner(const TBitmap& bitmap, TCanvas& canvas, RECT s, int cw, int ch, Anchor anchor,
                bool transparent, Place place) {
    const int pw = std::max(0, std::min<int>(s.right - s.left, cw));
    const int ph = std::max(0, std::min<int>(s.bottom - s.top, ch));
    const POINT at = place(pw, ph);
    const RECT drawn{at.x, at.y, at.x + pw, at.y + ph};
    if (pw == 0 || ph == 0) return drawn;
    const bool right = anchor == Anchor::TopRight || anchor == Anchor::BottomRight;
    const bool bottom = anchor == Anchor::BottomLeft || anchor == Anchor::BottomRight;
    if (right)
        s.left = s.right - pw;
    else
        s.right = s.left + pw;
    if (bottom)
        s.top = s.bottom - ph;
    else
        s.bottom = s.top + ph;
    TBitmap piece;
    ScaleInto(bitmap, s, piece, pw, ph);
    if (transparent) {
        DrawMasked(canvas, at.x, at.y, piece, clFuchsia);
    } else {
        canvas.Draw(at.x, at.y, piece);
    }
    return drawn;
}

// A strip or the centre: cut to the destination where the source is larger
// (keeping the outer side), stretched to it, always masked.
void DrawStretched(const TBitmap& bitmap, TCanvas& canvas, RECT s, const RECT& d, bool keepRight,
                   bool keepBottom) {
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    if (dw <= 0 || dh <= 0 || EmptyRect(s)) return;
    if (s.right - s.left > dw) {
        if (keepRight)
            s.left = s.right - dw;
        else
            s.right = s.left + dw;
    }
    if (s.bottom - s.top > dh) {
        if (keepBottom)
            s.top = s.bottom - dh;
        else
            s.bottom = s.top + dh;
    }
    TBitmap strip;
    ScaleInto(bitmap, s, strip, dw, dh);
    DrawMasked(canvas, d.left, d.top, strip, clFuchsia);
}

} // namespace

void DrawNinePart(const TBitmap& bitmap, TCanvas& canvas, const RECT& rect, bool transparent) {
    if (bitmap.Empty()) return;
    const int W = bitmap.Width(), H = bitmap.Height();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const int W2 = W / 2, H2 = H / 2, w2 = w / 2, h2 = h / 2;
    const int R = rect.right, B = rect.bottom;

    const RECT TL = DrawCorner(bitmap, canvas, RECT{0, 0, W2, H2}, w2, h2, Anchor::TopLeft,
                               transparent, [](int, int) {
                                   return POINT{0, 0};
                               });
    const RECT BL = DrawCorner(bitmap, canvas, RECT{0, H - H2 + 1, W2, H}, w2, h - (h - h2 + 1),
                               Anchor::BottomLeft, transparent, [B](int, int ph) {
                                   return POINT{0, B - ph};
                               });
    DrawStretched(bitmap, canvas, RECT{0, H2, W2, H - H2}, RECT{0, TL.bottom, TL.right, BL.top},
                  false, false);
    const RECT TR = DrawCorner(bitmap, canvas, RECT{W - W2 + 1, 0, W, H2}, w - (w - w2 + 1), h2,
                               Anchor::TopRight, transparent, [R](int pw, int) {
                                   return POINT{R - pw, 0};
                               });
    const RECT BR =
        DrawCorner(bitmap, canvas, RECT{W - W2 + 1, H - H2 + 1, W, H}, w - (w - w2 + 1),
                   h - (h - h2 + 1), Anchor::BottomRight, transparent, [R, B](int pw, int ph) {
                       return POINT{R - pw, B - ph};
                   });
    DrawStretched(bitmap, canvas, RECT{W - W2 + 1, H - H2, W, H2 + 2},
                  RECT{TR.left, TR.bottom, TR.right, BR.top}, true, false);
    DrawStretched(bitmap, canvas, RECT{W2, 0, W - W2 + 1, H2},
                  RECT{TL.right, 0, TR.left, TL.bottom}, false, false);
    DrawStretched(bitmap, canvas, RECT{W2, H2, W - W2 + 1, H - H2},
                  RECT{TL.right, TL.bottom, TR.left, BR.top - 1}, false, false);
    DrawStretched(bitmap, canvas, RECT{W2, H - H2, W - W2 + 1, H},
                  RECT{TL.right - 1, BL.top - 1, BR.left, BR.bottom}, false, true);
}

void DrawThreePart(const TBitmap& bitmap, TCanvas& canvas, const RECT& rect, bool keyFromCorner) {
    if (bitmap.Empty()) return;
    const int fw = bitmap.Width() / 3, H = bitmap.Height();
    if (fw <= 0) return;
    const TColor key = keyFromCorner ? bitmap.Pixel(0, 0) : clFuchsia;
    TBitmap frame;
    ExtractBitmapFrame(bitmap, frame, 3, 1);
    DrawMasked(canvas, rect.left, rect.top, frame, key);
    ExtractBitmapFrame(bitmap, frame, 3, 3);
    DrawMasked(canvas, rect.right - fw, rect.top, frame, key);
    const int mw = rect.right - rect.left - 2 * fw, mh = rect.bottom - rect.top;
    if (mw <= 0 || mh <= 0) return;
    ScaleInto(bitmap, RECT{fw, 0, 2 * fw, H}, frame, mw, mh);
    DrawMasked(canvas, rect.left + fw, rect.top, frame, key);
}

void TileDraw(TCanvas& canvas, const TGraphic& picture, const RECT& rect) {
    const int w = picture.Width(), h = picture.Height();
    if (picture.Empty() || w <= 0 || h <= 0) return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    for (int y = 0; y < height + h; y += h)
        for (int x = 0; x < width + w; x += w)
            canvas.Draw(x, y, picture);
}

void PaintParentBackground(TCanvas& canvas, TControl& control) {
    TWinControl* parent = control.Parent();
    if (!parent || !canvas.Handle()) return;
    HDC dc = canvas.Handle();
    // The parent selects its own objects; ours come back on the next use.
    canvas.Deselect();
    SavedDCState state(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    if (auto* kept = dynamic_cast<IsuiKeptPicture*>(parent); kept && kept->PaintKeptPicture(dc))
        return;
    const auto wp = reinterpret_cast<WPARAM>(dc);
    // Through the window procedure, so a replaced one (the skinned frame) paints too.
    parent->Perform(WM_ERASEBKGND, wp, 0);
    parent->Perform(WM_PAINT, wp, 0);
}

bool KeptPictureIsCurrent(TWinControl& control, const TBitmap& picture) {
    return control.HandleAllocated() && !picture.Empty() &&
           picture.Width() == control.ClientWidth() && picture.Height() == control.ClientHeight() &&
           !::GetUpdateRect(control.Handle(), nullptr, FALSE);
}

bool PointInRect(POINT point, const RECT& rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
           point.y <= rect.bottom;
}

namespace {

// Rows are contiguous in the top-down DIB, so one pointer reaches every pixel.
// to(x, y, W, H) gives the index of source pixel (x, y) in the turned bitmap.
template <class To> void Rotate(TBitmap& bitmap, To to) {
    const int W = bitmap.Width(), H = bitmap.Height();
    if (W <= 0 || H <= 0) return;
    std::vector<std::uint32_t> turned(std::size_t(W) * std::size_t(H));
    const std::uint32_t* from = std::as_const(bitmap).ScanLine(0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            turned[to(x, y, W, H)] = from[std::size_t(y) * std::size_t(W) + std::size_t(x)];
    bitmap.SetSize(H, W);
    std::copy(turned.begin(), turned.end(), bitmap.ScanLine(0));
    bitmap.Modified();
}

} // namespace

void RotateBitmapLeft(TBitmap& bitmap) {
    // The top row becomes the left column, read bottom-up.
    Rotate(bitmap, [](int x, int y, int W, int H) {
        return std::size_t(W - 1 - x) * std::size_t(H) + std::size_t(y);
    });
}

void RotateBitmapRight(TBitmap& bitmap) {
    // The bottom-left pixel becomes the top-left.
    Rotate(bitmap, [](int x, int y, int, int H) {
        return std::size_t(x) * std::size_t(H) + std::size_t(H - 1 - y);
    });
}

void FrameWindowEdge(TWinControl& control, TColor color, TColor innerColor, bool drawInner) {
    HWND wnd = control.Handle();
    WindowDC dc(wnd, true);
    if (!dc) return;
    RECT r{};
    GetWindowRect(wnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    BrushHandle outer(CreateSolidBrush(ColorToRGB(color)));
    FrameRect(dc.Get(), &r, outer.Get());
    if (drawInner) {
        InflateRect(&r, -1, -1);
        BrushHandle inner(CreateSolidBrush(ColorToRGB(innerColor)));
        FrameRect(dc.Get(), &r, inner.Get());
    }
}

void FrameControlRect(TCanvas& canvas, const RECT& rect, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FrameRect(rect);
}

void FillControlRect(TCanvas& canvas, const RECT& rect, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void GetWorkArea(RECT& rect) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
}

RECT GetWorkArea() {
    RECT r{};
    GetWorkArea(r);
    return r;
}

void SetControlBounds(TControl& control, const RECT& rect) {
    control.SetLeft(rect.left);
    control.SetTop(rect.top);
    control.SetWidth(rect.right - rect.left);
    control.SetHeight(rect.bottom - rect.top);
}

bool IsFormActive(const TForm* form) {
    // The framework has no MDI frames, so the MDI branches never apply.
    TForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (!mainForm) return form && form->Active();
    if (!Application->Active()) return false;
    if (!form || form == mainForm) return true;
    return form->Active();
}
