#include "tools/artgen/Files.h"

#include <cstdio>
#include <memory>

namespace artgen {

namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::uint32_t Get16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | (d[at + 1] << 8);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits,
                   std::uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}
} // namespace

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bmp) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(bmp.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(bmp.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    PutInfoHeader(out, bmp.width, bmp.height, 24, imageSize);
    for (int y = bmp.height - 1; y >= 0; --y) {
        std::size_t rowStart = out.size();
        for (int x = 0; x < bmp.width; ++x) {
            std::uint32_t p = bmp.At(x, y);
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
            out.push_back(static_cast<std::uint8_t>(p >> 16));
        }
        while (out.size() - rowStart < stride)
            out.push_back(0);
    }
    return out;
}

std::optional<Bitmap> DecodeBmp(const std::vector<std::uint8_t>& d) {
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || Get32(d, 14) < 40) return std::nullopt;
    const std::uint32_t offset = Get32(d, 10);
    const auto width = static_cast<std::int32_t>(Get32(d, 18));
    const auto height = static_cast<std::int32_t>(Get32(d, 22));
    if (Get16(d, 28) != 24 || Get32(d, 30) != 0 || width <= 0 || height <= 0) return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (d.size() < offset + stride * static_cast<std::size_t>(height)) return std::nullopt;
    Bitmap bmp{width, height, {}};
    bmp.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::size_t at = row + static_cast<std::size_t>(x) * 3;
            bmp.At(x, y) = d[at] | (d[at + 1] << 8) | (d[at + 2] << 16);
        }
    }
    return bmp;
}

std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const IconImage& img : images) {
        std::vector<std::uint8_t> body;
        const int n = img.size;
        const std::uint32_t maskStride = ((static_cast<std::uint32_t>(n) + 31) / 32) * 4;
        const std::uint32_t xorSize = static_cast<std::uint32_t>(n * n * 4);
        // An icon's DIB header counts the colour and mask rows together.
        PutInfoHeader(body, n, n * 2, 32, xorSize + maskStride * static_cast<std::uint32_t>(n));
        for (int y = n - 1; y >= 0; --y)
            for (int x = 0; x < n; ++x)
                Put32(body, img.argb[static_cast<std::size_t>(y) * n + x]);
        for (int y = n - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(maskStride, 0);
            for (int x = 0; x < n; ++x)
                if ((img.argb[static_cast<std::size_t>(y) * n + x] >> 24) < 128)
                    row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            body.insert(body.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(body));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].size >= 256 ? 0 : images[i].size));
        out.push_back(static_cast<std::uint8_t>(images[i].size >= 256 ? 0 : images[i].size));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    if (std::fwrite(data.data(), 1, data.size(), f.get()) != data.size()) return false;
    return std::fflush(f.get()) == 0;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return std::nullopt;
    std::vector<std::uint8_t> data;
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        data.insert(data.end(), buf, buf + n);
    return data;
}

} // namespace artgen
