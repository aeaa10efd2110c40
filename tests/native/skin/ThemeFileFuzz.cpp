// theme_file_fuzz --seconds N --seed S
//
// Throws random bytes and mutations of valid theme files at the parser for
// N seconds. Every input sits in a heap block of exactly its size, so a read
// past the end shows up under AddressSanitizer. The parser may accept or
// refuse; anything but a ThemeFileError escaping it is a failure.
#include "skin/SUIThemeFile.h"
#include "ThemeFileWriter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <string>
#include <vector>

using theme_test::PutU32;
using theme_test::ThemeFileWriter;
namespace L = ThemeFileLayout;

namespace {

using Rng = std::mt19937_64;
using Bytes = std::vector<std::uint8_t>;

std::size_t Below(Rng& rng, std::size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}

// A valid file with a random mix of entries, keys drawn mostly from the
// element table so duplicates and case variants come up.
Bytes RandomValidFile(Rng& rng) {
    ThemeFileWriter w;
    w.HeaderLength(static_cast<std::uint32_t>(24 + Below(rng, 6)));
    const std::size_t n = Below(rng, 12);
    for (std::size_t i = 0; i < n; ++i) {
        std::string key(ThemeElementKey(static_cast<int>(1 + Below(rng, 42))));
        if (Below(rng, 4) == 0)
            for (char& c : key)
                c = static_cast<char>(Below(rng, 2) ? std::toupper(c) : std::tolower(c));
        if (Below(rng, 8) == 0) key.assign(Below(rng, 65), static_cast<char>(Below(rng, 256)));
        switch (Below(rng, 5)) {
        case 0: {
            Bytes bmp(Below(rng, 64));
            for (auto& b : bmp)
                b = static_cast<std::uint8_t>(rng());
            w.Image(key, bmp);
            break;
        }
        case 1:
            w.Int(key, static_cast<std::int32_t>(rng()), static_cast<int>(Below(rng, 5)));
            break;
        case 2:
            w.Bool(key, static_cast<std::uint8_t>(Below(rng, 3)));
            break;
        case 3:
            w.Text(key, std::string(Below(rng, 20), 'x'));
            break;
        default:
            w.Raw(key, static_cast<std::uint8_t>(4 + Below(rng, 252)), Bytes(Below(rng, 8)));
            break;
        }
    }
    return w.Build();
}

// Values that sit on the edges the parser must check.
std::uint32_t InterestingU32(Rng& rng, std::size_t size) {
    const auto s = static_cast<std::uint32_t>(size);
    const std::uint32_t pool[] = {0,
                                  1,
                                  4,
                                  5,
                                  23,
                                  24,
                                  29,
                                  30,
                                  s,
                                  s - 1,
                                  s + 1,
                                  s - 76,
                                  s - 77,
                                  s - 78,
                                  0x7FFFFFFFu,
                                  0x80000000u,
                                  0xFFFFFFFFu,
                                  0xFFFFFFFFu - 76,
                                  static_cast<std::uint32_t>(24 + 77 * Below(rng, 8)),
                                  static_cast<std::uint32_t>(rng())};
    return pool[Below(rng, std::size(pool))];
}

void Mutate(Rng& rng, Bytes& b) {
    const std::size_t rounds = 1 + Below(rng, 4);
    for (std::size_t r = 0; r < rounds; ++r) {
        switch (Below(rng, 7)) {
        case 0: // flip a bit
            if (!b.empty())
                b[Below(rng, b.size())] ^= static_cast<std::uint8_t>(1u << Below(rng, 8));
            break;
        case 1: // a random byte
            if (!b.empty()) b[Below(rng, b.size())] = static_cast<std::uint8_t>(rng());
            break;
        case 2: // an edge value into a header or record field
            if (b.size() >= 4) {
                const std::size_t fieldsInRecord[] = {L::kDataOffset, L::kDataSizeOffset,
                                                      L::kNextOffset};
                std::size_t pos;
                if (Below(rng, 3) == 0) {
                    pos = Below(rng, 2) ? L::kHeaderLengthOffset : L::kFirstRecordOffset;
                } else {
                    const std::size_t rec = 24 + 77 * Below(rng, 8);
                    pos = rec + fieldsInRecord[Below(rng, 3)];
                }
                if (pos + 4 > b.size()) pos = Below(rng, b.size() - 3);
                PutU32(b, pos, InterestingU32(rng, b.size()));
            }
            break;
        case 3: // cut the tail
            b.resize(Below(rng, b.size() + 1));
            break;
        case 4: // grow with noise
            for (std::size_t i = Below(rng, 100); i > 0; --i)
                b.push_back(static_cast<std::uint8_t>(rng()));
            break;
        case 5: // copy a chunk over another place
            if (b.size() > 2) {
                const std::size_t from = Below(rng, b.size());
                const std::size_t to = Below(rng, b.size());
                const std::size_t n = Below(rng, std::min(b.size() - from, b.size() - to) + 1);
                std::memmove(b.data() + to, b.data() + from, n);
            }
            break;
        default: // the type byte of a record, assuming a 24-byte header
            if (b.size() > 24 + L::kTypeOffset) {
                const std::size_t records = (b.size() - 24 - L::kTypeOffset - 1) / 77 + 1;
                b[24 + L::kTypeOffset + 77 * Below(rng, records)] =
                    static_cast<std::uint8_t>(Below(rng, 6));
            }
            break;
        }
    }
}

Bytes RandomBytes(Rng& rng) {
    Bytes b(Below(rng, 600));
    for (auto& x : b)
        x = static_cast<std::uint8_t>(rng());
    // Often give it a plausible header so the chain walk gets exercised.
    if (b.size() >= 24 && Below(rng, 2)) {
        PutU32(b, L::kHeaderLengthOffset, static_cast<std::uint32_t>(24 + Below(rng, 6)));
        PutU32(b, L::kFirstRecordOffset, static_cast<std::uint32_t>(Below(rng, b.size())));
    }
    return b;
}

// Reads everything a control could ask for.
std::size_t Exercise(const TsuiThemeFileReader& reader) {
    std::size_t sum = 0;
    for (int e = 0; e <= ThemeElement::Last + 1; ++e) {
        const std::string_view key = ThemeElementKey(e);
        if (const auto* img = reader.GetImage(key))
            for (std::uint8_t x : *img)
                sum += x;
        sum += static_cast<std::uint32_t>(reader.GetInt(key));
        sum += reader.GetBool(key);
        if (auto t = reader.GetText(key)) sum += t->size();
    }
    return sum;
}

int Usage() {
    std::fprintf(stderr, "usage: theme_file_fuzz --seconds N --seed S\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 3;
    unsigned long long seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        if (arg == "--seconds")
            seconds = std::strtod(argv[++i], nullptr);
        else if (arg == "--seed")
            seed = std::strtoull(argv[++i], nullptr, 10);
        else
            return Usage();
    }

    Rng rng(seed);
    std::vector<Bytes> corpus;
    for (int i = 0; i < 32; ++i)
        corpus.push_back(RandomValidFile(rng));
    for (const Bytes& valid : corpus)
        if (!TsuiThemeFileReader::TryParse(valid)) {
            std::fprintf(stderr, "theme_file_fuzz: the writer built a file the parser refuses\n");
            return 1;
        }

    const auto start = std::chrono::steady_clock::now();
    const auto until = start + std::chrono::duration<double>(seconds);
    unsigned long long iterations = 0, accepted = 0;
    std::size_t checksum = 0;
    try {
        while (std::chrono::steady_clock::now() < until) {
            for (int batch = 0; batch < 256; ++batch, ++iterations) {
                Bytes input;
                if (Below(rng, 4) == 0) {
                    input = RandomBytes(rng);
                } else {
                    input = corpus[Below(rng, corpus.size())];
                    Mutate(rng, input);
                    // Keep some survivors so mutations stack up.
                    if (Below(rng, 64) == 0) corpus[Below(rng, corpus.size())] = input;
                }
                // Exactly sized, so one byte too far is a heap overflow.
                std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[input.size()]);
                if (!input.empty()) std::memcpy(exact.get(), input.data(), input.size());
                const auto reader = TsuiThemeFileReader::TryParse({exact.get(), input.size()});
                if (reader) {
                    ++accepted;
                    checksum += Exercise(*reader);
                }
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "theme_file_fuzz: unexpected exception after %llu inputs: %s\n",
                     iterations, e.what());
        return 1;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("theme_file_fuzz: seed %llu, %llu iterations in %.1f s, %llu accepted, %llu "
                "rejected (checksum %zu)\n",
                seed, iterations, elapsed, accepted, iterations - accepted, checksum);
    return 0;
}
