#include "export/XlsWriter.h"

#include "export/CompoundFile.h"
#include "export/FileReplace.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <unordered_map>

namespace xls {
namespace {

// Record ids.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::uint16_t kWsBool = 0x0081;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kRow = 0x0208;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kWindow2 = 0x023E;

constexpr std::size_t kMaxRecordData = 8224;
constexpr std::uint16_t kCellXf = 15;     // the one cell XF; 0-14 are style XFs
constexpr std::uint16_t kRowHeight = 270; // twips: 13.5 pt, Excel's for 11 pt 宋体
constexpr int kRowsPerBlock = 32;         // ROW records go in blocks of 32 rows
constexpr std::size_t kMaxExtSstBuckets = 128;
constexpr double kRkLimit = 536870912.0; // 2^29: an RK integer has 30 bits with its sign

class Bytes {
  public:
    void U8(std::uint8_t v) { data_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void U64(std::uint64_t v) {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Raw(std::initializer_list<std::uint8_t> bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
    void Append(const Bytes& other) {
        data_.insert(data_.end(), other.data_.begin(), other.data_.end());
    }
    void Patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::size_t Size() const { return data_.size(); }
    void Reserve(std::size_t n) { data_.reserve(n); }
    void Clear() { data_.clear(); }
    std::vector<std::uint8_t>& Vector() { return data_; }

  private:
    std::vector<std::uint8_t> data_;
};

void Record(Bytes& out, std::uint16_t id, const Bytes& data) {
    if (data.Size() > kMaxRecordData)
        throw std::logic_error("xls: record longer than the format allows");
    out.U16(id);
    out.U16(static_cast<std::uint16_t>(data.Size()));
    out.Append(data);
}

// Texts whose every unit fits in a byte are stored one byte per character
// (flags 0x00, Latin-1), the others as UTF-16LE (flags 0x01).
bool Compressible(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void Chars(Bytes& out, std::u16string_view s, bool compressed) {
    for (char16_t c : s) {
        if (compressed)
            out.U8(static_cast<std::uint8_t>(c));
        else
            out.U16(static_cast<std::uint16_t>(c));
    }
}

// cch u8, flags, characters: font and sheet names.
void ShortString(Bytes& out, std::u16string_view s) {
    const bool compressed = Compressible(s);
    out.U8(static_cast<std::uint8_t>(s.size()));
    out.U8(compressed ? 0x00 : 0x01);
    Chars(out, s, compressed);
}

void Bof(Bytes& out, std::uint16_t substream) {
    Bytes d;
    d.U16(0x0600); // BIFF8
    d.U16(substream);
    d.U16(0x0DBB);
    d.U16(0x07CC);
    d.U32(0x00000041);
    d.U32(0x00000006);
    Record(out, kBof, d);
}

void Eof(Bytes& out) {
    Record(out, kEof, Bytes{});
}

struct SstLayout {
    std::vector<std::u16string_view> strings; // unique, in first-use order
    std::uint32_t total = 0;                  // LABELSST cells referring to them
};

// Writes SST and its CONTINUE records, then EXTSST. A string's header and its
// first character always share a record; a string whose characters run past
// a record goes on in a CONTINUE that starts with the flags byte again.
void SharedStrings(Bytes& out, const SstLayout& sst) {
    const std::size_t count = sst.strings.size();
    // Buckets of at least 8 strings, at most 128 of them while the bucket
    // size still fits its 16 bits (a full sheet of unique texts needs 256).
    const std::size_t perBucket =
        std::clamp<std::size_t>((count + kMaxExtSstBuckets - 1) / kMaxExtSstBuckets, 8, 0xFFFF);
    Bytes ext;
    ext.U16(static_cast<std::uint16_t>(perBucket));

    Bytes rec;
    rec.U32(sst.total);
    rec.U32(static_cast<std::uint32_t>(count));
    std::uint16_t id = kSst;
    auto flush = [&] {
        Record(out, id, rec);
        rec.Clear();
        id = kContinue;
    };
    for (std::size_t n = 0; n < count; ++n) {
        const std::u16string_view s = sst.strings[n];
        const bool compressed = Compressible(s);
        const std::size_t unit = compressed ? 1 : 2;
        if (rec.Size() + 3 + (s.empty() ? 0 : unit) > kMaxRecordData) flush();
        if (n % perBucket == 0) {
            ext.U32(static_cast<std::uint32_t>(out.Size() + 4 + rec.Size()));
            ext.U16(static_cast<std::uint16_t>(4 + rec.Size()));
            ext.U16(0);
        }
        rec.U16(static_cast<std::uint16_t>(s.size()));
        rec.U8(compressed ? 0x00 : 0x01);
        std::size_t done = 0;
        while (done < s.size()) {
            const std::size_t room = (kMaxRecordData - rec.Size()) / unit;
            if (room == 0) {
                flush();
                rec.U8(compressed ? 0x00 : 0x01);
                continue;
            }
            const std::size_t take = std::min(room, s.size() - done);
            Chars(rec, s.substr(done, take), compressed);
            done += take;
        }
    }
    flush();
    Record(out, kExtSst, ext);
}

void Globals(Bytes& out, std::u16string_view sheetName, const SstLayout& sst,
             std::size_t& boundSheetOffset) {
    Bof(out, 0x0005);
    {
        Bytes d;
        d.U16(1200); // texts are UTF-16
        Record(out, kCodePage, d);
    }
    {
        Bytes d;
        for (std::uint16_t v : {0x0168, 0x010E, 0x3A5C, 0x23BE, 0x0038, 0, 0, 1, 0x0258})
            d.U16(v);
        Record(out, kWindow1, d);
    }
    // Four fonts: the format has no font 4, and a reader expects 0-3.
    for (int i = 0; i < 4; ++i) {
        Bytes d;
        d.U16(220);    // 11 pt
        d.U16(0);      // plain
        d.U16(0x7FFF); // automatic colour
        d.U16(400);    // normal weight
        d.U16(0);
        d.U8(0);
        d.U8(0);
        d.U8(134); // GB2312
        d.U8(0);
        ShortString(d, u"宋体");
        Record(out, kFont, d);
    }
    for (int i = 0; i < 16; ++i) {
        Bytes d;
        const bool style = i < 15;
        d.U16(0);                       // font 0
        d.U16(0);                       // General
        d.U16(style ? 0xFFF5 : 0x0001); // style XFs have no parent; the cell XF has XF 0
        d.Raw({0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20});
        Record(out, kXf, d);
    }
    {
        Bytes d;
        d.Raw({0x00, 0x80, 0x00, 0xFF}); // XF 0 is the built-in Normal style
        Record(out, kStyle, d);
    }
    {
        Bytes d;
        d.U32(0); // the sheet's BOF offset, known once the globals are written
        d.U8(0);  // visible
        d.U8(0);  // worksheet
        ShortString(d, sheetName);
        boundSheetOffset = out.Size() + 4;
        Record(out, kBoundSheet, d);
    }
    SharedStrings(out, sst);
    Eof(out);
}

std::uint16_t Low16(int v) {
    return static_cast<std::uint16_t>(v);
}

int RowOf(sheet::SheetCells::Map::const_iterator it) {
    return sheet::SheetCells::Row(it->first);
}

int ColOf(sheet::SheetCells::Map::const_iterator it) {
    return sheet::SheetCells::Col(it->first);
}

// The RK form of a number when it holds the value exactly: a 30-bit integer,
// or such an integer of hundredths (most amounts), flagged in the low bits.
std::optional<std::uint32_t> RkValue(double v) {
    for (const bool cents : {false, true}) {
        const double scaled = cents ? v * 100 : v;
        if (!(std::fabs(scaled) < kRkLimit)) continue;
        const double k = std::nearbyint(scaled);
        if ((cents ? k / 100 : k) != v) continue;
        const auto i = static_cast<std::int32_t>(k);
        return static_cast<std::uint32_t>(i) << 2 | 2u | (cents ? 1u : 0u);
    }
    return std::nullopt;
}

} // namespace

XlsWorkbook::XlsWorkbook(std::wstring sheetName) : sheetName_(ToUtf16(sheetName)) {
    const std::u16string_view n = sheetName_;
    if (n.empty() || n.size() > 31 || n.find_first_of(u":\\/?*[]") != n.npos ||
        n.front() == u'\'' || n.back() == u'\'')
        throw std::invalid_argument("xls: sheet name not accepted by Excel");
}

std::vector<std::uint8_t> XlsWorkbook::WorkbookStream() const {
    SstLayout sst;
    std::unordered_map<std::u16string_view, std::uint32_t> index;
    std::vector<std::uint32_t> cellIndex;
    const sheet::SheetCells::Map& cells = cells_.Cells();
    cellIndex.reserve(cells.size());
    for (const auto& [key, cell] : cells) {
        if (cell.isNumber) {
            cellIndex.push_back(0);
            continue;
        }
        const auto [it, added] =
            index.try_emplace(cell.text, static_cast<std::uint32_t>(sst.strings.size()));
        if (added) sst.strings.push_back(cell.text);
        cellIndex.push_back(it->second);
        ++sst.total;
    }

    Bytes out;
    std::size_t textBytes = 0;
    for (std::u16string_view t : sst.strings)
        textBytes += 3 + 2 * t.size();
    out.Reserve(1024 + textBytes + 34 * cells.size());
    std::size_t boundSheetOffset = 0;
    Globals(out, sheetName_, sst, boundSheetOffset);
    out.Patch32(boundSheetOffset, static_cast<std::uint32_t>(out.Size()));

    Bof(out, 0x0010);
    {
        Bytes d;
        d.U16(0x04C1);
        Record(out, kWsBool, d);
    }
    {
        Bytes d;
        d.U32(0);
        d.U32(static_cast<std::uint32_t>(cells_.UsedRows()));
        d.U16(0);
        d.U16(static_cast<std::uint16_t>(cells_.UsedCols()));
        d.U16(0);
        Record(out, kDimensions, d);
    }
    // Cells in blocks of 32 rows: first the ROW records of the block, then
    // its cells row by row.
    auto cell = cells.begin();
    std::size_t n = 0;
    while (cell != cells.end()) {
        const int blockEnd = (RowOf(cell) / kRowsPerBlock + 1) * kRowsPerBlock;
        auto blockStop = cell;
        while (blockStop != cells.end() && RowOf(blockStop) < blockEnd)
            ++blockStop;
        for (auto r = cell; r != blockStop;) {
            const int row = RowOf(r);
            const int firstCol = ColOf(r);
            int lastCol = firstCol;
            for (; r != blockStop && RowOf(r) == row; ++r)
                lastCol = ColOf(r);
            // Row and cell records go straight into the stream: a sheet
            // has thousands of them.
            out.U16(kRow);
            out.U16(16);
            out.U16(Low16(row));
            out.U16(Low16(firstCol));
            out.U16(Low16(lastCol + 1));
            out.U16(kRowHeight);
            out.U16(0);
            out.U16(0);
            out.U16(0x0100); // the flag bit the format says is always set
            out.U16(kCellXf);
        }
        for (; cell != blockStop; ++cell, ++n) {
            const sheet::Cell& c = cell->second;
            const std::optional<std::uint32_t> rk = c.isNumber ? RkValue(c.number) : std::nullopt;
            out.U16(!c.isNumber ? kLabelSst : rk ? kRk : kNumber);
            out.U16(!c.isNumber ? 10 : rk ? 10 : 14);
            out.U16(Low16(RowOf(cell)));
            out.U16(Low16(ColOf(cell)));
            out.U16(kCellXf); // General, as Excel stores a number typed in
            if (!c.isNumber)
                out.U32(cellIndex[n]);
            else if (rk)
                out.U32(*rk);
            else
                out.U64(std::bit_cast<std::uint64_t>(c.number));
        }
    }
    {
        Bytes d;
        for (std::uint16_t v : {0x06B6, 0, 0, 0x0040, 0, 0, 0, 0, 0})
            d.U16(v);
        Record(out, kWindow2, d);
    }
    Eof(out);

    // A short stream would have to live in the mini stream; zeros after the
    // last EOF bring it up to the cutoff instead.
    std::vector<std::uint8_t> stream = std::move(out.Vector());
    if (stream.size() < kMiniStreamCutoff) stream.resize(kMiniStreamCutoff, 0);
    return stream;
}

std::vector<std::uint8_t> XlsWorkbook::Save() const {
    return BuildCompoundFile(u"Workbook", WorkbookStream());
}

void XlsWorkbook::SaveToFile(const std::filesystem::path& path) const {
    WriteFileReplacing(path, Save());
}

} // namespace xls
