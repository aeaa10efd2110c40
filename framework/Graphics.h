#pragma once

// Colours, fonts, brushes, pens, canvases and the graphics (bitmaps, icons,
// pictures, image lists) the controls and the skin engine draw with.

#include "framework/Exceptions.h"
#include "framework/GdiHandles.h"

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Errors

// Raised by the graphics classes: malformed image data, a GDI object that
// could not be created, a canvas without a DC.
class EGraphicError : public Exception {
  public:
    using Exception::Exception;
};

// A bitmap or icon resource the module does not carry.
class EGraphicResNotFound : public EResourceError {
  public:
    using EResourceError::EResourceError;
};

// ---------------------------------------------------------------------------
// Colours

// 0x00BBGGRR; a value with high byte 0xFF names system colour (value & 0xFF).
using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000;

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// A system colour becomes its current RGB value; any other value is returned as is.
COLORREF ColorToRGB(TColor color);
constexpr TColor RGBToColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The process's GDI object count (GetGuiResources with GR_GDIOBJECTS).
int ProcessGdiObjectCount();

// Screen pixels per inch (vertical), read once.
int ScreenPixelsPerInch();

// ---------------------------------------------------------------------------
// Fonts, brushes, pens

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

class TFontStyles {
  public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle s : styles)
            bits_ |= Bit(s);
    }
    constexpr bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TFontStyles& Include(TFontStyle s) {
        bits_ |= Bit(s);
        return *this;
    }
    constexpr TFontStyles& Exclude(TFontStyle s) {
        bits_ &= std::uint8_t(~Bit(s));
        return *this;
    }
    constexpr std::uint8_t Bits() const { return bits_; }
    static constexpr TFontStyles FromBits(std::uint8_t bits) {
        TFontStyles s;
        s.bits_ = bits & 0x0F;
        return s;
    }
    constexpr TFontStyles operator|(TFontStyles o) const { return FromBits(bits_ | o.bits_); }
    constexpr TFontStyles operator|(TFontStyle s) const { return FromBits(bits_ | Bit(s)); }
    constexpr bool operator==(const TFontStyles&) const = default;

  private:
    static constexpr std::uint8_t Bit(TFontStyle s) { return std::uint8_t(1u << s); }
    std::uint8_t bits_ = 0;
};

using TFontCharset = std::uint8_t; // DEFAULT_CHARSET, GB2312_CHARSET, ...
enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

class TCanvas;

// What TFont, TBrush and TPen share: a lazily created GDI handle, released
// (after any canvas using it has deselected it) whenever a property changes.
class TGraphicsObject {
  public:
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;
    virtual ~TGraphicsObject();

    // True while a GDI handle exists (it is created by Handle()).
    bool HandleAllocated() const { return handle_ != nullptr; }

  protected:
    TGraphicsObject() = default;
    HGDIOBJ CachedHandle() const { return handle_; }
    void StoreHandle(HGDIOBJ h) const { handle_ = h; }
    // Frees the handle (asking the canvas that selected it to let go first).
    void FreeHandle();
    // FreeHandle, then the derived OnChange.
    void Changed();
    virtual void NotifyChange() = 0;

  private:
    friend class TCanvas;
    mutable HGDIOBJ handle_ = nullptr;
    TCanvas* selectedIn_ = nullptr; // the canvas that has the handle selected
};

class TFont : public TGraphicsObject {
  public:
    TFont(); // "MS Sans Serif", height -11, clWindowText, DEFAULT_CHARSET
    ~TFont() override;

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name);
    // Points; Size = -Height * 72 / PixelsPerInch (rounded).
    int Size() const;
    void SetSize(int points);
    // Pixels; negative = character height, positive = cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi); // keeps Height, so Size follows

    // Created on first use and kept until a property changes.
    HFONT Handle() const;
    LOGFONTW LogFont() const;
    // Takes name, height, style, charset and pitch from a LOGFONT (the menu font).
    void AssignLogFont(const LOGFONTW& lf);
    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const; // every property equal

    std::function<void(TFont* sender)> OnChange;

  private:
    void NotifyChange() override;
    std::wstring name_;
    int height_;
    TColor color_;
    TFontStyles style_;
    TFontCharset charset_;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_;
};

