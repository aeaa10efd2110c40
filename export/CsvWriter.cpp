#include "export/CsvWriter.h"

#include "export/FileReplace.h"

#include <charconv>

namespace csv {
namespace {

void Field(std::string& out, const sheet::Cell& cell) {
    if (cell.isNumber) {
        // Fixed notation, never "1e+05": the field reads back as the amount
        // it was. 512 characters hold every double so written.
        char digits[512];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, cell.number, std::chars_format::fixed)
                .ptr;
        out.append(digits, end);
        return;
    }
    const std::string text = sheet::ToUtf8(cell.text);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

} // namespace

std::vector<std::uint8_t> CsvTable::Save() const {
    std::string out = "\xEF\xBB\xBF";
    const int cols = cells_.UsedCols();
    const int rows = cells_.UsedRows();
    auto cell = cells_.Cells().begin();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0) out += ',';
            if (cell != cells_.Cells().end() && sheet::SheetCells::Row(cell->first) == r &&
                sheet::SheetCells::Col(cell->first) == c) {
                Field(out, cell->second);
                ++cell;
            }
        }
        out += "\r\n";
    }
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

void CsvTable::SaveToFile(const std::filesystem::path& path) const {
    xls::WriteFileReplacing(path, Save());
}

} // namespace csv
