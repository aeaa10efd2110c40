#include "framework/PngEncoder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

class BitWriter {
  public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // Deflate packs values least significant bit first.
    void Put(std::uint32_t value, int count) {
        acc_ |= static_cast<std::uint64_t>(value) << used_;
        used_ += count;
        while (used_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
            acc_ >>= 8;
            used_ -= 8;
        }
    }

    // Huffman codes go out most significant bit first.
    void PutCode(std::uint32_t code, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }

    void Flush() {
        if (used_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
        acc_ = 0;
        used_ = 0;
    }

  private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int used_ = 0;
};

void PutLiteral(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
    int li = 28;
    while (kLengthBase[li] > length)
        --li;
    PutLiteral(bits, 257 + li);
    bits.Put(length - kLengthBase[li], kLengthExtra[li]);
    int di = 29;
    while (kDistBase[di] > distance)
        --di;
    bits.PutCode(di, 5);
    bits.Put(distance - kDistBase[di], kDistExtra[di]);
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[5],
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

int Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

} // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler) {
    std::uint32_t a = adler & 0xFFFFu, b = adler >> 16;
    while (size > 0) {
        // 5552 bytes is the longest run that cannot overflow b before the modulo.
        std::size_t n = size < 5552 ? size : 5552;
        size -= n;
        while (n-- > 0) {
            a += *data++;
            b += a;
        }
        a %= 65521u;
        b %= 65521u;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> ZlibCompress(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size / 4 + 64);
    out.push_back(0x78); // deflate, 32 KiB window
    out.push_back(0x01); // fastest level, check bits make 0x7801 a multiple of 31

    constexpr int kHashBits = 15;
    constexpr std::size_t kWindow = 32768;
    constexpr int kMaxChain = 48;
    constexpr std::size_t kMaxMatch = 258;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> head(std::size_t{1} << kHashBits, kNone);
    std::vector<std::size_t> prev(kWindow, kNone);
    auto hashAt = [&](std::size_t i) {
        std::uint32_t v = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](std::size_t i) {
        if (i + 2 >= size) return;
        std::uint32_t h = hashAt(i);
        prev[i % kWindow] = head[h];
        head[h] = i;
    };

    BitWriter bits(out);
    bits.Put(1, 1); // one final block
    bits.Put(1, 2); // with the fixed codes
    std::size_t i = 0;
    while (i < size) {
        std::size_t bestLen = 0, bestDist = 0;
        if (i + 2 < size) {
            std::size_t candidate = head[hashAt(i)];
            std::size_t limit = size - i < kMaxMatch ? size - i : kMaxMatch;
            for (int chain = 0; chain < kMaxChain && candidate != kNone; ++chain) {
                if (i - candidate > kWindow - 1) break;
                std::size_t len = 0;
                while (len < limit && data[candidate + len] == data[i + len])
                    ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = i - candidate;
                    if (len == limit) break;
                }
                std::size_t next = prev[candidate % kWindow];
                if (next == kNone || next >= candidate) break;
                candidate = next;
            }
        }
        if (bestLen >= 3) {
            PutMatch(bits, static_cast<int>(bestLen), static_cast<int>(bestDist));
            for (std::size_t k = 0; k < bestLen; ++k)
                insert(i + k);
            i += bestLen;
        } else {
            PutLiteral(bits, data[i]);
            insert(i);
            ++i;
        }
    }
    PutLiteral(bits, 256);
    bits.Flush();
    PutBigEndian(out, Adler32(data, size));
    return out;
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels,
                                    bool withAlpha) {
    if (width <= 0 || height <= 0 || pixels == nullptr) return {};
    const std::size_t channels = withAlpha ? 4 : 3;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t stride = w * channels;

    // Each row goes through the filter with the smallest sum of absolute
    // residuals, the usual cheap guess at what deflates best.
    std::vector<std::uint8_t> raw;
    raw.reserve((stride + 1) * h);
    std::vector<std::uint8_t> prior(stride, 0), row(stride);
    std::array<std::vector<std::uint8_t>, 5> trial;
    for (auto& t : trial)
        t.resize(stride);
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* src = pixels + y * w;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t p = src[x];
            std::uint8_t* d = row.data() + x * channels;
            d[0] = static_cast<std::uint8_t>(p >> 16);
            d[1] = static_cast<std::uint8_t>(p >> 8);
            d[2] = static_cast<std::uint8_t>(p);
            if (withAlpha) d[3] = static_cast<std::uint8_t>(p >> 24);
        }
        int bestFilter = 0;
        long bestScore = -1;
        for (int f = 0; f < 5; ++f) {
            long score = 0;
            for (std::size_t k = 0; k < stride; ++k) {
                int a = k >= channels ? row[k - channels] : 0;
                int b = prior[k];
                int c = k >= channels ? prior[k - channels] : 0;
                int predictor = f == 0   ? 0
                                : f == 1 ? a
                                : f == 2 ? b
                                : f == 3 ? (a + b) / 2
                                         : Paeth(a, b, c);
                auto v = static_cast<std::uint8_t>(row[k] - predictor);
                trial[f][k] = v;
                score += v < 128 ? v : 256 - v;
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestFilter = f;
            }
        }
        raw.push_back(static_cast<std::uint8_t>(bestFilter));
        raw.insert(raw.end(), trial[bestFilter].begin(), trial[bestFilter].end());
        prior.swap(row);
    }

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.push_back(8);                 // bits per channel
    header.push_back(withAlpha ? 6 : 2); // RGBA or RGB
    header.push_back(0);                 // deflate
    header.push_back(0);                 // adaptive filtering
    header.push_back(0);                 // not interlaced
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibCompress(raw.data(), raw.size()));
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePngFile(const std::string& path, int width, int height, const std::uint32_t* pixels,
                  bool withAlpha) {
    std::vector<std::uint8_t> png = EncodePng(width, height, pixels, withAlpha);
    if (png.empty()) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) return false;
    if (std::fwrite(png.data(), 1, png.size(), file.get()) != png.size()) return false;
    return std::fflush(file.get()) == 0;
}