enum TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
  public:
    TBrush(); // clWhite, bsSolid
    ~TBrush() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color); // a clear brush becomes solid, as users expect
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

    HBRUSH Handle() const; // a hollow brush for bsClear
    void Assign(const TBrush& source);

    std::function<void(TBrush* sender)> OnChange;

  private:
    void NotifyChange() override;
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
enum TPenMode : std::uint8_t { pmCopy, pmNot, pmXor, pmNotXor, pmBlack, pmWhite, pmMask, pmMerge };

class TPen : public TGraphicsObject {
  public:
    TPen(); // clBlack, width 1, psSolid, pmCopy
    ~TPen() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; } // raster operation, applied by the canvas

    HPEN Handle() const;
    void Assign(const TPen& source);

    std::function<void(TPen* sender)> OnChange;

  private:
    void NotifyChange() override;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

// ---------------------------------------------------------------------------
// Canvas

class TGraphic;

// Raster operation for CopyRect.
using TCopyMode = DWORD; // cmSrcCopy = SRCCOPY, ...
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Draws on a DC it borrows: the caller keeps the DC alive (BeginPaint, WM_PAINT's
// wParam, ...). The canvas selects its Font, Brush and Pen on demand and puts
// the DC's own objects back before the DC changes or the canvas goes away.
// TMemoryCanvas and TWindowCanvas own their DC.
class TCanvas {
  public:
    explicit TCanvas(HDC dc = nullptr);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas();

    HDC Handle() const { return dc_; }
    bool HandleAllocated() const { return dc_ != nullptr; }
    // Borrows another DC (nullptr: none); the previous DC gets its objects back.
    void SetHandle(HDC dc);
    // Puts the DC's original font, brush and pen back; the next drawing selects ours again.
    void Deselect();
    // The DC with our Font, Brush and Pen selected, the font colour as text
    // colour and the background mode of the brush: for direct GDI calls.
    HDC PrepareHandle();

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    void SetFont(const TFont& f) { font_.Assign(f); }
    TCopyMode CopyMode() const { return copyMode_; }

    // Shapes. Rectangles exclude their right and bottom edges, as in GDI.
    void FillRect(const RECT& r);                             // with Brush, no outline
    void FrameRect(const RECT& r);                            // 1-pixel frame in Brush's colour
    void Rectangle(int left, int top, int right, int bottom); // Pen outline, Brush fill
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Polyline(std::span<const POINT> points);
    void Polygon(std::span<const POINT> points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    POINT PenPos() const;

    // Text, in Font; the background is Brush's colour unless Brush is bsClear.
    void TextOut(int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    // Text at (x, y) clipped to r; the background of r is filled unless Brush is bsClear.
    void TextRect(const RECT& r, int x, int y, const std::wstring& text);
    // DrawText with DT_* flags; r receives the result with DT_CALCRECT. Returns the height.
    int DrawText(const std::wstring& text, RECT& r, UINT flags);

    // Graphics; a transparent graphic leaves its key-coloured pixels alone.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const RECT& dest, const TGraphic& graphic);
    // Copies (and stretches) a rectangle of another canvas with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Called after drawing operations, for owners that track changes.
    std::function<void(TCanvas* sender)> OnChange;

  protected:
    // The font, brush and pen of our own, selected now.
    void RequireFont();
    void RequireBrush();
    void RequirePen();
    void RequireText(); // font, text colour and background mode
    void Changed();

  private:
    friend class TGraphicsObject;
    void Release(TGraphicsObject& obj);
    void SelectInto(TGraphicsObject& obj, HGDIOBJ handle, HGDIOBJ& original);

    HDC dc_ = nullptr;
    TFont font_;
    TBrush brush_;
    TPen pen_;
    HGDIOBJ oldFont_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    TCopyMode copyMode_ = cmSrcCopy;
};

// Saves the DC state and the canvas's Font, Brush and Pen; restores all of
// them on destruction. For helpers that change clipping, origins or the font
// of a canvas they were lent.
class TCanvasState {
  public:
    explicit TCanvasState(TCanvas& canvas);
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;
    ~TCanvasState();

  private:
    TCanvas& canvas_;
    int savedDC_ = 0;
    TFont font_;
    TBrush brush_;
    TPen pen_;
};

// A canvas on a memory DC of its own (compatible with the screen, or with a given DC).
class TMemoryCanvas : public TCanvas {
  public:
    explicit TMemoryCanvas(HDC compatibleWith = nullptr);
    ~TMemoryCanvas() override;

  private:
    MemoryDC owned_;
};

// A canvas on a window's DC (client area, or the whole window with nonClient).
class TWindowCanvas : public TCanvas {
  public:
    explicit TWindowCanvas(HWND wnd, bool nonClient = false);
    ~TWindowCanvas() override;

  private:
    WindowDC owned_;
};

// ---------------------------------------------------------------------------
// Graphics

enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };

class TGraphic {
  public:
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic();

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    // Draws the graphic stretched into dest (unscaled when dest has its size).
    virtual void Draw(TCanvas& canvas, const RECT& dest) const = 0;
    // A new graphic of the same kind holding a copy of this one.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    std::function<void(TGraphic* sender)> OnChange;

  protected:
    TGraphic() = default;
    void Changed();
    // Sets the flag without a change notification (Assign does one for all).
    void StoreTransparent(bool value) { transparent_ = value; }

  private:
    bool transparent_ = false;
};

// A 32-bit top-down DIB section. Pixels are stored B, G, R, 0 (a uint32_t
// reads 0x00RRGGBB); colours going in and out are TColor.
class TBitmap : public TGraphic {
  public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ <= 0 || height_ <= 0; }
    // Keeps the overlapping top-left part of the old picture; new area is white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    // A canvas on a memory DC with the DIB selected; created on first use.
    TCanvas& Canvas();
    // The DIB section (nullptr while empty). While a canvas exists it is
    // selected into the canvas's DC, so APIs that select a bitmap themselves
    // (menus, ImageList_Add) want CopyHandle().
    HBITMAP Handle() const { return bitmap_.Get(); }
    // A new DIB section with the same pixels, owned by the caller.
    BitmapHandle CopyHandle() const;

    // Direct pixel access; flushes pending GDI drawing first. Rows follow each
    // other without gaps, so ScanLine(0) reaches every pixel.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;
    TColor Pixel(int x, int y) const;          // clNone outside the bitmap
    void SetPixel(int x, int y, TColor color); // ignored outside the bitmap
    void Fill(TColor color);

    // Key colour: with tmAuto the colour of the bottom-left pixel, else the
    // fixed one. Setting a colour switches to tmFixed (clDefault: back to tmAuto).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // Loading; every failure raises EGraphicError and leaves the bitmap as it was.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromBytes(std::span<const std::uint8_t> bmpFile); // a whole .bmp file
    void LoadFromStream(std::istream& stream);                 // a .bmp file from here on
    void LoadFromFile(const std::wstring& fileName);
    // A packed DIB: BITMAPINFOHEADER (or a later/core header), colours, bits.
    void LoadFromDIB(std::span<const std::uint8_t> dib);
    // A copy of any GDI bitmap.
    void LoadFromHandle(HBITMAP bitmap);
    // A 24-bit bottom-up .bmp file.
    std::vector<std::uint8_t> SaveToBytes() const;
    void SaveToFile(const std::wstring& fileName) const;

    void Assign(const TBitmap& source);
    void Draw(TCanvas& canvas, const RECT& dest) const override;
    std::unique_ptr<TGraphic> Clone() const override;
    // Tells OnChange listeners about drawing done through Canvas() or ScanLine.
    void Modified() { Changed(); }

  private:
    void Allocate(int width, int height, BitmapHandle& bmp, std::uint32_t*& bits) const;
    void Adopt(int width, int height, BitmapHandle bmp, std::uint32_t* bits);
    HDC SourceDC(MemoryDC& temp, std::unique_ptr<ObjectSelection>& sel) const;

    int width_ = 0;
    int height_ = 0;
    BitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    std::unique_ptr<TMemoryCanvas> canvas_;
    std::unique_ptr<ObjectSelection> canvasSelection_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
};

// An icon; always drawn with its own mask.
class TIcon : public TGraphic {
  public:
    TIcon();
    ~TIcon() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !icon_; }

    // size 0 loads the icon's default size (SM_CXICON).
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size = 0);
    // Takes ownership of the icon.
    void SetHandle(HICON icon);
    HICON Handle() const { return icon_.Get(); }

    void Assign(const TIcon& source);
    void Draw(TCanvas& canvas, const RECT& dest) const override;
    std::unique_ptr<TGraphic> Clone() const override;

  private:
    IconHandle icon_;
    int width_ = 0;
    int height_ = 0;
};

