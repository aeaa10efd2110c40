#include "framework/Graphics.h"

#include "framework/GraphicsInternal.h"

#include <cmath>

// ---------------------------------------------------------------------------
// Colours and counters

COLORREF ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == clSystemColor) return ::GetSysColor(int(color & 0xFF));
    return color;
}

int ProcessGdiObjectCount() {
    // GDI calls may sit in the batch until flushed; count what really exists.
    ::GdiFlush();
    int n = int(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    if (n > 0) return n;
    // Wine answers 0 here. Its handle table is the process's own and accepts a
    // bare table index as a handle, so count the live entries instead; on
    // Windows a bare index is no handle and this finds nothing either.
    for (std::uintptr_t index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
    return n;
}

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        WindowDC screen(nullptr);
        int v = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

// ---------------------------------------------------------------------------
// TGraphicsObject

TGraphicsObject::~TGraphicsObject() {
    FreeHandle();
}

void TGraphicsObject::FreeHandle() {
    // A selected object cannot be deleted: the canvas puts the DC's own back first.
    if (selectedIn_) selectedIn_->Release(*this);
    if (handle_) ::DeleteObject(handle_);
    handle_ = nullptr;
}

void TGraphicsObject::Changed() {
    FreeHandle();
    NotifyChange();
}

// ---------------------------------------------------------------------------
// TFont

TFont::TFont()
    : name_(L"MS Sans Serif"), height_(-11), color_(clWindowText), charset_(DEFAULT_CHARSET),
      pixelsPerInch_(ScreenPixelsPerInch()) {}

TFont::~TFont() {
    FreeHandle();
}

void TFont::NotifyChange() {
    if (OnChange) OnChange(this);
}

void TFont::SetName(const std::wstring& name) {
    if (name == name_ || name.empty()) return;
    name_ = name;
    Changed();
}

int TFont::Size() const {
    return -::MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points) {
    SetHeight(-::MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    // The colour is applied by the canvas, the handle stays valid.
    NotifyChange();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi <= 0 || ppi == pixelsPerInch_) return;
    pixelsPerInch_ = ppi;
    NotifyChange();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                          : pitch_ == fpVariable ? VARIABLE_PITCH
                                                 : DEFAULT_PITCH;
    size_t n = std::min(name_.size(), size_t(LF_FACESIZE - 1));
    name_.copy(lf.lfFaceName, n);
    lf.lfFaceName[n] = L'\0';
    return lf;
}

HFONT TFont::Handle() const {
    if (!CachedHandle()) {
        LOGFONTW lf = LogFont();
        HFONT f = ::CreateFontIndirectW(&lf);
        if (!f) throw EGraphicError(L"Out of system resources");
        StoreHandle(f);
    }
    return static_cast<HFONT>(CachedHandle());
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
    std::wstring name(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    if (lf.lfUnderline) style.Include(fsUnderline);
    if (lf.lfStrikeOut) style.Include(fsStrikeOut);
    TFontPitch pitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
                       : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                                     : fpDefault;
    if (name == name_ && lf.lfHeight == height_ && style == style_ && lf.lfCharSet == charset_ &&
        pitch == pitch_)
        return;
    if (!name.empty()) name_ = name;
    height_ = lf.lfHeight;
    style_ = style;
    charset_ = lf.lfCharSet;
    pitch_ = pitch;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_ && pixelsPerInch_ == o.pixelsPerInch_;
}

void TFont::Assign(const TFont& source) {
    if (&source == this || SameAs(source)) return;
    bool handleChanges = name_ != source.name_ || height_ != source.height_ ||
                         style_ != source.style_ || charset_ != source.charset_ ||
                         pitch_ != source.pitch_;
    name_ = source.name_;
    height_ = source.height_;
    color_ = source.color_;
    style_ = source.style_;
    charset_ = source.charset_;
    pitch_ = source.pitch_;
    pixelsPerInch_ = source.pixelsPerInch_;
    if (handleChanges)
        Changed();
    else
        NotifyChange();
}

// ---------------------------------------------------------------------------
// TBrush

TBrush::TBrush() = default;
TBrush::~TBrush() {
    FreeHandle();
}

void TBrush::NotifyChange() {
    if (OnChange) OnChange(this);
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HBRUSH TBrush::Handle() const {
    if (!CachedHandle()) {
        LOGBRUSH lb{};
        lb.lbColor = GdiColor(color_);
        switch (style_) {
        case bsSolid:
            lb.lbStyle = BS_SOLID;
            break;
        case bsClear:
            lb.lbStyle = BS_NULL;
            break;
        default:
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = style_ == bsHorizontal  ? HS_HORIZONTAL
                         : style_ == bsVertical  ? HS_VERTICAL
                         : style_ == bsFDiagonal ? HS_FDIAGONAL
                         : style_ == bsBDiagonal ? HS_BDIAGONAL
                         : style_ == bsCross     ? HS_CROSS
                                                 : HS_DIAGCROSS;
        }
        HBRUSH b = ::CreateBrushIndirect(&lb);
        if (!b) throw EGraphicError(L"Out of system resources");
        StoreHandle(b);
    }
    return static_cast<HBRUSH>(CachedHandle());
}

void TBrush::Assign(const TBrush& source) {
    if (&source == this || (color_ == source.color_ && style_ == source.style_)) return;
    color_ = source.color_;
    style_ = source.style_;
    Changed();
}

// ---------------------------------------------------------------------------
// TPen

TPen::TPen() = default;
TPen::~TPen() {
    FreeHandle();
}

void TPen::NotifyChange() {
    if (OnChange) OnChange(this);
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width < 0) width = 0;
    if (width == width_) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HPEN TPen::Handle() const {
    if (!CachedHandle()) {
        static constexpr int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                         PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        HPEN p = ::CreatePen(styles[style_], width_, GdiColor(color_));
        if (!p) throw EGraphicError(L"Out of system resources");
        StoreHandle(p);
    }
    return static_cast<HPEN>(CachedHandle());
}

void TPen::Assign(const TPen& source) {
    if (&source == this) return;
    if (color_ == source.color_ && width_ == source.width_ && style_ == source.style_ &&
        mode_ == source.mode_)
        return;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    Changed();
}

// ---------------------------------------------------------------------------
// TCanvas

TCanvas::TCanvas(HDC dc) : dc_(dc) {}

TCanvas::~TCanvas() {
    Deselect();
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    Deselect();
    dc_ = dc;
}

void TCanvas::Release(TGraphicsObject& obj) {
    HGDIOBJ* original = &obj == &font_ ? &oldFont_ : &obj == &brush_ ? &oldBrush_ : &oldPen_;
    if (dc_ && *original) ::SelectObject(dc_, *original);
    *original = nullptr;
    obj.selectedIn_ = nullptr;
}

void TCanvas::Deselect() {
    if (font_.selectedIn_) Release(font_);
    if (brush_.selectedIn_) Release(brush_);
    if (pen_.selectedIn_) Release(pen_);
}

void TCanvas::SelectInto(TGraphicsObject& obj, HGDIOBJ handle, HGDIOBJ& original) {
    if (obj.selectedIn_ == this) return;
    HGDIOBJ prev = ::SelectObject(dc_, handle);
    if (!prev || prev == HGDI_ERROR) throw EGraphicError(L"Canvas does not allow drawing");
    original = prev;
    obj.selectedIn_ = this;
}

static void RequireDC(HDC dc) {
    if (!dc) throw EGraphicError(L"Canvas does not allow drawing");
}

void TCanvas::RequireFont() {
    RequireDC(dc_);
    SelectInto(font_, font_.Handle(), oldFont_);
}

void TCanvas::RequireBrush() {
    RequireDC(dc_);
    SelectInto(brush_, brush_.Handle(), oldBrush_);
}

void TCanvas::RequirePen() {
    RequireDC(dc_);
    SelectInto(pen_, pen_.Handle(), oldPen_);
    static constexpr int rops[] = {R2_COPYPEN, R2_NOT,   R2_XORPEN,  R2_NOTXORPEN,
                                   R2_BLACK,   R2_WHITE, R2_MASKPEN, R2_MERGEPEN};
    ::SetROP2(dc_, rops[pen_.Mode()]);
}

void TCanvas::RequireText() {
    RequireFont();
    ::SetTextColor(dc_, GdiColor(font_.Color()));
    if (brush_.Style() == bsClear) {
        ::SetBkMode(dc_, TRANSPARENT);
    } else {
        ::SetBkMode(dc_, OPAQUE);
        ::SetBkColor(dc_, GdiColor(brush_.Color()));
    }
}

HDC TCanvas::PrepareHandle() {
    RequireText();
    RequireBrush();
    RequirePen();
    return dc_;
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::FillRect(const RECT& r) {
    RequireDC(dc_);
    ::FillRect(dc_, &r, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const RECT& r) {
    RequireDC(dc_);
    ::FrameRect(dc_, &r, brush_.Handle());
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    RequirePen();
    RequireBrush();
    ::Rectangle(dc_, left, top, right, bottom);
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    RequirePen();
    RequireBrush();
    ::RoundRect(dc_, left, top, right, bottom, cornerW, cornerH);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    RequirePen();
    RequireBrush();
    ::Ellipse(dc_, left, top, right, bottom);
    Changed();
}

void TCanvas::Polyline(std::span<const POINT> points) {
    RequirePen();
    if (points.size() >= 2) ::Polyline(dc_, points.data(), int(points.size()));
    Changed();
}

void TCanvas::Polygon(std::span<const POINT> points) {
    RequirePen();
    RequireBrush();
    if (points.size() >= 2) ::Polygon(dc_, points.data(), int(points.size()));
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    RequireDC(dc_);
    ::MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    ::LineTo(dc_, x, y);
    Changed();
}

POINT TCanvas::PenPos() const {
    POINT p{};
    if (dc_) ::GetCurrentPositionEx(dc_, &p);
    return p;
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    RequireText();
    ::ExtTextOutW(dc_, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    RequireFont();
    SIZE s{};
    if (text.empty()) {
        // GDI reports nothing for an empty string; callers want the line height.
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc_, &tm);
        s.cy = tm.tmHeight;
    } else {
        ::GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &s);
    }
    return s;
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::wstring& text) {
    RequireText();
    UINT options = ETO_CLIPPED | (brush_.Style() == bsClear ? 0 : ETO_OPAQUE);
    ::ExtTextOutW(dc_, x, y, options, &r, text.c_str(), UINT(text.size()), nullptr);
    Changed();
}

int TCanvas::DrawText(const std::wstring& text, RECT& r, UINT flags) {
    RequireText();
    // DrawTextW may write into the string with DT_MODIFYSTRING; ours is const.
    int h = ::DrawTextW(dc_, text.c_str(), int(text.size()), &r, flags & ~UINT(DT_MODIFYSTRING));
    if (!(flags & DT_CALCRECT)) Changed();
    return h;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
    graphic.Draw(*this, r);
    Changed();
}

void TCanvas::StretchDraw(const RECT& dest, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, dest);
    Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
    RequireDC(dc_);
    RequireDC(source.dc_);
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
    if (dw == sw && dh == sh) {
        ::BitBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, sourceRect.left, sourceRect.top,
                 copyMode_);
    } else {
        StretchModeScope mode(dc_);
        ::StretchBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, sourceRect.left, sourceRect.top,
                     sw, sh, copyMode_);
    }
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    RequireDC(dc_);
    COLORREF c = ::GetPixel(dc_, x, y);
    return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    RequireDC(dc_);
    ::SetPixelV(dc_, x, y, GdiColor(color));
    Changed();
}

// ---------------------------------------------------------------------------
// TCanvasState

TCanvasState::TCanvasState(TCanvas& canvas) : canvas_(canvas) {
    font_.Assign(canvas.Font());
    brush_.Assign(canvas.Brush());
    pen_.Assign(canvas.Pen());
    if (canvas.Handle()) {
        // Our objects leave the DC first, so RestoreDC never brings back a
        // handle that was freed in between.
        canvas.Deselect();
        savedDC_ = ::SaveDC(canvas.Handle());
    }
}

TCanvasState::~TCanvasState() {
    if (savedDC_ && canvas_.Handle()) {
        canvas_.Deselect();
        ::RestoreDC(canvas_.Handle(), savedDC_);
    }
    canvas_.Font().Assign(font_);
    canvas_.Brush().Assign(brush_);
    canvas_.Pen().Assign(pen_);
}

// ---------------------------------------------------------------------------
// Canvases that own their DC

TMemoryCanvas::TMemoryCanvas(HDC compatibleWith) : owned_(::CreateCompatibleDC(compatibleWith)) {
    if (!owned_) throw EGraphicError(L"Out of system resources");
    SetHandle(owned_.Get());
}

TMemoryCanvas::~TMemoryCanvas() {
    SetHandle(nullptr);
}

TWindowCanvas::TWindowCanvas(HWND wnd, bool nonClient) : owned_(wnd, nonClient) {
    if (!owned_) throw EGraphicError(L"Canvas does not allow drawing");
    SetHandle(owned_.Get());
}

TWindowCanvas::~TWindowCanvas() {
    SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// Files

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& fileName) {
    HANDLE f = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw EGraphicError(L"Cannot open file \"" + fileName + L"\"");
    std::vector<std::uint8_t> bytes;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(f, &size) && size.QuadPart >= 0 && size.QuadPart < (1LL << 30);
    if (ok) {
        bytes.resize(std::size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (::ReadFile(f, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    ::CloseHandle(f);
    if (!ok) throw EGraphicError(L"Cannot read file \"" + fileName + L"\"");
    return bytes;
}

void WriteFileBytes(const std::wstring& fileName, std::span<const std::uint8_t> bytes) {
    HANDLE f = ::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw EGraphicError(L"Cannot create file \"" + fileName + L"\"");
    DWORD written = 0;
    bool ok =
        bytes.empty() || (::WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    ::CloseHandle(f);
    if (!ok) throw EGraphicError(L"Cannot write file \"" + fileName + L"\"");
}
