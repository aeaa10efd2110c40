// An independent reader of the files the writer makes, strict where Excel is
// strict: it rejects what the format forbids rather than guessing. Throws
// std::runtime_error naming the first fault.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace xlstest {

using Bytes = std::vector<std::uint8_t>;

struct Record {
    std::uint16_t id;
    std::size_t offset; // of the 4-byte header in the stream
    Bytes data;
};

struct CompoundInfo {
    Bytes stream;
    std::uint32_t fatSectors = 0;
    std::uint32_t difatSectors = 0;
};

struct Workbook {
    std::u16string sheetName;
    std::vector<std::u16string> strings;     // the SST
    std::vector<std::size_t> sstRecordSizes; // SST, then each CONTINUE
    // Every cell as text; numbers in their shortest fixed form, as the grid shows them.
    std::map<std::pair<int, int>, std::u16string> cells;
    std::map<std::pair<int, int>, double> numbers; // RK and NUMBER cells
    int rowMac = 0, colMac = 0;                    // DIMENSIONS
    int rowRecords = 0;
};

// Follows header, DIFAT, FAT and directory to the named stream.
CompoundInfo ReadCompoundFile(const Bytes& file, const std::u16string& streamName);
// Records up to the worksheet's EOF; only zeros may follow.
std::vector<Record> ReadRecords(const Bytes& stream);
Workbook DecodeWorkbook(const std::vector<Record>& records);
// The whole chain: file bytes to cells.
Workbook ReadXls(const Bytes& file);

std::string Utf8(const std::u16string& s);

} // namespace xlstest
