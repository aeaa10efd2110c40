#include "export/CompoundFile.h"

#include <algorithm>
#include <stdexcept>

namespace xls {
namespace {

constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kEntriesPerSector = kSectorSize / 4;
constexpr std::size_t kHeaderDifatEntries = 109;
// The last entry of a DIFAT sector links to the next one.
constexpr std::size_t kDifatEntriesPerSector = kEntriesPerSector - 1;
// Sector numbers from 0xFFFFFFFA up are markers.
constexpr std::size_t kMaxSectors = 0xFFFFFFFA;

void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint8_t* SectorAt(std::vector<std::uint8_t>& file, std::size_t sector) {
    return file.data() + kSectorSize * (1 + sector);
}

void WriteDirectoryEntry(std::uint8_t* e, std::u16string_view name, std::uint8_t type,
                         std::uint32_t child, std::uint32_t start, std::uint32_t size) {
    for (std::size_t i = 0; i < name.size(); ++i)
        Put16(e + 2 * i, static_cast<std::uint16_t>(name[i]));
    Put16(e + 0x40, static_cast<std::uint16_t>(2 * (name.size() + 1)));
    e[0x42] = type;
    e[0x43] = 1; // black: every entry may be, and the lone child must be
    Put32(e + 0x44, kNoStream);
    Put32(e + 0x48, kNoStream);
    Put32(e + 0x4C, child);
    Put32(e + 0x74, start);
    Put32(e + 0x78, size);
}

} // namespace

std::vector<std::uint8_t> BuildCompoundFile(std::u16string_view streamName,
                                            std::span<const std::uint8_t> stream) {
    if (streamName.empty() || streamName.size() > 31)
        throw std::invalid_argument("compound file: stream name must have 1 to 31 characters");
    if (stream.size() < kMiniStreamCutoff)
        throw std::invalid_argument("compound file: stream below the mini stream cutoff");
    if (stream.size() > 0x7FFFFFFF) throw std::invalid_argument("compound file: stream too large");

    const std::size_t streamSectors = (stream.size() + kSectorSize - 1) / kSectorSize;
    // The FAT has to map itself and the DIFAT, so grow both until they cover
    // everything.
    std::size_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        const std::size_t total = streamSectors + 1 + fatSectors + difatSectors;
        const std::size_t needFat = (total + kEntriesPerSector - 1) / kEntriesPerSector;
        const std::size_t needDifat =
            needFat > kHeaderDifatEntries
                ? (needFat - kHeaderDifatEntries + kDifatEntriesPerSector - 1) /
                      kDifatEntriesPerSector
                : 0;
        if (needFat <= fatSectors && needDifat <= difatSectors) break;
        fatSectors = std::max(fatSectors, needFat);
        difatSectors = std::max(difatSectors, needDifat);
    }
    const std::size_t dirSector = streamSectors;
    const std::size_t firstFat = dirSector + 1;
    const std::size_t firstDifat = firstFat + fatSectors;
    const std::size_t totalSectors = firstDifat + difatSectors;
    if (totalSectors >= kMaxSectors) throw std::invalid_argument("compound file: stream too large");

    std::vector<std::uint8_t> file(kSectorSize * (1 + totalSectors), 0);
    std::uint8_t* h = file.data();
    static constexpr std::uint8_t kMagic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(kMagic), std::end(kMagic), h);
    Put16(h + 0x18, 0x003E);
    Put16(h + 0x1A, 0x0003);
    Put16(h + 0x1C, 0xFFFE);
    Put16(h + 0x1E, 9);
    Put16(h + 0x20, 6);
    Put32(h + 0x2C, static_cast<std::uint32_t>(fatSectors));
    Put32(h + 0x30, static_cast<std::uint32_t>(dirSector));
    Put32(h + 0x38, static_cast<std::uint32_t>(kMiniStreamCutoff));
    Put32(h + 0x3C, kEndOfChain);
    Put32(h + 0x44, difatSectors ? static_cast<std::uint32_t>(firstDifat) : kEndOfChain);
    Put32(h + 0x48, static_cast<std::uint32_t>(difatSectors));

    // DIFAT: the first 109 FAT sector numbers in the header, the rest in
    // chained DIFAT sectors.
    for (std::size_t i = 0; i < kHeaderDifatEntries; ++i)
        Put32(h + 0x4C + 4 * i,
              i < fatSectors ? static_cast<std::uint32_t>(firstFat + i) : kFreeSect);
    for (std::size_t d = 0; d < difatSectors; ++d) {
        std::uint8_t* s = SectorAt(file, firstDifat + d);
        for (std::size_t j = 0; j < kDifatEntriesPerSector; ++j) {
            const std::size_t fat = kHeaderDifatEntries + d * kDifatEntriesPerSector + j;
            Put32(s + 4 * j,
                  fat < fatSectors ? static_cast<std::uint32_t>(firstFat + fat) : kFreeSect);
        }
        Put32(s + 4 * kDifatEntriesPerSector,
              d + 1 < difatSectors ? static_cast<std::uint32_t>(firstDifat + d + 1) : kEndOfChain);
    }

    std::copy(stream.begin(), stream.end(), SectorAt(file, 0));

    std::uint8_t* dir = SectorAt(file, dirSector);
    WriteDirectoryEntry(dir, u"Root Entry", 5, 1, kEndOfChain, 0);
    WriteDirectoryEntry(dir + 128, streamName, 2, kNoStream, 0,
                        static_cast<std::uint32_t>(stream.size()));
    for (int unused = 2; unused < 4; ++unused) {
        std::uint8_t* e = dir + 128 * unused;
        Put32(e + 0x44, kNoStream);
        Put32(e + 0x48, kNoStream);
        Put32(e + 0x4C, kNoStream);
    }

    std::uint8_t* fat = SectorAt(file, firstFat);
    const std::size_t fatEntries = fatSectors * kEntriesPerSector;
    for (std::size_t i = 0; i < fatEntries; ++i) {
        std::uint32_t next = kFreeSect;
        if (i + 1 < streamSectors)
            next = static_cast<std::uint32_t>(i + 1);
        else if (i + 1 == streamSectors || i == dirSector)
            next = kEndOfChain;
        else if (i >= firstFat && i < firstDifat)
            next = kFatSect;
        else if (i >= firstDifat && i < totalSectors)
            next = kDifSect;
        Put32(fat + 4 * i, next);
    }
    return file;
}

} // namespace xls
