// Builds theme files byte by byte for the tests and the fuzz program, which
// must not depend on sample files. Layout: header, the records one after the
// other (terminator last), then the value data in record order.
#pragma once

#include "skin/SUIThemeFile.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace theme_test {

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t pos, std::uint32_t v) {
    if (bytes.size() < pos + 4) bytes.resize(pos + 4);
    for (int i = 0; i < 4; ++i)
        bytes[pos + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t pos) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(bytes[pos + i]) << (8 * i);
    return v;
}

// A stand-in for a bitmap: a "BM" header and a recognisable tail.
inline std::vector<std::uint8_t> FakeBmp(std::string_view tag) {
    std::vector<std::uint8_t> v(2 + tag.size());
    v[0] = 'B';
    v[1] = 'M';
    std::copy(tag.begin(), tag.end(), v.begin() + 2);
    return v;
}

class ThemeFileWriter {
  public:
    struct Entry {
        std::string key;
        std::uint8_t type;
        std::vector<std::uint8_t> data;
    };

    ThemeFileWriter& Raw(std::string key, std::uint8_t type, std::vector<std::uint8_t> data) {
        entries_.push_back({std::move(key), type, std::move(data)});
        return *this;
    }
    ThemeFileWriter& Image(std::string key, std::vector<std::uint8_t> bmp) {
        return Raw(std::move(key), 0, std::move(bmp));
    }
    // width: how many little-endian bytes of v to store (0 … 4).
    ThemeFileWriter& Int(std::string key, std::int32_t v, int width = 4) {
        std::vector<std::uint8_t> d;
        for (int i = 0; i < width; ++i)
            d.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return Raw(std::move(key), 1, std::move(d));
    }
    ThemeFileWriter& Bool(std::string key, std::uint8_t v) { return Raw(std::move(key), 2, {v}); }
    ThemeFileWriter& Text(std::string key, std::string_view text) {
        return Raw(std::move(key), 3, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    ThemeFileWriter& HeaderLength(std::uint32_t hl) {
        headerLength_ = hl;
        return *this;
    }

    std::size_t RecordOffset(std::size_t i) const {
        return headerLength_ + i * ThemeFileLayout::kRecordSize;
    }
    std::size_t TerminatorOffset() const { return RecordOffset(entries_.size()); }
    std::size_t EntryCount() const { return entries_.size(); }

    std::vector<std::uint8_t> Build() const {
        namespace L = ThemeFileLayout;
        std::vector<std::uint8_t> out(RecordOffset(entries_.size() + 1), 0);
        // The bytes the reader ignores get a signature of our own.
        const char sig[] = "LananTheme1";
        std::copy(sig, sig + 11, out.begin());
        PutU32(out, L::kHeaderLengthOffset, headerLength_);
        PutU32(out, L::kFirstRecordOffset, static_cast<std::uint32_t>(RecordOffset(0)));
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            const std::size_t rec = RecordOffset(i);
            std::copy_n(e.key.begin(), std::min(e.key.size(), L::kKeySize), out.begin() + rec);
            out[rec + L::kTypeOffset] = e.type;
            PutU32(out, rec + L::kDataOffset, static_cast<std::uint32_t>(out.size()));
            PutU32(out, rec + L::kDataSizeOffset, static_cast<std::uint32_t>(e.data.size()));
            PutU32(out, rec + L::kNextOffset, static_cast<std::uint32_t>(RecordOffset(i + 1)));
            out.insert(out.end(), e.data.begin(), e.data.end());
        }
        return out; // terminator record: all zero, next-offset 0
    }

  private:
    std::vector<Entry> entries_;
    std::uint32_t headerLength_ = 24;
};

// Every element of a built-in style, each under its key and file type;
// images become FakeBmp(resource name).
inline ThemeFileWriter WriterForStyle(TsuiUIStyle style) {
    ThemeFileWriter w;
    for (int e = ThemeElement::First; e <= ThemeElement::Last; ++e) {
        const BuiltInThemeEntry entry = GetBuiltInThemeEntry(style, e);
        const std::string key(ThemeElementKey(e));
        switch (ThemeFileTypeOf(entry.kind)) {
        case ThemeFileValueType::Image: {
            std::string name;
            for (wchar_t c : entry.resourceName)
                name.push_back(static_cast<char>(c));
            w.Image(key, FakeBmp(name));
            break;
        }
        case ThemeFileValueType::Boolean:
            w.Bool(key, static_cast<std::uint8_t>(entry.value));
            break;
        default:
            w.Int(key, entry.value);
            break;
        }
    }
    return w;
}

} // namespace theme_test