// Holds one graphic (a copy of what it is given) or none.
class TPicture {
  public:
    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    ~TPicture();

    TGraphic* Graphic() const { return graphic_.get(); }
    // Stores a copy (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // Takes the graphic itself.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The bitmap held; an empty one replaces any other graphic first.
    TBitmap& Bitmap();
    // The icon held; an empty one replaces any other graphic first.
    TIcon& Icon();
    bool HasGraphic() const { return graphic_ && !graphic_->Empty(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name); // a bitmap
    void Assign(const TPicture& source);
    void Clear() { SetGraphic(std::unique_ptr<TGraphic>()); }

    // After any change of the picture or of the graphic it holds.
    std::function<void(TPicture* sender)> OnChange;

  private:
    void Hook();
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};

// Images of one size, each with a mask, held in a system image list
// (the tool bar takes Handle()).
class TImageList {
  public:
    TImageList(int width = 16, int height = 16);
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    ~TImageList();

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Empties the list when the size changes.
    void SetSize(int width, int height);
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    int Count() const;

    // A bitmap wider than Width adds one image per Width columns. The mask is
    // monochrome: white = transparent; nullptr = opaque. Returns the first index.
    int Add(const TBitmap& image, const TBitmap* mask);
    // Pixels of the key colour become transparent; clDefault takes the
    // bottom-left pixel's colour, clNone masks nothing.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // Copies image index (opaque, transparent parts in the bitmap's current content) out.
    void GetBitmap(int index, TBitmap& target) const;

