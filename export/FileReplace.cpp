#include "export/FileReplace.h"

#include "export/XlsWriter.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <type_traits>

namespace xls {
namespace fs = std::filesystem;
namespace {

fs::path TemporaryBeside(const fs::path& target) {
    // A random suffix, so two exports to one folder never share a file.
    // Exports run on the GUI thread only, so one generator will do.
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string suffix = ".";
    for (std::uint64_t r = random(), i = 0; i < 12; ++i, r >>= 4)
        suffix += kHex[r & 15];
    suffix += ".tmp";
    fs::path temp = target;
    temp += suffix;
    return temp;
}

std::error_code LastError() {
    const int e = errno;
    return e ? std::error_code(e, std::generic_category())
             : std::make_error_code(std::errc::io_error);
}

} // namespace

void WriteFileReplacing(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const fs::path temp = TemporaryBeside(target);
    try {
        {
            errno = 0;
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out) throw fs::filesystem_error("cannot create the file", temp, LastError());
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) throw fs::filesystem_error("cannot write the file", temp, LastError());
        }
        fs::rename(temp, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
}

fs::path PathFromWide(std::wstring_view name) {
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        return fs::path(name);
    } else {
        const std::u16string units = ToUtf16(name);
        std::u8string utf8;
        for (std::size_t i = 0; i < units.size(); ++i) {
            std::uint32_t c = units[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
            auto put = [&](std::uint32_t v) { utf8 += static_cast<char8_t>(v); };
            if (c < 0x80) {
                put(c);
            } else if (c < 0x800) {
                put(0xC0 | c >> 6);
                put(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                put(0xE0 | c >> 12);
                put(0x80 | (c >> 6 & 0x3F));
                put(0x80 | (c & 0x3F));
            } else {
                put(0xF0 | c >> 18);
                put(0x80 | (c >> 12 & 0x3F));
                put(0x80 | (c >> 6 & 0x3F));
                put(0x80 | (c & 0x3F));
            }
        }
        return fs::path(utf8);
    }
}

} // namespace xls
