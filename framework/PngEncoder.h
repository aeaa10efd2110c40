// A small PNG writer for screenshots and generated artwork. Portable: no
// platform headers and no zlib; the deflate stream uses fixed Huffman codes
// with a short LZ77 search, which keeps flat UI pictures small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Pixels are 0xAARRGGBB, rows top-down, no padding between rows. That is the
// in-memory layout of a top-down 32-bit DIB section (bytes B, G, R, A) on a
// little-endian machine, so a screenshot can be passed straight through.
// With withAlpha = false the alpha byte is ignored and an RGB image is written.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels,
                                    bool withAlpha);

// Writes EncodePng's output to path; false when the size is invalid or the file
// cannot be written.
bool WritePngFile(const std::string& path, int width, int height, const std::uint32_t* pixels,
                  bool withAlpha);

// Checksums used by the format, exposed for tests and other writers.
// Crc32 continues from a previous result (0 to start).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler = 1);

// The zlib stream (header, fixed-Huffman deflate blocks, Adler-32) of data.
std::vector<std::uint8_t> ZlibCompress(const std::uint8_t* data, std::size_t size);
