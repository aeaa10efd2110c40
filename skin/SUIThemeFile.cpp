#include "skin/SUIThemeFile.h"

#include <cstring>
#include <fstream>
#include <system_error>
#include <unordered_set>

namespace Layout = ThemeFileLayout;

namespace {

using Reason = ThemeFileError::Reason;

[[noreturn]] void Fail(Reason reason, const std::string& message) {
    throw ThemeFileError(reason, "theme file: " + message);
}

std::string Hex(std::uint64_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[v & 0xF]);
        v >>= 4;
    } while (v);
    return "0x" + s;
}

// Caller has checked that pos + 4 fits.
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t pos) {
    return static_cast<std::uint32_t>(bytes[pos]) |
           static_cast<std::uint32_t>(bytes[pos + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[pos + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[pos + 3]) << 24;
}

// Lower-cases ASCII letters only. GBK trail bytes can fall in 'A'…'Z', so
// the two bytes of a double-byte character are copied untouched.
std::string FoldKey(std::string_view key) {
    std::string out;
    out.reserve(key.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < key.size()) {
            out.push_back(key[i]);
            out.push_back(key[++i]);
        } else if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c - 'A' + 'a'));
        } else {
            out.push_back(key[i]);
        }
    }
    return out;
}

template <class Map> auto Find(const Map& map, std::string_view key) {
    const auto it = map.find(FoldKey(key));
    return it == map.end() ? nullptr : &it->second;
}

// UTF-8 whatever the platform's narrow encoding; never throws on odd names.
std::string PathText(const std::filesystem::path& file) {
    const std::u8string u = file.u8string();
    return std::string(u.begin(), u.end());
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        Fail(Reason::CannotRead, "no such file: " + PathText(file));
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) Fail(Reason::CannotRead, "cannot read the size of " + PathText(file));
    if (size > Layout::kMaxFileSize) Fail(Reason::CannotRead, "file too large: " + PathText(file));
    std::ifstream in(file, std::ios::binary);
    if (!in) Fail(Reason::CannotRead, "cannot open " + PathText(file));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // The file may have shrunk since its size was taken; keep what was read.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace

ThemeFileValueType ThemeFileTypeOf(ThemeValueKind kind) {
    switch (kind) {
    case ThemeValueKind::Image:
        return ThemeFileValueType::Image;
    case ThemeValueKind::Boolean:
        return ThemeFileValueType::Boolean;
    case ThemeValueKind::Integer:
    case ThemeValueKind::Color:
        break;
    }
    return ThemeFileValueType::Integer;
}