    // Draws masked; a disabled image is drawn embossed in button shadow and highlight.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

    HIMAGELIST Handle() const;
    std::function<void(TImageList* sender)> OnChange;

  private:
    void Create() const;
    void Changed();
    int width_;
    int height_;
    mutable ImageListHandle list_;
};

// ---------------------------------------------------------------------------
// Painting without flicker

// An off-screen bitmap for a control that paints everything itself: prepare
// it for the client size (rebuilt only when that changes), paint into its
// canvas, then copy it to the target DC in one step.
class TOffscreenBuffer {
  public:
    TOffscreenBuffer() = default;
    TOffscreenBuffer(const TOffscreenBuffer&) = delete;
    TOffscreenBuffer& operator=(const TOffscreenBuffer&) = delete;

    // The canvas to paint into, sized width x height. Pixels, font, brush and
    // pen are those of the last paint; paint every pixel.
    TCanvas& Prepare(int width, int height);
    void CopyTo(HDC target, int x = 0, int y = 0) const;
    TBitmap& Bitmap() { return bitmap_; }
    const TBitmap& Bitmap() const { return bitmap_; }
    // Frees the bitmap (for controls that are hidden for long).
    void Release() { bitmap_.SetSize(0, 0); }

  private:
    TBitmap bitmap_;
};

// One paint through an off-screen bitmap: paint into Canvas(), and the
// picture goes to target at (x, y) in one step when the painter goes out of
// scope. A paint that throws copies nothing, so no half-drawn picture
// reaches the screen: the window keeps what it showed.
class TOffscreenPaint {
  public:
    // Through buffer, which keeps the picture afterwards (for the control's
    // transparent children, tests and screenshots).
    TOffscreenPaint(TOffscreenBuffer& buffer, HDC target, int width, int height, int x = 0,
                    int y = 0);
    // Through a shared scratch bitmap that keeps nothing for the caller: it
    // starts white, with the canvas's defaults, and may be larger than
    // width x height (rows are Bitmap().Width() apart).
    TOffscreenPaint(HDC target, int width, int height, int x = 0, int y = 0);
    ~TOffscreenPaint();
    TOffscreenPaint(const TOffscreenPaint&) = delete;
    TOffscreenPaint& operator=(const TOffscreenPaint&) = delete;

    TCanvas& Canvas() { return canvas_; }
    TBitmap& Bitmap() { return buffer_.Bitmap(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    TOffscreenBuffer& buffer_;
    std::unique_ptr<TCanvasState> scratch_; // the canvas's defaults come back afterwards
    HDC target_;
    int x_;
    int y_;
    int width_;
    int height_;
    int exceptions_;
    TCanvas& canvas_;
};
