#include "framework/Graphics.h"

#include "framework/GraphicsInternal.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>

namespace {

// Large enough for any window of ours, small enough that sizes never overflow.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

[[noreturn]] void InvalidBitmap() {
    throw EGraphicError(L"Bitmap image is not valid");
}

void CheckSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels)
        throw EGraphicError(L"Invalid image size");
}

// Little-endian reads that never step outside the data.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : d_(data) {}
    std::uint8_t U8(std::size_t at) const {
        if (at >= d_.size()) InvalidBitmap();
        return d_[at];
    }
    std::uint16_t U16(std::size_t at) const {
        Need(at, 2);
        return std::uint16_t(d_[at] | (d_[at + 1] << 8));
    }
    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return std::uint32_t(d_[at]) | (std::uint32_t(d_[at + 1]) << 8) |
               (std::uint32_t(d_[at + 2]) << 16) | (std::uint32_t(d_[at + 3]) << 24);
    }
    std::int32_t I32(std::size_t at) const { return std::int32_t(U32(at)); }
    void Need(std::size_t at, std::uint64_t count) const {
        if (at > d_.size() || count > d_.size() - at) InvalidBitmap();
    }
    std::size_t Size() const { return d_.size(); }
    const std::uint8_t* At(std::size_t at) const { return d_.data() + at; }

  private:
    std::span<const std::uint8_t> d_;
};

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1))
            ++shift;
        std::uint32_t v = m >> shift;
        while (v & 1) {
            ++bits;
            v >>= 1;
        }
        if (v) InvalidBitmap(); // the mask's bits must be contiguous
    }
    std::uint32_t Get(std::uint32_t px) const {
        if (!bits) return 0;
        std::uint32_t v = (px & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        std::uint32_t max = (1u << bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

void DecodeRle(const ByteReader& rd, std::size_t pos, bool rle8, int width, int height,
               const std::vector<std::uint32_t>& palette, std::vector<std::uint32_t>& out) {
    std::int64_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](unsigned index) {
        if (x < width && y < height)
            out[std::size_t(height - 1 - y) * std::size_t(width) + std::size_t(x)] = palette[index];
        ++x;
    };
    while (y < height) {
        std::uint8_t n = rd.U8(pos++);
        std::uint8_t v = rd.U8(pos++);
        if (n > 0) {
            for (int i = 0; i < n; ++i)
                put(rle8 ? v : (i % 2 == 0 ? v >> 4 : v & 0x0F));
            continue;
        }
        if (v == 0) { // end of line
            x = 0;
            ++y;
        } else if (v == 1) { // end of bitmap
            break;
        } else if (v == 2) { // move right and up
            x += rd.U8(pos);
            y += rd.U8(pos + 1);
            pos += 2;
        } else { // v literal pixels, padded to a 16-bit boundary
            std::size_t bytes = rle8 ? v : (v + 1u) / 2;
            rd.Need(pos, bytes);
            for (int i = 0; i < v; ++i) {
                unsigned index = rle8 ? rd.U8(pos + std::size_t(i))
                                      : (i % 2 == 0 ? rd.U8(pos + std::size_t(i / 2)) >> 4
                                                    : rd.U8(pos + std::size_t(i / 2)) & 0x0F);
                put(index);
            }
            pos += bytes + (bytes & 1);
        }
    }
}

// What a DIB's header says, checked against what we decode.
struct DibHeader {
    std::uint32_t size = 0; // of the header itself
    bool core = false;      // a BITMAPCOREHEADER: 16-bit sizes, 3-byte colours
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    unsigned bpp = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
};

DibHeader ReadDibHeader(const ByteReader& rd, std::size_t h) {
    DibHeader d;
    d.size = rd.U32(h);
    d.core = d.size == sizeof(BITMAPCOREHEADER);
    unsigned planes = 0;
    if (d.core) {
        d.width = rd.U16(h + 4);
        d.height = rd.U16(h + 6);
        planes = rd.U16(h + 8);
        d.bpp = rd.U16(h + 10);
    } else if (d.size >= sizeof(BITMAPINFOHEADER) && d.size <= 4096) {
        rd.Need(h, d.size);
        d.width = rd.I32(h + 4);
        d.height = rd.I32(h + 8);
        planes = rd.U16(h + 12);
        d.bpp = rd.U16(h + 14);
        d.compression = rd.U32(h + 16);
        d.colorsUsed = rd.U32(h + 32);
    } else {
        InvalidBitmap();
    }
    d.topDown = d.height < 0;
    if (d.topDown) d.height = -d.height;
    if (planes != 1 || d.width <= 0 || d.height <= 0 || d.width > kMaxSide || d.height > kMaxSide ||
        d.width * d.height > kMaxPixels)
        InvalidBitmap();

    switch (d.compression) {
    case BI_RGB:
        if (d.bpp != 1 && d.bpp != 4 && d.bpp != 8 && d.bpp != 16 && d.bpp != 24 && d.bpp != 32)
            InvalidBitmap();
        break;
    case BI_RLE8:
        if (d.bpp != 8 || d.topDown) InvalidBitmap();
        break;
    case BI_RLE4:
        if (d.bpp != 4 || d.topDown) InvalidBitmap();
        break;
    case BI_BITFIELDS:
        if ((d.bpp != 16 && d.bpp != 32) || d.core) InvalidBitmap();
        break;
    default:
        throw EGraphicError(L"Unsupported bitmap format");
    }
    return d;
}

// The channel masks of 16- and 32-bit pixels; moves table past masks that
// follow a plain info header.
void ReadMasks(const ByteReader& rd, std::size_t h, const DibHeader& d, std::size_t& table,
               std::uint32_t (&masks)[3]) {
    if (d.bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    if (d.compression != BI_BITFIELDS) return;
    // A plain info header is followed by the masks; later headers hold them.
    std::size_t at = d.size >= 52 ? h + 40 : table;
    for (int i = 0; i < 3; ++i)
        masks[i] = rd.U32(at + std::size_t(i) * 4);
    if (d.size < 52) table += 12;
}

// The colour table of images up to 8 bits (indexes past it read black);
// colorCount is the number of entries the file holds.
std::vector<std::uint32_t> ReadPalette(const ByteReader& rd, std::size_t table, const DibHeader& d,
                                       std::uint64_t& colorCount) {
    const std::size_t entrySize = d.core ? 3 : 4;
    colorCount = d.colorsUsed;
    std::vector<std::uint32_t> palette;
    if (d.bpp <= 8) {
        const std::uint32_t maxColors = 1u << d.bpp;
        if (colorCount == 0) colorCount = maxColors;
        if (colorCount > maxColors) InvalidBitmap();
        rd.Need(table, colorCount * entrySize);
        palette.assign(maxColors, 0);
        for (std::size_t i = 0; i < colorCount; ++i) {
            std::size_t at = table + i * entrySize;
            palette[i] = (std::uint32_t(rd.U8(at + 2)) << 16) |
                         (std::uint32_t(rd.U8(at + 1)) << 8) | rd.U8(at);
        }
    } else if (colorCount > 65536) {
        InvalidBitmap();
    }
    return palette;
}

// Uncompressed rows, bottom-up unless the header said top-down.
void DecodeRows(const ByteReader& rd, std::size_t bits, const DibHeader& d,
                const std::vector<std::uint32_t>& palette, const std::uint32_t (&masks)[3],
                DecodedImage& img) {
    const std::int64_t width = d.width, height = d.height;
    const std::uint64_t stride = ((std::uint64_t(width) * d.bpp + 31) / 32) * 4;
    rd.Need(bits, stride * std::uint64_t(height));
    const Channel r(masks[0]), g(masks[1]), b(masks[2]);
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t srcRow = d.topDown ? row : height - 1 - row;
        const std::uint8_t* p = rd.At(bits + std::size_t(srcRow) * std::size_t(stride));
        std::uint32_t* out = img.pixels.data() + std::size_t(row * width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t v;
            switch (d.bpp) {
            case 1:
                v = palette[(p[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                v = palette[(p[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
                break;
            case 8:
                v = palette[p[x]];
                break;
            case 16: {
                std::uint32_t px = p[2 * x] | (p[2 * x + 1] << 8);
                v = (r.Get(px) << 16) | (g.Get(px) << 8) | b.Get(px);
                break;
            }
            case 24:
                v = (std::uint32_t(p[3 * x + 2]) << 16) | (p[3 * x + 1] << 8) | p[3 * x];
                break;
            default: {
                std::uint32_t px;
                std::memcpy(&px, p + 4 * x, 4);
                v = (r.Get(px) << 16) | (g.Get(px) << 8) | b.Get(px);
            }
            }
            out[x] = v;
        }
    }
}

} // namespace

BitmapHandle CreateDib32(int width, int height, std::uint32_t** bits) {
    CheckSize(width, height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down: row 0 is the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP h = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    if (!h || !p) {
        if (h) ::DeleteObject(h);
        throw EGraphicError(L"Out of system resources");
    }
    *bits = static_cast<std::uint32_t*>(p);
    return BitmapHandle(h);
}

DecodedImage DecodeDib(std::span<const std::uint8_t> data, std::size_t headerOffset,
                       std::size_t bitsOffset, bool bitsOffsetGiven) {
    ByteReader rd(data);
    const DibHeader d = ReadDibHeader(rd, headerOffset);
    std::size_t table = headerOffset + d.size;
    std::uint32_t masks[3];
    ReadMasks(rd, headerOffset, d, table, masks);
    std::uint64_t colorCount = 0;
    const std::vector<std::uint32_t> palette = ReadPalette(rd, table, d, colorCount);

    const std::size_t entrySize = d.core ? 3 : 4;
    const std::size_t bits = bitsOffsetGiven ? bitsOffset : table + colorCount * entrySize;
    if (bits > rd.Size()) InvalidBitmap();

    DecodedImage img;
    img.width = int(d.width);
    img.height = int(d.height);
    img.pixels.assign(std::size_t(d.width * d.height), 0);
    if (d.compression == BI_RLE8 || d.compression == BI_RLE4)
        DecodeRle(rd, bits, d.compression == BI_RLE8, img.width, img.height, palette, img.pixels);
    else
        DecodeRows(rd, bits, d, palette, masks, img);
    return img;
}

// ---------------------------------------------------------------------------
// TGraphic

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    // The DIB leaves the canvas's DC before either is freed.
    canvasSelection_.reset();
}

void TBitmap::Allocate(int width, int height, BitmapHandle& bmp, std::uint32_t*& bits) const {
    bmp = CreateDib32(width, height, &bits);
}

void TBitmap::Adopt(int width, int height, BitmapHandle bmp, std::uint32_t* bits) {
    canvasSelection_.reset();
    bitmap_ = std::move(bmp);
    bits_ = bitmap_ ? bits : nullptr;
    width_ = width;
    height_ = height;
    if (canvas_ && bitmap_)
        canvasSelection_ = std::make_unique<ObjectSelection>(canvas_->Handle(), bitmap_.Get());
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (width == 0 || height == 0) {
        Adopt(width, height, BitmapHandle(), nullptr);
        Changed();
        return;
    }
    BitmapHandle bmp;
    std::uint32_t* bits = nullptr;
    Allocate(width, height, bmp, bits);
    std::fill(bits, bits + std::size_t(width) * std::size_t(height), 0x00FFFFFFu);
    if (bits_) {
        ::GdiFlush();
        const int w = std::min(width, width_), rows = std::min(height, height_);
        for (int y = 0; y < rows; ++y)
            std::memcpy(bits + std::size_t(y) * std::size_t(width),
                        bits_ + std::size_t(y) * std::size_t(width_), std::size_t(w) * 4);
    }
    Adopt(width, height, std::move(bmp), bits);
    Changed();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TMemoryCanvas>();
        if (bitmap_)
            canvasSelection_ = std::make_unique<ObjectSelection>(canvas_->Handle(), bitmap_.Get());
    }
    return *canvas_;
}

std::uint32_t* TBitmap::ScanLine(int y) {
    if (!bits_ || y < 0 || y >= height_) throw EGraphicError(L"Scan line index out of range");
    ::GdiFlush();
    return bits_ + std::size_t(y) * std::size_t(width_);
}

const std::uint32_t* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

TColor TBitmap::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    ::GdiFlush();
    return PixelToColor(bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    ::GdiFlush();
    bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = ColorToPixel(GdiColor(color));
}

void TBitmap::Fill(TColor color) {
    if (!bits_) return;
    ::GdiFlush();
    std::fill(bits_, bits_ + std::size_t(width_) * std::size_t(height_),
              ColorToPixel(GdiColor(color)));
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
    if (color == transparentColor_ && mode == transparentMode_) return;
    transparentColor_ = color;
    transparentMode_ = mode;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    // Fixing the mode freezes the colour the automatic rule gives now.
    SetTransparentColor(mode == tmAuto ? clDefault : TransparentColor());
}

static void StoreDecoded(TBitmap& target, const DecodedImage& img);

void TBitmap::LoadFromDIB(std::span<const std::uint8_t> dib) {
    DecodedImage img = DecodeDib(dib, 0, 0, false);
    StoreDecoded(*this, img);
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> file) {
    ByteReader rd(file);
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') InvalidBitmap();
    const std::uint32_t offBits = rd.U32(10);
    if (offBits < 14 + 12) InvalidBitmap();
    DecodedImage img = DecodeDib(file, 14, offBits, true);
    StoreDecoded(*this, img);
}

void TBitmap::LoadFromStream(std::istream& stream) {
    std::vector<std::uint8_t> bytes;
    char buf[4096];
    while (stream.read(buf, sizeof buf) || stream.gcount() > 0)
        bytes.insert(bytes.end(), buf, buf + stream.gcount());
    LoadFromBytes(bytes);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HRSRC res = ::FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!res) throw EGraphicResNotFound(L"Resource " + name + L" not found");
    HGLOBAL mem = ::LoadResource(instance, res);
    const void* p = mem ? ::LockResource(mem) : nullptr;
    const DWORD size = ::SizeofResource(instance, res);
    if (!p) throw EGraphicResNotFound(L"Resource " + name + L" not found");
    LoadFromDIB(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(p), size));
}

void TBitmap::LoadFromHandle(HBITMAP source) {
    BITMAP bm{};
    if (!source || !::GetObjectW(source, sizeof bm, &bm)) InvalidBitmap();
    const int w = bm.bmWidth, h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    BitmapHandle bmp;
    std::uint32_t* bits = nullptr;
    Allocate(w, h, bmp, bits);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    WindowDC screen(nullptr);
    if (::GetDIBits(screen.Get(), source, 0, UINT(h), bits, &bi, DIB_RGB_COLORS) != h)
        InvalidBitmap();
    for (std::size_t i = 0, n = std::size_t(w) * std::size_t(h); i < n; ++i)
        bits[i] &= 0x00FFFFFFu;
    Adopt(w, h, std::move(bmp), bits);
    Changed();
}

static void StoreDecoded(TBitmap& target, const DecodedImage& img) {
    // Through a scratch bitmap, so a failure leaves the target untouched.
    TBitmap scratch(img.width, img.height);
    std::memcpy(scratch.ScanLine(0), img.pixels.data(), img.pixels.size() * 4);
    scratch.SetTransparent(target.Transparent());
    if (target.TransparentMode() == tmFixed) scratch.SetTransparentColor(target.TransparentColor());
    target.Assign(scratch);
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    const std::size_t w = std::size_t(width_), h = std::size_t(height_);
    const std::size_t stride = bits_ ? (w * 3 + 3) & ~std::size_t(3) : 0;
    const std::size_t imageSize = bits_ ? stride * h : 0;
    const std::size_t offBits = 14 + sizeof(BITMAPINFOHEADER);
    std::vector<std::uint8_t> out(offBits + imageSize, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = std::uint8_t(v);
        out[at + 1] = std::uint8_t(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, std::uint32_t(out.size()));
    put32(10, std::uint32_t(offBits));
    put32(14, sizeof(BITMAPINFOHEADER));
    put32(18, std::uint32_t(bits_ ? w : 0));
    put32(22, std::uint32_t(bits_ ? h : 0));
    put16(26, 1);
    put16(28, 24);
    put32(30, BI_RGB);
    put32(34, std::uint32_t(imageSize));
    put32(38, 3780); // 96 dpi
    put32(42, 3780);
    if (bits_) {
        ::GdiFlush();
        for (std::size_t y = 0; y < h; ++y) {
            std::uint8_t* row = out.data() + offBits + (h - 1 - y) * stride; // bottom-up
            const std::uint32_t* src = bits_ + y * w;
            for (std::size_t x = 0; x < w; ++x) {
                row[3 * x] = std::uint8_t(src[x]);
                row[3 * x + 1] = std::uint8_t(src[x] >> 8);
                row[3 * x + 2] = std::uint8_t(src[x] >> 16);
            }
        }
    }
    return out;
}

void TBitmap::LoadFromFile(const std::wstring& fileName) {
    LoadFromBytes(ReadFileBytes(fileName));
}

void TBitmap::SaveToFile(const std::wstring& fileName) const {
    WriteFileBytes(fileName, SaveToBytes());
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    if (source.bits_) {
        BitmapHandle bmp;
        std::uint32_t* bits = nullptr;
        Allocate(source.width_, source.height_, bmp, bits);
        ::GdiFlush();
        std::memcpy(bits, source.bits_,
                    std::size_t(source.width_) * std::size_t(source.height_) * 4);
        Adopt(source.width_, source.height_, std::move(bmp), bits);
    } else {
        Adopt(source.width_, source.height_, BitmapHandle(), nullptr);
    }
    transparentColor_ = source.transparentColor_;
    transparentMode_ = source.transparentMode_;
    StoreTransparent(source.Transparent());
    Changed();
}

BitmapHandle TBitmap::CopyHandle() const {
    if (!bits_) return BitmapHandle();
    std::uint32_t* bits = nullptr;
    BitmapHandle copy = CreateDib32(width_, height_, &bits);
    ::GdiFlush();
    std::memcpy(bits, bits_, std::size_t(width_) * std::size_t(height_) * 4);
    return copy;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

HDC TBitmap::SourceDC(MemoryDC& temp, std::unique_ptr<ObjectSelection>& sel) const {
    if (canvas_) return canvas_->Handle();
    temp.Reset(::CreateCompatibleDC(nullptr));
    if (!temp) throw EGraphicError(L"Out of system resources");
    sel = std::make_unique<ObjectSelection>(temp.Get(), bitmap_.Get());
    return temp.Get();
}

void TBitmap::Draw(TCanvas& canvas, const RECT& dest) const {
    if (Empty() || !bitmap_) return;
    HDC dst = canvas.Handle();
    if (!dst) throw EGraphicError(L"Canvas does not allow drawing");
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    if (dw == 0 || dh == 0) return;
    MemoryDC temp;
    std::unique_ptr<ObjectSelection> sel;
    HDC src = SourceDC(temp, sel);
    if (Transparent()) {
        if (dw < 0 || dh < 0) return; // TransparentBlt cannot mirror
        StretchModeScope mode(dst);
        ::TransparentBlt(dst, dest.left, dest.top, dw, dh, src, 0, 0, width_, height_,
                         GdiColor(TransparentColor()));
    } else if (dw == width_ && dh == height_) {
        ::BitBlt(dst, dest.left, dest.top, dw, dh, src, 0, 0, canvas.CopyMode());
    } else {
        StretchModeScope mode(dst);
        ::StretchBlt(dst, dest.left, dest.top, dw, dh, src, 0, 0, width_, height_,
                     canvas.CopyMode());
    }
}
