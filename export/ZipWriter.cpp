#include "export/ZipWriter.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace zip {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kCentralHeader = 0x02014B50;
constexpr std::uint32_t kEndOfCentral = 0x06054B50;
constexpr std::uint16_t kVersion = 20; // 2.0: deflate
constexpr std::uint16_t kDeflated = 8;
// 1980-01-01 00:00, the first day the format can name: the file is the same
// whenever it is written.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;

void U16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    U16(out, static_cast<std::uint16_t>(v));
    U16(out, static_cast<std::uint16_t>(v >> 16));
}

std::uint32_t Checked32(std::size_t n) {
    if (n > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("zip: larger than a zip without its 64-bit extension holds");
    return static_cast<std::uint32_t>(n);
}

// Raw deflate (no zlib header), as zip stores it.
std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data) {
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("zip: deflate cannot start");
    std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END) throw std::runtime_error("zip: deflate failed");
    return out;
}

void Header(std::vector<std::uint8_t>& out, std::uint32_t signature, bool central,
            const std::string& name, std::uint32_t crc, std::uint32_t compressedSize,
            std::uint32_t size, std::uint32_t offset) {
    U32(out, signature);
    if (central) U16(out, kVersion); // made by
    U16(out, kVersion);              // needed to extract
    U16(out, 0);                     // flags
    U16(out, kDeflated);
    U16(out, kDosTime);
    U16(out, kDosDate);
    U32(out, crc);
    U32(out, compressedSize);
    U32(out, size);
    U16(out, static_cast<std::uint16_t>(name.size()));
    U16(out, 0); // extra field
    if (central) {
        U16(out, 0); // comment
        U16(out, 0); // disk
        U16(out, 0); // internal attributes
        U32(out, 0); // external attributes
        U32(out, offset);
    }
    out.insert(out.end(), name.begin(), name.end());
}

} // namespace

void ZipWriter::Add(const std::string& name, std::span<const std::uint8_t> data) {
    const std::uint32_t size = Checked32(data.size());
    // zlib counts in uInt; a part this large would not fit the format anyway.
    if (name.empty() || name.size() > 0xFFFF || size > std::numeric_limits<uInt>::max() / 2)
        throw std::length_error("zip: entry name or size out of range");
    const std::vector<std::uint8_t> packed = Deflate(data);
    const auto crc = static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size())));
    Entry e{name, crc, Checked32(packed.size()), size, Checked32(out_.size())};
    Header(out_, kLocalHeader, false, name, e.crc, e.compressedSize, e.size, 0);
    out_.insert(out_.end(), packed.begin(), packed.end());
    Checked32(out_.size());
    entries_.push_back(std::move(e));
}

void ZipWriter::Add(const std::string& name, const std::string& text) {
    Add(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::uint8_t> ZipWriter::Finish() {
    if (entries_.size() > 0xFFFF) throw std::length_error("zip: too many entries");
    const std::uint32_t directoryStart = Checked32(out_.size());
    for (const Entry& e : entries_)
        Header(out_, kCentralHeader, true, e.name, e.crc, e.compressedSize, e.size, e.offset);
    const std::uint32_t directorySize = Checked32(out_.size() - directoryStart);
    const auto count = static_cast<std::uint16_t>(entries_.size());
    U32(out_, kEndOfCentral);
    U16(out_, 0); // this disk
    U16(out_, 0); // disk of the directory
    U16(out_, count);
    U16(out_, count);
    U32(out_, directorySize);
    U32(out_, directoryStart);
    U16(out_, 0); // comment
    entries_.clear();
    std::vector<std::uint8_t> archive = std::move(out_);
    out_.clear();
    return archive;
}

} // namespace zip
