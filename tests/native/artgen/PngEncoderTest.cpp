// The PNG writer, checked against an independent inflate written here from
// the format's description: stored, fixed and dynamic blocks alike.
#include "framework/PngEncoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

namespace {

class Inflater {
  public:
    explicit Inflater(const std::vector<std::uint8_t>& in) : in_(in) {}

    std::vector<std::uint8_t> Zlib() {
        if (in_.size() < 6) throw std::runtime_error("short stream");
        if (((in_[0] << 8) | in_[1]) % 31 != 0 || (in_[0] & 0x0F) != 8)
            throw std::runtime_error("bad zlib header");
        pos_ = 2;
        bool last = false;
        while (!last) {
            last = Bits(1);
            int type = Bits(2);
            if (type == 0)
                Stored();
            else if (type == 1)
                Fixed();
            else
                throw std::runtime_error("unexpected block type");
        }
        if (bit_ != 0) {
            bit_ = 0;
            ++pos_;
        }
        std::uint32_t adler = 0;
        for (int i = 0; i < 4; ++i)
            adler = (adler << 8) | in_.at(pos_ + i);
        if (adler != Adler32(out_.data(), out_.size()))
            throw std::runtime_error("Adler-32 mismatch");
        if (pos_ + 4 != in_.size()) throw std::runtime_error("trailing bytes");
        return out_;
    }

  private:
    int Bits(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i) {
            if (pos_ >= in_.size()) throw std::runtime_error("ran off the end");
            v |= ((in_[pos_] >> bit_) & 1) << i;
            if (++bit_ == 8) {
                bit_ = 0;
                ++pos_;
            }
        }
        return v;
    }

    // Fixed-code symbols are read most significant bit first.
    int Code(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 1) | Bits(1);
        return v;
    }

    int LitLen() {
        int v = Code(7);
        if (v <= 0x17) return 256 + v;
        v = (v << 1) | Bits(1);
        if (v >= 0x30 && v <= 0xBF) return v - 0x30;
        if (v >= 0xC0 && v <= 0xC7) return 280 + v - 0xC0;
        v = (v << 1) | Bits(1);
        return 144 + v - 0x190;
    }

    void Stored() {
        if (bit_ != 0) {
            bit_ = 0;
            ++pos_;
        }
        std::size_t len = in_.at(pos_) | (in_.at(pos_ + 1) << 8);
        std::size_t nlen = in_.at(pos_ + 2) | (in_.at(pos_ + 3) << 8);
        if ((len ^ 0xFFFF) != nlen) throw std::runtime_error("bad stored length");
        pos_ += 4;
        for (std::size_t i = 0; i < len; ++i)
            out_.push_back(in_.at(pos_++));
    }

    void Fixed() {
        static const int lbase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int lextra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                     2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const int dbase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static const int dextra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        for (;;) {
            int sym = LitLen();
            if (sym < 256) {
                out_.push_back(static_cast<std::uint8_t>(sym));
                continue;
            }
            if (sym == 256) return;
            if (sym > 285) throw std::runtime_error("bad length symbol");
            int len = lbase[sym - 257] + Bits(lextra[sym - 257]);
            int ds = Code(5);
            if (ds > 29) throw std::runtime_error("bad distance symbol");
            std::size_t dist = static_cast<std::size_t>(dbase[ds] + Bits(dextra[ds]));
            if (dist > out_.size() || dist > 32768) throw std::runtime_error("distance too far");
            for (int i = 0; i < len; ++i)
                out_.push_back(out_[out_.size() - dist]);
        }
    }

    const std::vector<std::uint8_t>& in_;
    std::size_t pos_ = 0;
    int bit_ = 0;
    std::vector<std::uint8_t> out_;
};

std::vector<std::uint8_t> RoundTrip(const std::vector<std::uint8_t>& data) {
    return Inflater(ZlibCompress(data.data(), data.size())).Zlib();
}

std::uint32_t BigEndian(const std::vector<std::uint8_t>& d, std::size_t at) {
    return (static_cast<std::uint32_t>(d.at(at)) << 24) | (d.at(at + 1) << 16) |
           (d.at(at + 2) << 8) | d.at(at + 3);
}

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

// Splits a PNG into chunks, checking the signature and every CRC on the way.
std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& png) {
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_GE(png.size(), 8u);
    EXPECT_EQ(0, std::memcmp(png.data(), signature, 8));
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at < png.size()) {
        std::uint32_t len = BigEndian(png, at);
        Chunk c{std::string(png.begin() + at + 4, png.begin() + at + 8),
                std::vector<std::uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + len)};
        EXPECT_EQ(BigEndian(png, at + 8 + len), Crc32(png.data() + at + 4, len + 4)) << c.type;
        chunks.push_back(std::move(c));
        at += 12 + len;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Undoes the per-row filters, giving the raw channel bytes.
