#pragma once

// Reads an exported .xls, .xlsx or .csv file back, independently of the
// writers, and compares it with the grid: amounts must be numbers of the
// grid's value, the header, the dates and other texts text.

#include "framework/Grids.h"

#include "BiffReader.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <string>

namespace sheetcheck {

struct Cell {
    bool number = false;
    std::wstring text; // for a number: as written in the file
    double value = 0;
};
using Cells = std::map<std::pair<int, int>, Cell>; // (row, col)

inline std::wstring FromUtf8(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), int(w.size())));
    return w;
}

inline std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b.at(at + i));
    return v;
}

// One member of a zip archive, found through its central directory.
inline std::string Unzip(const std::string& zip, const std::string& name) {
    const std::size_t end = zip.size() - 22;
    EXPECT_EQ(Le(zip, end, 4), 0x06054B50u) << "no end of central directory";
    std::size_t at = Le(zip, end + 16, 4);
    for (std::uint32_t n = Le(zip, end + 10, 2); n > 0; --n) {
        const std::size_t nameLength = Le(zip, at + 28, 2);
        if (zip.substr(at + 46, nameLength) == name) {
            const std::size_t local = Le(zip, at + 42, 4);
            const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
            std::string out(Le(zip, at + 24, 4), '\0');
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            z.avail_in = Le(zip, at + 20, 4);
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
            inflateEnd(&z);
            EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(out.data()), uInt(out.size())),
                      Le(zip, at + 16, 4))
                << name;
            return out;
        }
        at += 46 + nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
    }
    ADD_FAILURE() << "no " << name << " in the archive";
    return {};
}

inline Cells ReadXlsx(const std::string& bytes) {
    Cells cells;
    const std::string xml = Unzip(bytes, "xl/worksheets/sheet1.xml");
    static const std::regex cell(R"re(<c r="([A-Z]+)([0-9]+)"( t="inlineStr")?>)re"
                                 R"re((?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), cell), end; it != end; ++it) {
        const std::smatch& m = *it;
        int col = 0;
        for (char ch : m[1].str())
            col = col * 26 + (ch - 'A' + 1);
        const bool number = !m[3].matched;
        const std::wstring text = FromUtf8(number ? m[4].str() : m[5].str());
        cells[{std::stoi(m[2].str()) - 1, col - 1}] =
            Cell{number, text, number ? std::wcstod(text.c_str(), nullptr) : 0};
    }
    return cells;
}

// The schedule's fields hold no quotes, so a line splits at its commas.
inline Cells ReadCsv(const std::string& bytes) {
    Cells cells;
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
    static const std::wregex number(LR"(-?[0-9]+(\.[0-9]+)?)");
    const std::wstring text = FromUtf8(bytes.substr(3));
    std::size_t start = 0;
    for (int row = 0; start < text.size(); ++row) {
        const std::size_t eol = text.find(L"\r\n", start);
        EXPECT_NE(eol, std::wstring::npos) << "a line without CRLF";
        const std::wstring line = text.substr(start, eol - start);
        std::size_t from = 0;
        for (int col = 0; from <= line.size(); ++col) {
            const std::size_t comma = std::min(line.find(L',', from), line.size());
            const std::wstring field = line.substr(from, comma - from);
            const bool isNumber = std::regex_match(field, number);
            if (!field.empty())
                cells[{row, col}] =
                    Cell{isNumber, field, isNumber ? std::wcstod(field.c_str(), nullptr) : 0};
            from = comma + 1;
        }
        start = eol + 2;
    }
    return cells;
}

inline Cells ReadXls(const std::string& bytes) {
    Cells cells;
    const xlstest::Workbook book = xlstest::ReadXls(xlstest::Bytes(bytes.begin(), bytes.end()));
    for (const auto& [at, text] : book.cells) {
        const auto n = book.numbers.find(at);
        cells[at] = Cell{n != book.numbers.end(), std::wstring(text.begin(), text.end()),
                         n != book.numbers.end() ? n->second : 0};
    }
    return cells;
}

inline Cells ReadSheetFile(const std::wstring& path) {
    const std::string bytes = FileBytes(path);
    EXPECT_FALSE(bytes.empty()) << "no file";
    if (bytes.empty()) return {};
    std::wstring ext = path.substr(path.find_last_of(L'.'));
    CharLowerW(ext.data());
    return ext == L".xlsx" ? ReadXlsx(bytes) : ext == L".csv" ? ReadCsv(bytes) : ReadXls(bytes);
}

// Every grid cell in the file: amounts (columns 1 on, rows 1 on) as numbers
// of their value, the rest as their text; empty cells absent.
inline void ExpectFileHoldsTheGridTyped(const std::wstring& path, const TStringGrid& grid) {
    const Cells cells = ReadSheetFile(path);
    std::size_t filled = 0;
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c) {
            const std::wstring& text = grid.Cells(c, r);
            if (text.empty()) continue;
            ++filled;
            const auto it = cells.find({r, c});
            ASSERT_NE(it, cells.end()) << "row " << r << " col " << c;
            const bool amount = r > 0 && c > 0;
            EXPECT_EQ(it->second.number, amount) << "row " << r << " col " << c;
            if (amount)
                EXPECT_EQ(it->second.value, std::wcstod(text.c_str(), nullptr))
                    << "row " << r << " col " << c;
            else
                EXPECT_EQ(it->second.text, text) << "row " << r << " col " << c;
        }
    EXPECT_EQ(cells.size(), filled) << "cells outside the grid";
}

} // namespace sheetcheck
