#include "export/SheetCells.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sheet {

std::u16string ToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if constexpr (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<char16_t>(c));
        } else if (c < 0x10000) {
            // A lone surrogate in UTF-32 text is no character.
            out.push_back(c >= 0xD800 && c < 0xE000 ? u'\uFFFD' : static_cast<char16_t>(c));
        } else if (c <= 0x10FFFF) {
            const std::uint32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::uint32_t c = s[i];
        if (c >= 0xD800 && c < 0xE000) {
            const bool paired =
                c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000;
            c = paired ? 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00) : 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::uint64_t SheetCells::Key(int row, int col) const {
    if (row < 0 || row >= maxRows_ || col < 0 || col >= maxCols_)
        throw std::out_of_range("sheet: cell outside the worksheet");
    return static_cast<std::uint64_t>(row) << 32 | static_cast<std::uint32_t>(col);
}

void SheetCells::SetText(int row, int col, std::wstring_view text) {
    const std::uint64_t key = Key(row, col);
    std::u16string s = ToUtf16(text);
    if (s.size() > kMaxCellChars) {
        // Never keep half of a surrogate pair.
        std::size_t keep = kMaxCellChars;
        if (s[keep - 1] >= 0xD800 && s[keep - 1] < 0xDC00) --keep;
        s.resize(keep);
    }
    if (s.empty())
        cells_.erase(key);
    else
        cells_[key] = Cell{std::move(s), 0, false};
}

void SheetCells::SetNumber(int row, int col, double value) {
    const std::uint64_t key = Key(row, col);
    if (!std::isfinite(value)) throw std::invalid_argument("sheet: not a finite number");
    cells_[key] = Cell{{}, value, true};
}

int SheetCells::UsedRows() const {
    return cells_.empty() ? 0 : Row(cells_.rbegin()->first) + 1;
}

int SheetCells::UsedCols() const {
    int cols = 0;
    for (const auto& [key, cell] : cells_)
        cols = std::max(cols, Col(key) + 1);
    return cols;
}

} // namespace sheet
