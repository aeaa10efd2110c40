#include "framework/Graphics.h"

#include "framework/GraphicsInternal.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------
// TIcon

TIcon::TIcon() {
    StoreTransparent(true);
}

TIcon::~TIcon() = default;

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size) {
    const int cx = size > 0 ? size : ::GetSystemMetrics(SM_CXICON);
    const int cy = size > 0 ? size : ::GetSystemMetrics(SM_CYICON);
    HICON icon = static_cast<HICON>(
        ::LoadImageW(instance, name.c_str(), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (!icon) throw EGraphicResNotFound(L"Resource " + name + L" not found");
    SetHandle(icon);
}

void TIcon::SetHandle(HICON icon) {
    if (icon == icon_.Get()) return;
    icon_.Reset(icon);
    width_ = height_ = 0;
    ICONINFO ii{};
    if (icon && ::GetIconInfo(icon, &ii)) {
        // GetIconInfo hands us copies of both bitmaps; they are ours to free.
        BitmapHandle color(ii.hbmColor), mask(ii.hbmMask);
        BITMAP bm{};
        if (color && ::GetObjectW(color.Get(), sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (mask && ::GetObjectW(mask.Get(), sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2; // AND and XOR masks stacked
        }
    }
    Changed();
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this) return;
    SetHandle(source.icon_ ? ::CopyIcon(source.icon_.Get()) : nullptr);
}

void TIcon::Draw(TCanvas& canvas, const RECT& dest) const {
    if (!icon_) return;
    if (!canvas.Handle()) throw EGraphicError(L"Canvas does not allow drawing");
    ::DrawIconEx(canvas.Handle(), dest.left, dest.top, icon_.Get(), dest.right - dest.left,
                 dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(*this);
    return copy;
}

// ---------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;

TPicture::~TPicture() {
    if (graphic_) graphic_->OnChange = nullptr;
}

void TPicture::Hook() {
    if (graphic_) graphic_->OnChange = [this](TGraphic*) { Changed(); };
}

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == graphic_.get() && graphic) return;
    SetGraphic(graphic ? graphic->Clone() : std::unique_ptr<TGraphic>());
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    if (!graphic && !graphic_) return;
    graphic_ = std::move(graphic);
    Hook();
    Changed();
}

TBitmap& TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return *b;
    auto b = std::make_unique<TBitmap>();
    TBitmap& ref = *b;
    SetGraphic(std::move(b));
    return ref;
}

TIcon& TPicture::Icon() {
    if (auto* i = dynamic_cast<TIcon*>(graphic_.get())) return *i;
    auto i = std::make_unique<TIcon>();
    TIcon& ref = *i;
    SetGraphic(std::move(i));
    return ref;
}

void TPicture::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    auto b = std::make_unique<TBitmap>();
    b->LoadFromResourceName(instance, name);
    SetGraphic(std::move(b));
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    SetGraphic(source.graphic_.get());
}

// ---------------------------------------------------------------------------
// TImageList

namespace {

// Adds one image per `width` columns of `image`, with a monochrome mask built
// from isTransparent(pixel, x, y). Masked pixels are made black in the copy so
// the list draws them the same on every comctl32.
template <class Pred>
int AddImages(HIMAGELIST list, int width, int height, const TBitmap& image, Pred isTransparent) {
    if (image.Empty()) throw EGraphicError(L"Invalid image size");
    const int count = std::max(1, image.Width() / width);
    const int tw = count * width;
    std::uint32_t* bits = nullptr;
    BitmapHandle copy = CreateDib32(tw, height, &bits);
    const int rowBytes = ((tw + 15) / 16) * 2; // CreateBitmap rows are 16-bit aligned
    std::vector<std::uint8_t> mono(std::size_t(rowBytes) * std::size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* src = y < image.Height() ? image.ScanLine(y) : nullptr;
        for (int x = 0; x < tw; ++x) {
            const bool inside = src && x < image.Width();
            const bool clear = !inside || isTransparent(src[x], x, y);
            bits[std::size_t(y) * std::size_t(tw) + std::size_t(x)] = clear ? 0 : src[x];
            if (clear)
                mono[std::size_t(y) * std::size_t(rowBytes) + std::size_t(x / 8)] |=
                    std::uint8_t(0x80 >> (x % 8));
        }
    }
    BitmapHandle mask(::CreateBitmap(tw, height, 1, 1, mono.data()));
    if (!mask) throw EGraphicError(L"Out of system resources");
    const int index = ::ImageList_Add(list, copy.Get(), mask.Get());
    if (index < 0) throw EGraphicError(L"Failed to add image");
    return index;
}

} // namespace

TImageList::TImageList(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {}

TImageList::~TImageList() = default;

void TImageList::Create() const {
    if (list_) return;
    // 24-bit colour plus mask: no alpha channel for comctl32 6 to misread.
    list_.Reset(::ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (!list_) throw EGraphicError(L"Out of system resources");
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    list_.Reset();
    Changed();
}

int TImageList::Count() const {
    return list_ ? ::ImageList_GetImageCount(list_.Get()) : 0;
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    Create();
    int index;
    if (mask) {
        index = AddImages(list_.Get(), width_, height_, image, [mask](std::uint32_t, int x, int y) {
            return (mask->Pixel(x, y) & 0xFFFFFF) == 0xFFFFFF && mask->Pixel(x, y) != clNone;
        });
    } else {
        index = AddImages(list_.Get(), width_, height_, image,
                          [](std::uint32_t, int, int) { return false; });
    }
    Changed();
    return index;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    if (maskColor == clNone) return Add(image, nullptr);
    Create();
    const TColor key =
        maskColor == clDefault ? image.Pixel(0, image.Height() - 1) : GdiColor(maskColor);
    const std::uint32_t keyPixel = ColorToPixel(key);
    const int index =
        AddImages(list_.Get(), width_, height_, image,
                  [keyPixel](std::uint32_t px, int, int) { return (px & 0xFFFFFF) == keyPixel; });
    Changed();
    return index;
}

void TImageList::Delete(int index) {
    if (!list_ || index < 0 || index >= Count()) return;
    ::ImageList_Remove(list_.Get(), index);
    Changed();
}

void TImageList::Clear() {
    if (!list_ || Count() == 0) return;
    ::ImageList_Remove(list_.Get(), -1);
    Changed();
}

void TImageList::GetBitmap(int index, TBitmap& target) const {
    target.SetSize(width_, height_);
    if (!list_ || index < 0 || index >= Count()) return;
    ::ImageList_Draw(list_.Get(), index, target.Canvas().Handle(), 0, 0, ILD_NORMAL);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (!list_ || index < 0 || index >= Count()) return;
    if (!canvas.Handle()) throw EGraphicError(L"Canvas does not allow drawing");
    if (enabled) {
        ::ImageList_Draw(list_.Get(), index, canvas.Handle(), x, y, ILD_TRANSPARENT);
        return;
    }
    // Disabled: every drawn pixel that is not white forms the shape, shown
    // embossed: highlight one pixel down-right, shadow on top of it.
    TBitmap face(width_, height_);
    ::ImageList_Draw(list_.Get(), index, face.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
    const std::uint32_t shadow = ColorToPixel(GdiColor(clBtnShadow));
    const std::uint32_t light = ColorToPixel(GdiColor(clBtnHighlight));
    std::uint32_t key = 0xFF00FF;
    while (key == shadow || key == light)
        key -= 0x010001;
    TBitmap out(width_ + 1, height_ + 1);
    for (int row = 0; row <= height_; ++row)
        std::fill_n(out.ScanLine(row), width_ + 1, key);
    for (int pass = 0; pass < 2; ++pass) {
        const int off = pass == 0 ? 1 : 0;
        const std::uint32_t colour = pass == 0 ? light : shadow;
        for (int row = 0; row < height_; ++row) {
            const std::uint32_t* src = face.ScanLine(row);
            std::uint32_t* dst = out.ScanLine(row + off);
            for (int col = 0; col < width_; ++col)
                if ((src[col] & 0xFFFFFF) != 0xFFFFFF) dst[col + off] = colour;
        }
    }
    out.SetTransparentColor(PixelToColor(key));
    out.SetTransparent(true);
    canvas.Draw(x, y, out);
}

HIMAGELIST TImageList::Handle() const {
    Create();
    return list_.Get();
}

// ---------------------------------------------------------------------------
// TOffscreenBuffer

TCanvas& TOffscreenBuffer::Prepare(int width, int height) {
    if (width != bitmap_.Width() || height != bitmap_.Height()) {
        // Nothing of the old picture is wanted: free it before allocating anew.
        bitmap_.SetSize(0, 0);
        bitmap_.SetSize(width, height);
    }
    return bitmap_.Canvas();
}

void TOffscreenBuffer::CopyTo(HDC target, int x, int y) const {
    if (bitmap_.Empty() || !target) return;
    auto& bmp = const_cast<TBitmap&>(bitmap_);
    ::BitBlt(target, x, y, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TOffscreenPaint

namespace {

// Touching fresh memory is slow under Wine: a window-sized bitmap costs
// milliseconds the first time, a few hundred microseconds after. Paints that
// keep nothing share one bitmap per nesting level (a paint asks its parent
// for the background), grown to the largest paint and kept.
thread_local std::vector<std::unique_ptr<TOffscreenBuffer>> tScratch;
thread_local std::size_t tScratchInUse = 0;

TOffscreenBuffer& AcquireScratch(int width, int height) {
    if (tScratchInUse == tScratch.size()) tScratch.push_back(std::make_unique<TOffscreenBuffer>());
    TOffscreenBuffer& scratch = *tScratch[tScratchInUse];
    TBitmap& bitmap = scratch.Bitmap();
    const int w = std::max({width, bitmap.Width(), 1}), h = std::max({height, bitmap.Height(), 1});
    // White like a fresh bitmap, so a system control's paint that leaves
    // pixels alone shows what it always showed.
    ::PatBlt(scratch.Prepare(w, h).Handle(), 0, 0, width, height, WHITENESS);
    ++tScratchInUse;
    return scratch;
}

} // namespace

TOffscreenPaint::TOffscreenPaint(TOffscreenBuffer& buffer, HDC target, int width, int height, int x,
                                 int y)
    : buffer_(buffer), target_(target), x_(x), y_(y), width_(width), height_(height),
      exceptions_(std::uncaught_exceptions()), canvas_(buffer.Prepare(width, height)) {}

TOffscreenPaint::TOffscreenPaint(HDC target, int width, int height, int x, int y)
    : buffer_(AcquireScratch(width, height)),
      scratch_(std::make_unique<TCanvasState>(buffer_.Bitmap().Canvas())), target_(target), x_(x),
      y_(y), width_(width), height_(height), exceptions_(std::uncaught_exceptions()),
      canvas_(buffer_.Bitmap().Canvas()) {}

TOffscreenPaint::~TOffscreenPaint() {
    // Unwinding from a failed paint: the screen keeps its last picture.
    if (std::uncaught_exceptions() == exceptions_ && target_ && width_ > 0 && height_ > 0)
        ::BitBlt(target_, x_, y_, width_, height_, canvas_.Handle(), 0, 0, SRCCOPY);
    if (scratch_) {
        scratch_.reset();
        --tScratchInUse;
    }
}