std::unique_ptr<TsuiThemeFileReader>
TsuiThemeFileReader::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > Layout::kMaxFileSize)
        Fail(Reason::CannotRead, "file of " + std::to_string(bytes.size()) + " bytes is too large");
    return ParseOwned(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::unique_ptr<TsuiThemeFileReader>
TsuiThemeFileReader::ParseOwned(std::vector<std::uint8_t> file) {
    std::unique_ptr<TsuiThemeFileReader> reader(new TsuiThemeFileReader(std::move(file)));
    const std::span<const std::uint8_t> bytes(reader->bytes_);
    const std::uint64_t size = bytes.size();
    if (size < Layout::kHeaderLengthOffset + 4)
        Fail(Reason::TruncatedHeader, "file of " + std::to_string(size) + " bytes has no header");
    const std::uint32_t headerLength = ReadU32(bytes, Layout::kHeaderLengthOffset);
    if (headerLength < Layout::kMinHeaderLength || headerLength > Layout::kMaxHeaderLength)
        Fail(Reason::BadHeaderLength,
             "header length " + std::to_string(headerLength) + " is outside 24 ... 29");
    if (size < headerLength)
        Fail(Reason::TruncatedHeader,
             "file ends inside its " + std::to_string(headerLength) + "-byte header");

    std::unordered_set<std::uint32_t> visited;
    std::uint32_t record = ReadU32(bytes, Layout::kFirstRecordOffset);
    for (;;) {
        if (std::uint64_t{record} + Layout::kRecordSize > size)
            Fail(Reason::RecordOutOfRange, "record at " + Hex(record) + " runs past the end");
        if (!visited.insert(record).second)
            Fail(Reason::RecordChainLoops, "record chain returns to " + Hex(record));
        if (visited.size() > Layout::kMaxRecords)
            Fail(Reason::TooManyRecords,
                 "more than " + std::to_string(Layout::kMaxRecords) + " records");

        const std::uint32_t next = ReadU32(bytes, record + Layout::kNextOffset);
        if (next == 0) break; // the terminator carries no entry

        const auto* keyField = reinterpret_cast<const char*>(bytes.data() + record);
        std::string_view key(keyField, Layout::kKeySize);
        key = key.substr(0, key.find('\0'));
        const std::uint8_t type = bytes[record + Layout::kTypeOffset];
        const std::uint32_t dataOffset = ReadU32(bytes, record + Layout::kDataOffset);
        const std::uint32_t dataSize = ReadU32(bytes, record + Layout::kDataSizeOffset);

        if (type <= static_cast<std::uint8_t>(ThemeFileValueType::Text)) {
            if (std::uint64_t{dataOffset} + dataSize > size)
                Fail(Reason::DataOutOfRange, "value of '" + std::string(key) + "' at " +
                                                 Hex(dataOffset) + " (" + std::to_string(dataSize) +
                                                 " bytes) runs past the end");
            const auto data = bytes.subspan(dataOffset, dataSize);
            const Slice slice{dataOffset, dataSize};
            std::string folded = FoldKey(key);
            switch (static_cast<ThemeFileValueType>(type)) {
            case ThemeFileValueType::Image:
                // try_emplace keeps the first entry of a duplicated key.
                reader->images_.try_emplace(std::move(folded), slice);
                break;
            case ThemeFileValueType::Integer: {
                if (dataSize > Layout::kMaxIntegerSize)
                    Fail(Reason::IntegerTooWide, "integer '" + std::string(key) + "' has " +
                                                     std::to_string(dataSize) + " bytes");
                std::uint32_t v = 0;
                for (std::size_t i = 0; i < data.size(); ++i)
                    v |= static_cast<std::uint32_t>(data[i]) << (8 * i);
                reader->ints_.try_emplace(std::move(folded), static_cast<std::int32_t>(v));
                break;
            }
            case ThemeFileValueType::Boolean:
                if (dataSize > Layout::kMaxBooleanSize)
                    Fail(Reason::BooleanTooWide, "boolean '" + std::string(key) + "' has " +
                                                     std::to_string(dataSize) + " bytes");
                reader->bools_.try_emplace(std::move(folded), !data.empty() && data[0] != 0);
                break;
            case ThemeFileValueType::Text:
                reader->texts_.try_emplace(std::move(folded), slice);
                break;
            }
        }
        record = next;
    }
    return reader;
}

std::unique_ptr<TsuiThemeFileReader> TsuiThemeFileReader::Load(const std::filesystem::path& file) {
    return ParseOwned(ReadWholeFile(file));
}

std::unique_ptr<TsuiThemeFileReader>
TsuiThemeFileReader::TryParse(std::span<const std::uint8_t> bytes, std::string* error) {
    try {
        return Parse(bytes);
    } catch (const ThemeFileError& e) {
        if (error) *error = e.what();
    }
    return nullptr;
}

std::unique_ptr<TsuiThemeFileReader> TsuiThemeFileReader::TryLoad(const std::filesystem::path& file,
                                                                  std::string* error) {
    try {
        return Load(file);
    } catch (const ThemeFileError& e) {
        if (error) *error = e.what();
    } catch (const std::exception& e) {
        // Path conversions and allocation report through the standard library.
        if (error) *error = std::string("theme file: ") + e.what();
    }
    return nullptr;
}

std::optional<std::span<const std::uint8_t>>
TsuiThemeFileReader::GetImage(std::string_view key) const {
    const Slice* s = Find(images_, key);
    return s ? std::optional(View(*s)) : std::nullopt;
}

std::int32_t TsuiThemeFileReader::GetInt(std::string_view key) const {
    const auto* v = Find(ints_, key);
    return v ? *v : -1;
}

bool TsuiThemeFileReader::GetBool(std::string_view key) const {
    const auto* v = Find(bools_, key);
    return v && *v;
}

std::optional<std::string> TsuiThemeFileReader::GetText(std::string_view key) const {
    const Slice* s = Find(texts_, key);
    if (!s) return std::nullopt;
    const auto text = View(*s);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

bool TsuiThemeFileReader::HasInt(std::string_view key) const {
    return Find(ints_, key) != nullptr;
}

bool TsuiThemeFileReader::HasBool(std::string_view key) const {
    return Find(bools_, key) != nullptr;
}

bool ThemeFileSlot::LoadFile(const std::filesystem::path& file, std::string* error) {
    auto fresh = TsuiThemeFileReader::TryLoad(file, error);
    if (!fresh) return false;
    reader_ = std::move(fresh);
    return true;
}

bool ThemeFileSlot::LoadBytes(std::span<const std::uint8_t> bytes, std::string* error) {
    auto fresh = TsuiThemeFileReader::TryParse(bytes, error);
    if (!fresh) return false;
    reader_ = std::move(fresh);
    return true;
}

// An element outside 1 … 42 has no key; it must not match an entry that a
// file stored under the empty key.
std::optional<std::span<const std::uint8_t>> ThemeFileSlot::GetImage(int element) const {
    if (!reader_ || !ThemeElement::IsValid(element)) return std::nullopt;
    return reader_->GetImage(ThemeElementKey(element));
}

ThemeColor ThemeFileSlot::GetColor(int element) const {
    return static_cast<ThemeColor>(GetInt(element));
}

std::int32_t ThemeFileSlot::GetInt(int element) const {
    if (!reader_) return 0;
    return ThemeElement::IsValid(element) ? reader_->GetInt(ThemeElementKey(element)) : -1;
}

bool ThemeFileSlot::GetBool(int element) const {
    return reader_ && ThemeElement::IsValid(element) && reader_->GetBool(ThemeElementKey(element));
}

std::optional<std::filesystem::path> ResolveThemeFilePath(const std::filesystem::path& value,
                                                          const std::filesystem::path& exeDir) {
    std::error_code ec;
    if (!value.empty() && std::filesystem::is_regular_file(value, ec)) return value;
    if (!value.has_filename()) return std::nullopt;
    std::filesystem::path beside = exeDir / value.filename();
    if (std::filesystem::is_regular_file(beside, ec)) return beside;
    return std::nullopt;
}
