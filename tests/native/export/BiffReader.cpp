#include "BiffReader.h"

#include "export/SheetCells.h"

#include <charconv>
#include <cstring>

#include <set>
#include <stdexcept>

namespace xlstest {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

[[noreturn]] void Fail(const std::string& why) {
    throw std::runtime_error(why);
}
void Check(bool ok, const std::string& why) {
    if (!ok) Fail(why);
}

std::uint16_t U16(const Bytes& b, std::size_t at) {
    Check(at + 2 <= b.size(), "read past the end");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

} // namespace

CompoundInfo ReadCompoundFile(const Bytes& file, const std::u16string& streamName) {
    static const Bytes magic = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    Check(file.size() >= 1024 && Bytes(file.begin(), file.begin() + 8) == magic, "no CFB magic");
    Check(file.size() % 512 == 0, "file is not whole sectors");
    Check(U16(file, 0x1A) == 3 && U16(file, 0x1C) == 0xFFFE && U16(file, 0x1E) == 9 &&
              U16(file, 0x20) == 6,
          "header version fields");
    Check(U32(file, 0x28) == 0, "v3 directory sector count must be 0");
    Check(U32(file, 0x38) == 4096, "mini stream cutoff");
    const std::size_t sectors = file.size() / 512 - 1;
    auto sector = [&](std::uint32_t s) {
        Check(s < sectors, "sector number out of the file");
        return 512 + 512 * static_cast<std::size_t>(s);
    };

    CompoundInfo info;
    info.fatSectors = U32(file, 0x2C);
    info.difatSectors = U32(file, 0x48);
    std::vector<std::uint32_t> fatList;
    for (int i = 0; i < 109; ++i) {
        const std::uint32_t s = U32(file, 0x4C + 4 * i);
        if (s != kFree) fatList.push_back(s);
    }
    std::vector<std::uint32_t> difatList;
    std::uint32_t d = U32(file, 0x44);
    if (info.difatSectors == 0)
        Check(d == kEndOfChain || d == kFree, "DIFAT start without DIFAT sectors");
    for (std::uint32_t n = 0; n < info.difatSectors; ++n) {
        difatList.push_back(d);
        const std::size_t at = sector(d);
        for (int j = 0; j < 127; ++j) {
            const std::uint32_t s = U32(file, at + 4 * j);
            if (s != kFree) fatList.push_back(s);
        }
        d = U32(file, at + 508);
    }
    Check(info.difatSectors == 0 || d == kEndOfChain, "DIFAT chain not ended");
    Check(fatList.size() == info.fatSectors, "FAT sector count differs from the DIFAT");

    std::vector<std::uint32_t> fat;
    for (std::uint32_t s : fatList)
        for (int j = 0; j < 128; ++j)
            fat.push_back(U32(file, sector(s) + 4 * j));
    Check(fat.size() >= sectors, "FAT does not cover the file");
    for (std::uint32_t s : fatList)
        Check(fat[s] == kFatSect, "FAT sector not marked FATSECT");
    for (std::uint32_t s : difatList)
        Check(fat[s] == kDifSect, "DIFAT sector not marked DIFSECT");

    auto chain = [&](std::uint32_t start) {
        std::vector<std::uint32_t> out;
        std::set<std::uint32_t> seen;
        for (std::uint32_t s = start; s != kEndOfChain; s = fat[s]) {
            Check(s < sectors && seen.insert(s).second, "broken or looping chain");
            out.push_back(s);
        }
        return out;
    };

    Bytes dir;
    for (std::uint32_t s : chain(U32(file, 0x30)))
        dir.insert(dir.end(), file.begin() + sector(s), file.begin() + sector(s) + 512);
    Check(dir[0x42] == 5, "entry 0 is not the root");
    Check(U32(dir, 0x74) == kEndOfChain && U32(dir, 0x78) == 0, "root has a mini stream");
    // The root's child must be the stream, and the stream the only entry of
    // its tree.
    const std::uint32_t child = U32(dir, 0x4C);
    Check(child * 128 + 128 <= dir.size(), "root child outside the directory");
    const std::size_t e = child * 128;
    std::u16string name;
    const std::uint16_t nameBytes = U16(dir, e + 0x40);
    Check(nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0, "name length");
    for (std::size_t i = 0; i + 2 < nameBytes; i += 2)
        name += static_cast<char16_t>(U16(dir, e + i));
    Check(U16(dir, e + nameBytes - 2) == 0, "name without NUL");
    Check(name == streamName && dir[e + 0x42] == 2, "stream entry");
    Check(dir[e + 0x43] == 1, "the lone child must be black");
    Check(U32(dir, e + 0x44) == kFree && U32(dir, e + 0x48) == kFree, "stream has siblings");
    const std::uint32_t size = U32(dir, e + 0x78);
    Check(U32(dir, e + 0x7C) == 0, "v3 size high dword");
    Check(size >= 4096, "stream below the cutoff is not in the mini stream");
    const auto streamChain = chain(U32(dir, e + 0x74));
    Check(streamChain.size() == (size + 511) / 512, "chain length differs from the size");
    for (std::uint32_t s : streamChain)
        info.stream.insert(info.stream.end(), file.begin() + sector(s),
                           file.begin() + sector(s) + 512);
    info.stream.resize(size);
    return info;
}

std::vector<Record> ReadRecords(const Bytes& stream) {
    std::vector<Record> out;
    std::size_t at = 0;
    int eofs = 0;
    while (eofs < 2) {
        Check(at + 4 <= stream.size(), "stream ends inside the records");
        Record r{U16(stream, at), at, {}};
        const std::size_t len = U16(stream, at + 2);
        Check(len <= 8224, "record longer than 8224 bytes");
        Check(at + 4 + len <= stream.size(), "record runs past the stream");
        r.data.assign(stream.begin() + at + 4, stream.begin() + at + 4 + len);
        at += 4 + len;
        eofs += r.id == 0x000A;
        out.push_back(std::move(r));
    }
    for (; at < stream.size(); ++at)
        Check(stream[at] == 0, "non-zero bytes after the last EOF");
    return out;
}

Workbook DecodeWorkbook(const std::vector<Record>& records) {
    Workbook wb;
    Check(!records.empty() && records[0].id == 0x0809 && U16(records[0].data, 2) == 0x0005,
          "globals BOF first");
    std::size_t i = 1;
    int fonts = 0, xfs = 0;
    std::uint32_t sheetOffset = 0, cstTotal = 0;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> stringStarts; // stream offset, in-record
    bool codepage = false, window1 = false, style = false, extsst = false;
    for (; records.at(i).id != 0x000A; ++i) {
        const Record& r = records[i];
        switch (r.id) {
        case 0x0042:
            codepage = U16(r.data, 0) == 1200;
            break;
        case 0x003D:
            window1 = r.data.size() == 18;
            break;
        case 0x0031:
            ++fonts;
            break;
        case 0x00E0:
            Check(r.data.size() == 20, "XF size");
            Check(((U16(r.data, 4) & 4) != 0) == (xfs < 15), "XFs 0-14 style, 15 cell");
            ++xfs;
            break;
        case 0x0293:
            style = true;
            break;
        case 0x0085: {
            sheetOffset = U32(r.data, 0);
            const std::size_t cch = r.data.at(6);
            const bool wide = r.data.at(7) & 1;
            for (std::size_t k = 0; k < cch; ++k)
                wb.sheetName += wide ? static_cast<char16_t>(U16(r.data, 8 + 2 * k))
                                     : static_cast<char16_t>(r.data.at(8 + k));
            break;
        }
        case 0x00FC: {
            cstTotal = U32(r.data, 0);
            const std::uint32_t unique = U32(r.data, 4);
            // Walk the strings across SST and its CONTINUE records.
            std::size_t rec = i, pos = 8;
            wb.sstRecordSizes.push_back(r.data.size());
            auto nextRecord = [&] {
                Check(records.at(rec + 1).id == 0x003C, "SST runs out of CONTINUE records");
                ++rec;
                pos = 0;
                wb.sstRecordSizes.push_back(records[rec].data.size());
            };
            for (std::uint32_t n = 0; n < unique; ++n) {
                if (pos == records[rec].data.size()) nextRecord();
                const Bytes* d = &records[rec].data;
                stringStarts.emplace_back(records[rec].offset + 4 + pos, 4 + pos);
                const std::size_t cch = U16(*d, pos);
                std::uint8_t flags = d->at(pos + 2);
                Check((flags & ~1u) == 0, "rich or extended string flags");
                pos += 3;
                Check(cch == 0 || pos + (flags & 1 ? 2 : 1) <= d->size(),
                      "string header split from its first character");
                std::u16string s;
                while (s.size() < cch) {
                    if (pos == d->size()) {
                        nextRecord();
                        d = &records[rec].data;
                        flags = d->at(pos++);
                        Check(flags <= 1, "CONTINUE does not repeat the flags byte");
                    }
                    if (flags & 1) {
                        Check(pos + 2 <= d->size(), "UTF-16 unit split across records");
                        s += static_cast<char16_t>(U16(*d, pos));
                        pos += 2;
                    } else {
                        s += static_cast<char16_t>(d->at(pos++));
                    }
                }
                wb.strings.push_back(std::move(s));
            }
            Check(pos == records[rec].data.size(), "bytes left over in the SST");
            Check(rec + 1 == records.size() || records[rec + 1].id != 0x003C,
                  "CONTINUE beyond the strings");
            i = rec;
            break;
        }
        case 0x00FF: {
            extsst = true;
            const std::size_t per = U16(r.data, 0);
            Check(per >= 8, "EXTSST bucket size");
            const std::size_t buckets = (stringStarts.size() + per - 1) / per;
            Check(r.data.size() == 2 + 8 * buckets, "EXTSST bucket count");
            for (std::size_t b = 0; b < buckets; ++b) {
                Check(U32(r.data, 2 + 8 * b) == stringStarts[b * per].first &&
                          U16(r.data, 6 + 8 * b) == stringStarts[b * per].second,
                      "EXTSST offset");
            }
            break;
        }
        default:
            break;
        }
    }
    Check(codepage && window1 && style && extsst, "a required globals record is missing");
    Check(fonts >= 4 && xfs == 16, "fonts or XFs");
    Check(std::set<std::u16string>(wb.strings.begin(), wb.strings.end()).size() ==
              wb.strings.size(),
          "duplicate SST strings");

    ++i;
    Check(i < records.size() && records[i].offset == sheetOffset,
          "BOUNDSHEET does not point at the sheet BOF");
    Check(records[i].id == 0x0809 && U16(records[i].data, 2) == 0x0010, "sheet BOF");
    std::uint32_t labels = 0;
    bool window2 = false;
    int lastRow = -1, lastCol = -1;
    for (++i; records.at(i).id != 0x000A; ++i) {
        const Record& r = records[i];
        if (r.id == 0x0200) {
            wb.rowMac = static_cast<int>(U32(r.data, 4));
            wb.colMac = U16(r.data, 10);
        } else if (r.id == 0x0208) {
            Check(r.data.size() == 16, "ROW size");
            ++wb.rowRecords;
        } else if (r.id == 0x023E) {
            window2 = true;
        } else if (r.id == 0x00FD) {
            Check(r.data.size() == 10, "LABELSST size");
            const int row = U16(r.data, 0), col = U16(r.data, 2);
            Check(U16(r.data, 4) == 15, "cell XF");
            Check(row > lastRow || (row == lastRow && col > lastCol), "cells out of order");
            lastRow = row;
            lastCol = col;
            const std::uint32_t isst = U32(r.data, 6);
            Check(isst < wb.strings.size(), "isst out of range");
            wb.cells[{row, col}] = wb.strings[isst];
            ++labels;
        } else if (r.id == 0x027E || r.id == 0x0203) {
            const bool rk = r.id == 0x027E;
            Check(r.data.size() == (rk ? 10u : 14u), "RK or NUMBER size");
            const int row = U16(r.data, 0), col = U16(r.data, 2);
            Check(U16(r.data, 4) == 15, "cell XF");
            Check(row > lastRow || (row == lastRow && col > lastCol), "cells out of order");
            lastRow = row;
            lastCol = col;
            double v = 0;
            if (rk) {
                const std::uint32_t bits = U32(r.data, 6);
                Check(bits & 2, "RK values here are integers");
                v = static_cast<std::int32_t>(bits) >> 2;
                if (bits & 1) v /= 100;
            } else {
                const std::uint64_t bits = U32(r.data, 6) | std::uint64_t{U32(r.data, 10)} << 32;
                std::memcpy(&v, &bits, sizeof v);
            }
            wb.numbers[{row, col}] = v;
            // The text the grid shows for the value, so that text checks hold.
            char text[512];
            const auto end =
                std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr;
            wb.cells[{row, col}] = std::u16string(text, end);
        }
    }
    Check(window2, "no WINDOW2");
    Check(labels == cstTotal, "cstTotal differs from the cell count");
    return wb;
}

Workbook ReadXls(const Bytes& file) {
    return DecodeWorkbook(ReadRecords(ReadCompoundFile(file, u"Workbook").stream));
}

std::string Utf8(const std::u16string& s) {
    return sheet::ToUtf8(s);
}

} // namespace xlstest