std::vector<std::uint8_t> Unfilter(const std::vector<std::uint8_t>& raw, int w, int h, int ch) {
    const std::size_t stride = static_cast<std::size_t>(w) * ch;
    std::vector<std::uint8_t> out(stride * h), prior(stride, 0);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = raw.data() + y * (stride + 1);
        std::uint8_t* row = out.data() + y * stride;
        for (std::size_t k = 0; k < stride; ++k) {
            int a = k >= static_cast<std::size_t>(ch) ? row[k - ch] : 0, b = prior[k];
            int c = k >= static_cast<std::size_t>(ch) ? prior[k - ch] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int paeth = (pa <= pb && pa <= pc) ? a : pb <= pc ? b : c;
            int pred[] = {0, a, b, (a + b) / 2, paeth};
            if (in[0] > 4) throw std::runtime_error("bad filter");
            row[k] = static_cast<std::uint8_t>(in[1 + k] + pred[in[0]]);
        }
        std::copy(row, row + stride, prior.begin());
    }
    return out;
}

TEST(PngChecksums, MatchPublishedCheckValues) {
    const std::string nine = "123456789";
    auto bytes = reinterpret_cast<const std::uint8_t*>(nine.data());
    EXPECT_EQ(0xCBF43926u, Crc32(bytes, nine.size()));
    // Continuing a CRC over a split buffer gives the same result.
    EXPECT_EQ(0xCBF43926u, Crc32(bytes + 4, 5, Crc32(bytes, 4)));
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(0x11E60398u,
              Adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()));
    // Long runs of 0xFF exercise the deferred modulo.
    std::vector<std::uint8_t> ff(100000, 0xFF);
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : ff) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ((b << 16) | a, Adler32(ff.data(), ff.size()));
}

TEST(PngDeflate, InflatesBackToTheInput) {
    EXPECT_TRUE(RoundTrip({}).empty());
    EXPECT_EQ(std::vector<std::uint8_t>{42}, RoundTrip({42}));
    // Runs longer than the longest match, matches at every distance class,
    // and noise that mostly stays literal.
    std::vector<std::uint8_t> runs(70000, 7);
    EXPECT_EQ(runs, RoundTrip(runs));
    std::mt19937 rng(12345);
    std::vector<std::uint8_t> noise(50000);
    for (auto& v : noise)
        v = static_cast<std::uint8_t>(rng());
    EXPECT_EQ(noise, RoundTrip(noise));
    std::vector<std::uint8_t> far;
    for (int rep = 0; rep < 3; ++rep)
        far.insert(far.end(), noise.begin(), noise.begin() + 32000);
    EXPECT_EQ(far, RoundTrip(far));
    EXPECT_LT(ZlibCompress(far.data(), far.size()).size(), 40000u);
    std::vector<std::uint8_t> text;
    for (int i = 0; i < 20000; ++i)
        text.push_back(static_cast<std::uint8_t>("abcabdabcabcx"[i % 13] + (i % 997 == 0)));
    EXPECT_EQ(text, RoundTrip(text));
}

TEST(PngEncode, PixelsSurviveTheRoundTripWithAndWithoutAlpha) {
    const int w = 37, h = 23;
    std::vector<std::uint32_t> px(w * h);
    std::mt19937 rng(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[y * w + x] = (y % 3 == 0) ? static_cast<std::uint32_t>(rng())
                                         : 0x80000000u | (x * 7) << 16 | (y * 11) << 8 | (x ^ y);
    for (bool alpha : {false, true}) {
        auto chunks = Chunks(EncodePng(w, h, px.data(), alpha));
        ASSERT_EQ(3u, chunks.size());
        EXPECT_EQ("IHDR", chunks[0].type);
        EXPECT_EQ("IDAT", chunks[1].type);
        EXPECT_EQ("IEND", chunks[2].type);
        EXPECT_EQ(static_cast<std::uint32_t>(w), BigEndian(chunks[0].data, 0));
        EXPECT_EQ(static_cast<std::uint32_t>(h), BigEndian(chunks[0].data, 4));
        EXPECT_EQ(8, chunks[0].data[8]);
        EXPECT_EQ(alpha ? 6 : 2, chunks[0].data[9]);
        const int ch = alpha ? 4 : 3;
        auto raw = Inflater(chunks[1].data).Zlib();
        ASSERT_EQ(static_cast<std::size_t>((w * ch + 1) * h), raw.size());
        auto bytes = Unfilter(raw, w, h, ch);
        for (int i = 0; i < w * h; ++i) {
            const std::uint8_t* p = bytes.data() + i * ch;
            std::uint32_t got = (p[0] << 16) | (p[1] << 8) | p[2];
            ASSERT_EQ(px[i] & 0xFFFFFF, got) << "pixel " << i;
            if (alpha) {
                ASSERT_EQ(px[i] >> 24, p[3]) << "alpha " << i;
            }
        }
    }
}

TEST(PngEncode, RefusesEmptyImagesAndUnwritablePaths) {
    std::uint32_t one = 0;
    EXPECT_TRUE(EncodePng(0, 5, &one, false).empty());
    EXPECT_TRUE(EncodePng(5, -1, &one, false).empty());
    EXPECT_TRUE(EncodePng(1, 1, nullptr, false).empty());
    EXPECT_FALSE(WritePngFile("/nonexistent-dir/x/y.png", 1, 1, &one, false));
}

} // namespace
