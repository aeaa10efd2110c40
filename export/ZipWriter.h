// A zip archive in memory, its entries compressed with zlib's deflate: the
// container of an Office Open XML workbook. Portable: no platform headers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zip {

class ZipWriter {
  public:
    // Adds a file under an ASCII name ("xl/workbook.xml"). Throws
    // std::length_error past the 4 GiB a zip without its 64-bit extension
    // holds, std::runtime_error when zlib fails.
    void Add(const std::string& name, std::span<const std::uint8_t> data);
    void Add(const std::string& name, const std::string& text);
    // Appends the central directory and returns the whole archive; the
    // writer is empty afterwards.
    std::vector<std::uint8_t> Finish();

  private:
    struct Entry {
        std::string name;
        std::uint32_t crc, compressedSize, size, offset;
    };
    std::vector<Entry> entries_;
    std::vector<std::uint8_t> out_;
};

} // namespace zip
