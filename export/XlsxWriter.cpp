#include "export/XlsxWriter.h"

#include "export/FileReplace.h"
#include "export/ZipWriter.h"

#include <charconv>
#include <stdexcept>

namespace xlsx {
namespace {

constexpr const char* kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kDocRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool AllowedInXml(char16_t c) {
    return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF : c == u'\t' || c == u'\n' || c == u'\r';
}

// Text for an element or an attribute. Characters XML cannot carry become
// Excel's _xHHHH_ escapes, and an underscore that would read as one is
// escaped itself, so the cell keeps exactly its text.
void AppendEscaped(std::string& out, std::u16string_view s) {
    std::u16string plain;
    plain.reserve(s.size());
    auto hex = [&plain](char16_t c) {
        static const char16_t digits[] = u"0123456789ABCDEF";
        plain += u"_x";
        for (int shift = 12; shift >= 0; shift -= 4)
            plain += digits[(c >> shift) & 0xF];
        plain += u'_';
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool escapeLike = c == u'_' && i + 6 < s.size() && s[i + 1] == u'x' &&
                                s[i + 6] == u'_' &&
                                s.substr(i + 2, 4).find_first_not_of(u"0123456789ABCDEFabcdef") ==
                                    std::u16string_view::npos;
        if (!AllowedInXml(c) || escapeLike)
            hex(c);
        else
            plain += c;
    }
    for (char ch : sheet::ToUtf8(plain)) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            out += "&#13;"; // a literal CR would be read back as LF
            break;
        default:
            out += ch;
        }
    }
}

bool IsXmlSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

std::string Document(const std::string& body) {
    return kXmlDeclaration + body;
}

} // namespace

std::string CellName(int row, int col) {
    std::string letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

XlsxWorkbook::XlsxWorkbook(std::wstring sheetName) : sheetName_(sheet::ToUtf16(sheetName)) {
    const std::u16string_view n = sheetName_;
    if (n.empty() || n.size() > 31 || n.find_first_of(u":\\/?*[]") != n.npos ||
        n.front() == u'\'' || n.back() == u'\'')
        throw std::invalid_argument("xlsx: sheet name not accepted by Excel");
}

std::string XlsxWorkbook::SheetXml() const {
    std::string xml = kXmlDeclaration;
    xml.reserve(64 * cells_.Cells().size() + 512);
    xml += "<worksheet xmlns=\"";
    xml += kMainNs;
    xml += "\">";
    if (!cells_.Cells().empty())
        xml += "<dimension ref=\"A1:" + CellName(cells_.UsedRows() - 1, cells_.UsedCols() - 1) +
               "\"/>";
    xml += "<sheetData>";
    int openRow = -1;
    for (const auto& [key, cell] : cells_.Cells()) {
        const int row = sheet::SheetCells::Row(key);
        if (row != openRow) {
            if (openRow >= 0) xml += "</row>";
            xml += "<row r=\"" + std::to_string(row + 1) + "\">";
            openRow = row;
        }
        xml += "<c r=\"" + CellName(row, sheet::SheetCells::Col(key)) + "\"";
        if (cell.isNumber) {
            // The shortest text that reads back as the same double.
            char digits[32];
            const auto end = std::to_chars(digits, digits + sizeof digits, cell.number).ptr;
            xml += "><v>";
            xml.append(digits, end);
            xml += "</v></c>";
        } else {
            const bool keepSpace = IsXmlSpace(cell.text.front()) || IsXmlSpace(cell.text.back());
            xml += keepSpace ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                             : " t=\"inlineStr\"><is><t>";
            AppendEscaped(xml, cell.text);
            xml += "</t></is></c>";
        }
    }
    if (openRow >= 0) xml += "</row>";
    xml += "</sheetData></worksheet>";
    return xml;
}

std::vector<std::uint8_t> XlsxWorkbook::Save() const {
    const std::string ns = std::string(" xmlns=\"") + kMainNs + "\"";
    const std::string rels = std::string("<Relationships xmlns=\"") + kRelNs + "\">";
    auto relationship = [](const char* id, const std::string& type, const char* target) {
        return std::string("<Relationship Id=\"") + id + "\" Type=\"" + kDocRel + "/" + type +
               "\" Target=\"" + target + "\"/>";
    };
    std::string sheetName;
    AppendEscaped(sheetName, sheetName_);

    zip::ZipWriter zip;
    zip.Add("[Content_Types].xml",
            Document("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                     "content-types\">"
                     "<Default Extension=\"rels\" ContentType=\"application/"
                     "vnd.openxmlformats-package.relationships+xml\"/>"
                     "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                     "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                     "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                     "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                     "</Types>"));
    zip.Add("_rels/.rels",
            Document(rels + relationship("rId1", "officeDocument", "xl/workbook.xml") +
                     "</Relationships>"));
    zip.Add("xl/workbook.xml",
            Document("<workbook" + ns + " xmlns:r=\"" + kDocRel + "\"><sheets><sheet name=\"" +
                     sheetName + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"));
    zip.Add("xl/_rels/workbook.xml.rels",
            Document(rels + relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                     relationship("rId2", "styles", "styles.xml") + "</Relationships>"));
    // One font, the two fills every workbook carries, one border and the
    // General cell format: the least Excel opens without a repair.
    zip.Add("xl/styles.xml",
            Document("<styleSheet" + ns +
                     "><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"宋体\"/>"
                     "<family val=\"2\"/><charset val=\"134\"/></font></fonts>"
                     "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                     "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
                     "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/>"
                     "</border></borders>"
                     "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
                     "borderId=\"0\"/></cellStyleXfs>"
                     "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
                     "borderId=\"0\" xfId=\"0\"/></cellXfs>"
                     "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
                     "builtinId=\"0\"/></cellStyles></styleSheet>"));
    zip.Add("xl/worksheets/sheet1.xml", SheetXml());
    return zip.Finish();
}

void XlsxWorkbook::SaveToFile(const std::filesystem::path& path) const {
    xls::WriteFileReplacing(path, Save());
}

} // namespace xlsx
