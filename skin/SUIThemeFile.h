// Theme files: a binary file holding, under the element keys of
// SUIThemeTables.h, the images, colours, integers and booleans of a complete
// style. Portable: the parser works on bytes; turning an image payload into a
// bitmap is the Win32 side's job.
//
// Layout (integers unsigned 32-bit little-endian, offsets from file start):
//   header   +0  12 bytes  not interpreted
//            +12 4         header length, 24 … 29
//            +16 4         not interpreted
//            +20 4         offset of the first entry record
//   record   +0  64 bytes  key, ANSI, ended by NUL or the end of the field
//   (77 B)   +64 1         type: 0 image, 1 integer, 2 boolean, 3 text;
//                          other types are skipped
//            +65 4         offset of the value data
//            +69 4         size of the value data
//            +73 4         offset of the next record; 0 ends the chain, and
//                          that terminating record is not an entry
//
// Any fault (short header, a header length outside 24 … 29, a record or a
// value reaching past the end, an integer wider than 4 bytes, a boolean
// wider than 1, a chain that comes back to a record it has visited) rejects
// the whole file; nothing is read outside the given bytes. So do files and
// chains far larger than any real theme, which could otherwise make a small
// file cost a lot of memory.
#pragma once

#include "skin/SUIThemeTables.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Value types as a theme file stores them.
enum class ThemeFileValueType : std::uint8_t {
    Image = 0,
    Integer = 1, // colours too
    Boolean = 2,
    Text = 3,
};

// The file type an element must be stored with: Image for image elements,
// Integer for colours and integers, Boolean for booleans.
ThemeFileValueType ThemeFileTypeOf(ThemeValueKind kind);

namespace ThemeFileLayout {
inline constexpr std::size_t kMinHeaderLength = 24;
inline constexpr std::size_t kMaxHeaderLength = 29;
inline constexpr std::size_t kHeaderLengthOffset = 12;
inline constexpr std::size_t kFirstRecordOffset = 20;
inline constexpr std::size_t kRecordSize = 77;
inline constexpr std::size_t kKeySize = 64;
inline constexpr std::size_t kTypeOffset = 64;
inline constexpr std::size_t kDataOffset = 65;
inline constexpr std::size_t kDataSizeOffset = 69;
inline constexpr std::size_t kNextOffset = 73;
inline constexpr std::size_t kMaxIntegerSize = 4;
inline constexpr std::size_t kMaxBooleanSize = 1;
// Far beyond any real theme (42 small bitmaps, 43 records); they bound the
// memory a crafted file can claim.
inline constexpr std::uintmax_t kMaxFileSize = 16u * 1024 * 1024;
inline constexpr std::size_t kMaxRecords = 65536; // terminator included
} // namespace ThemeFileLayout

class ThemeFileError : public std::runtime_error {
  public:
    enum class Reason {
        CannotRead,       // missing, unreadable or too large
        TruncatedHeader,  // fewer than 16 bytes, or fewer than the header length
        BadHeaderLength,  // outside 24 … 29
        RecordOutOfRange, // a record does not fit in the file
        DataOutOfRange,   // a value's offset + size passes the end
        IntegerTooWide,   // integer data above 4 bytes
        BooleanTooWide,   // boolean data above 1 byte
        RecordChainLoops, // a next-offset returns to a visited record
        TooManyRecords,   // more than kMaxRecords in the chain
    };

    ThemeFileError(Reason reason, const std::string& message)
        : std::runtime_error(message), reason_(reason) {}
    Reason WhatFailed() const { return reason_; }

  private:
    Reason reason_;
};

// The parsed content of one theme file. Keys match ignoring letter case
// (ASCII letters, double-byte ANSI characters left alone); of duplicate keys
// the first entry in the chain wins. A reader keeps one copy of the file and
// hands out views into it; it is immutable once built.
class TsuiThemeFileReader {
  public:
    // Throws ThemeFileError; a reader is only ever returned whole.
    static std::unique_ptr<TsuiThemeFileReader> Parse(std::span<const std::uint8_t> bytes);
    static std::unique_ptr<TsuiThemeFileReader> Load(const std::filesystem::path& file);

    // The same without exceptions: null on failure, the reason in *error.
    static std::unique_ptr<TsuiThemeFileReader> TryParse(std::span<const std::uint8_t> bytes,
                                                         std::string* error = nullptr);
    static std::unique_ptr<TsuiThemeFileReader> TryLoad(const std::filesystem::path& file,
                                                        std::string* error = nullptr);

    // The image file stored under key (a BMP for bitmaps), as a view that
    // lives as long as the reader; nullopt when absent, in which case the
    // caller leaves its graphic as it was.
    std::optional<std::span<const std::uint8_t>> GetImage(std::string_view key) const;
    // -1 when absent. Data narrower than 4 bytes is zero-extended.
    std::int32_t GetInt(std::string_view key) const;
    // false when absent.
    bool GetBool(std::string_view key) const;
    // Kept though no element reads texts; nullopt when absent.
    std::optional<std::string> GetText(std::string_view key) const;

    bool HasInt(std::string_view key) const;
    bool HasBool(std::string_view key) const;

    std::size_t ImageCount() const { return images_.size(); }
    std::size_t IntCount() const { return ints_.size(); }
    std::size_t BoolCount() const { return bools_.size(); }
    std::size_t TextCount() const { return texts_.size(); }

  private:
    struct Slice {
        std::size_t offset;
        std::size_t size;
    };

    explicit TsuiThemeFileReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    static std::unique_ptr<TsuiThemeFileReader> ParseOwned(std::vector<std::uint8_t> bytes);
    std::span<const std::uint8_t> View(Slice s) const { return {bytes_.data() + s.offset, s.size}; }

    std::vector<std::uint8_t> bytes_;
    std::unordered_map<std::string, Slice> images_;
    std::unordered_map<std::string, std::int32_t> ints_;
    std::unordered_map<std::string, bool> bools_;
    std::unordered_map<std::string, Slice> texts_;
};

// The theme a TsuiFileTheme currently shows, by element number. Loading
// parses into a new reader first and swaps it in only on success, so a
// missing or malformed file leaves the previous theme in effect; the
// component then keeps its ThemeFile and loaded flag as they were too.
class ThemeFileSlot {
  public:
    // false, with the current reader kept, when the file is missing or
    // malformed (reason in *error).
    bool LoadFile(const std::filesystem::path& file, std::string* error = nullptr);
    bool LoadBytes(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
    void Clear() { reader_.reset(); }

    bool HasTheme() const { return reader_ != nullptr; }
    const TsuiThemeFileReader* Reader() const { return reader_.get(); }

    // nullopt without a theme or when the file lacks the element's image;
    // the view is good until the next successful load or Clear.
    std::optional<std::span<const std::uint8_t>> GetImage(int element) const;
    // Without a theme: 0 and false; with one, a missing key reads -1 / false.
    ThemeColor GetColor(int element) const;
    std::int32_t GetInt(int element) const;
    bool GetBool(int element) const;

  private:
    std::unique_ptr<TsuiThemeFileReader> reader_;
};

// Where a ThemeFile value names an existing file: the value itself, or else
// its file-name part in exeDir. nullopt when neither is a regular file.
std::optional<std::filesystem::path> ResolveThemeFilePath(const std::filesystem::path& value,
                                                          const std::filesystem::path& exeDir);
