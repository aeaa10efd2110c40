// theme_file_fuzz --seconds N --seed S
//
// Throws random bytes and mutations of valid theme files at the parser for
// N seconds. Every input sits in a heap block of exactly its size, so a read
// past the end shows up under AddressSanitizer. The parser may accept or
// refuse; anything but a ThemeFileError escaping it is a failure.
#include "skin/SUIThemeFile.h"
#include "ThemeFileWriter.h"

#include <array>
#include <cctype>
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
namespace Layout = ThemeFileLayout;

namespace {

using Rng = std::mt19937_64;
using Bytes = std::vector<std::uint8_t>;

std::size_t Below(Rng& rng, std::size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}

// A valid file with a random mix of entries, keys drawn mostly from the
// element table so duplicates and case variants come up.
struct ValidFile {
    Bytes bytes;
    std::vector<std::size_t> records; // entry records, terminator excluded
    std::size_t terminator = 0;
    std::size_t dataStart = 0; // values follow the terminator
};

ValidFile RandomValidFile(Rng& rng) {
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
    ValidFile f;
    f.bytes = w.Build();
    for (std::size_t i = 0; i < w.EntryCount(); ++i)
        f.records.push_back(w.RecordOffset(i));
    f.terminator = w.TerminatorOffset();
    f.dataStart = f.terminator + Layout::kRecordSize;
    return f;
}

// Changes only key and value bytes and the ignored header bytes: the file
// stays well formed, so the parser must still accept it.
void MutateContent(Rng& rng, ValidFile& f) {
    for (std::size_t r = 1 + Below(rng, 8); r > 0; --r) {
        const auto v = static_cast<std::uint8_t>(rng());
        switch (Below(rng, 3)) {
        case 0:
            if (!f.records.empty())
                f.bytes[f.records[Below(rng, f.records.size())] + Below(rng, Layout::kKeySize)] = v;
            break;
        case 1:
            if (f.bytes.size() > f.dataStart)
                f.bytes[f.dataStart + Below(rng, f.bytes.size() - f.dataStart)] = v;
            break;
        default: {
            const std::size_t ignored[] = {0, 5, 11, 16, 19};
            f.bytes[ignored[Below(rng, std::size(ignored))]] = v;
            break;
        }
        }
    }
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

// Structural damage: any of these may make the file malformed. Field
// positions come from the file's own layout, and stay meaningful after
// earlier rounds moved things around.
void Mutate(Rng& rng, ValidFile& f) {
    Bytes& b = f.bytes;
    std::vector<std::size_t> chain = f.records;
    chain.push_back(f.terminator);
    for (std::size_t r = 1 + Below(rng, 4); r > 0; --r) {
        const std::size_t rec = chain[Below(rng, chain.size())];
        std::size_t pos = 0;
        switch (Below(rng, 8)) {
        case 0: // flip a bit
            if (!b.empty())
                b[Below(rng, b.size())] ^= static_cast<std::uint8_t>(1u << Below(rng, 8));
            break;
        case 1: // an edge value into the header
            pos = Below(rng, 2) ? Layout::kHeaderLengthOffset : Layout::kFirstRecordOffset;
            if (pos + 4 <= b.size()) PutU32(b, pos, InterestingU32(rng, b.size()));
            break;
        case 2: { // an edge value into a record field
            const std::size_t fields[] = {Layout::kDataOffset, Layout::kDataSizeOffset,
                                          Layout::kNextOffset};
            pos = rec + fields[Below(rng, std::size(fields))];
            if (pos + 4 <= b.size()) PutU32(b, pos, InterestingU32(rng, b.size()));
            break;
        }
        case 3: // send the chain back to a record already passed
            pos = rec + Layout::kNextOffset;
            if (pos + 4 <= b.size())
                PutU32(b, pos, static_cast<std::uint32_t>(chain[Below(rng, chain.size())]));
            break;
        case 4: // a record type
            pos = rec + Layout::kTypeOffset;
            if (pos < b.size()) b[pos] = static_cast<std::uint8_t>(Below(rng, 6));
            break;
        case 5: // cut the tail
            b.resize(Below(rng, b.size() + 1));
            break;
        case 6: // grow with noise
            for (std::size_t i = Below(rng, 100); i > 0; --i)
                b.push_back(static_cast<std::uint8_t>(rng()));
            break;
        default: // copy a chunk over another place
            if (b.size() > 2) {
                const std::size_t from = Below(rng, b.size());
                const std::size_t to = Below(rng, b.size());
                const std::size_t n = Below(rng, std::min(b.size() - from, b.size() - to) + 1);
                std::memmove(b.data() + to, b.data() + from, n);
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
        PutU32(b, Layout::kHeaderLengthOffset, static_cast<std::uint32_t>(24 + Below(rng, 6)));
        PutU32(b, Layout::kFirstRecordOffset, static_cast<std::uint32_t>(Below(rng, b.size())));
    }
    return b;
}

// Reads everything a control could ask for.
std::size_t Exercise(const TsuiThemeFileReader& reader) {
    std::size_t sum = 0;
    for (int e = 0; e <= ThemeElement::Last + 1; ++e) {
        const std::string_view key = ThemeElementKey(e);
        if (const auto img = reader.GetImage(key))
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
    std::vector<ValidFile> corpus;
    for (int i = 0; i < 32; ++i)
        corpus.push_back(RandomValidFile(rng));
    for (const ValidFile& valid : corpus)
        if (!TsuiThemeFileReader::TryParse(valid.bytes)) {
            std::fprintf(stderr, "theme_file_fuzz: the writer built a file the parser refuses\n");
            return 1;
        }

    const auto start = std::chrono::steady_clock::now();
    const auto until = start + std::chrono::duration<double>(seconds);
    unsigned long long iterations = 0, accepted = 0;
    std::array<unsigned long long, 9> rejected{};
    std::size_t checksum = 0;
    try {
        while (std::chrono::steady_clock::now() < until) {
            for (int batch = 0; batch < 256; ++batch, ++iterations) {
                Bytes input;
                bool mustAccept = false;
                switch (Below(rng, 8)) {
                case 0:
                case 1:
                    input = RandomBytes(rng);
                    break;
                case 2: {
                    ValidFile f = RandomValidFile(rng);
                    MutateContent(rng, f);
                    input = std::move(f.bytes);
                    mustAccept = true;
                    break;
                }
                default: {
                    ValidFile f = corpus[Below(rng, corpus.size())];
                    Mutate(rng, f);
                    input = f.bytes;
                    // Keep some survivors so mutations stack up, and refresh
                    // others so the corpus does not drift into pure noise.
                    if (Below(rng, 64) == 0)
                        corpus[Below(rng, corpus.size())] =
                            Below(rng, 2) ? std::move(f) : RandomValidFile(rng);
                    break;
                }
                }
                // Exactly sized, so one byte too far is a heap overflow.
                std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[input.size()]);
                if (!input.empty()) std::memcpy(exact.get(), input.data(), input.size());
                try {
                    const auto reader = TsuiThemeFileReader::Parse({exact.get(), input.size()});
                    ++accepted;
                    checksum += Exercise(*reader);
                } catch (const ThemeFileError& e) {
                    if (mustAccept) {
                        std::fprintf(stderr, "theme_file_fuzz: well-formed file refused: %s\n",
                                     e.what());
                        return 1;
                    }
                    ++rejected.at(static_cast<std::size_t>(e.WhatFailed()));
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
    std::printf("theme_file_fuzz: seed %llu, %llu iterations in %.1f s, %llu accepted "
                "(checksum %zu)\n",
                seed, iterations, elapsed, accepted, checksum);
    const char* names[] = {"cannot read",         "truncated header",  "bad header length",
                           "record out of range", "data out of range", "integer too wide",
                           "boolean too wide",    "chain loops",       "too many records"};
    for (std::size_t i = 0; i < rejected.size(); ++i)
        std::printf("  rejected, %s: %llu\n", names[i], rejected[i]);
    return 0;
}
