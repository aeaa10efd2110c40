#pragma once

// Reads an exported workbook back and compares it with the grid it came from.

#include "framework/Grids.h"

#include "BiffReader.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The file holds exactly the grid: cell (c, r) in row r, column c, amounts as
// numbers and the rest as text; empty cells are not stored.
inline void ExpectFileHoldsTheGrid(const std::wstring& path, const TStringGrid& grid) {
    const std::string bytes = FileBytes(path);
    ASSERT_FALSE(bytes.empty()) << "no file";
    const xlstest::Workbook book = xlstest::ReadXls(xlstest::Bytes(bytes.begin(), bytes.end()));
    int filled = 0;
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c) {
            const std::wstring& expected = grid.Cells(c, r);
            // Amounts are numbers of the grid's value, whatever their digits.
            if (const auto n = book.numbers.find({r, c}); n != book.numbers.end()) {
                EXPECT_TRUE(r > 0 && c > 0) << "row " << r << " col " << c;
                EXPECT_EQ(n->second, std::wcstod(expected.c_str(), nullptr))
                    << "row " << r << " col " << c;
                ++filled;
                continue;
            }
            const auto it = book.cells.find({r, c});
            const std::u16string got = it == book.cells.end() ? u"" : it->second;
            EXPECT_EQ(got, std::u16string(expected.begin(), expected.end()))
                << "row " << r << " col " << c;
            filled += !expected.empty();
        }
    EXPECT_EQ(int(book.cells.size()), filled) << "cells outside the grid";
}
