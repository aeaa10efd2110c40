// A compound file (version 3, 512-byte sectors) holding one stream under its
// root storage: the container of a legacy workbook. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xls {

// Streams below this size belong in the mini stream, which we never write;
// callers pad their stream up to it instead.
inline constexpr std::size_t kMiniStreamCutoff = 4096;
inline constexpr std::size_t kSectorSize = 512;

// Builds the whole file: header, the stream's sectors, one directory sector,
// the FAT and, for streams past about 6.8 MB, DIFAT sectors. The name is at
// most 31 UTF-16 units; the stream must be at least kMiniStreamCutoff bytes.
// Throws std::invalid_argument otherwise.
std::vector<std::uint8_t> BuildCompoundFile(std::u16string_view streamName,
                                            std::span<const std::uint8_t> stream);

} // namespace xls
