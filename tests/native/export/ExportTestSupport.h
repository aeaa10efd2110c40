// Sheets shaped like the repayment table, scratch folders and the xlrd
// read-back shared by the export tests.
#pragma once

#include "BiffReader.h"
#include "export/XlsWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace xlstest {

using Grid = std::vector<std::vector<std::wstring>>; // [row][col]

inline const std::vector<std::wstring> kHeader = {L"还款时间",           L"月利息还款额（元）",
                                                  L"月本金还款额（元）", L"月还款额（元）",
                                                  L"剩余本金（元）",     L"提前还贷（元）"};

// The header and one row per month from 2008年01月: amounts with two
// decimals, 提前还贷 empty but every twelfth month.
inline Grid ScheduleGrid(int periods) {
    Grid g{kHeader};
    double balance = 1000000;
    for (int p = 0; p < periods; ++p) {
        const int year = 2008 + p / 12, month = p % 12 + 1;
        wchar_t date[32], interest[32], principal[32], payment[32], rest[32], early[32];
        std::swprintf(date, 32, L"%04d年%02d月", year, month);
        const double i = balance * 0.0061875, pay = 8606.64;
        balance -= pay - i;
        std::swprintf(interest, 32, L"%.2f", i);
        std::swprintf(principal, 32, L"%.2f", pay - i);
        std::swprintf(payment, 32, L"%.2f", pay);
        std::swprintf(rest, 32, L"%.2f", balance);
        std::swprintf(early, 32, L"%d", 10000 * (p / 12 + 1));
        g.push_back({date, interest, principal, payment, rest, p % 12 == 11 ? early : L""});
    }
    return g;
}

inline void Fill(xls::XlsWorkbook& wb, const Grid& g) {
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c)
            wb.SetCell(static_cast<int>(r), static_cast<int>(c), g[r][c]);
}

inline std::string Escaped(const std::wstring& text) {
    std::string out;
    for (char ch : Utf8(xls::ToUtf16(text))) {
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

// What xls_dump.py prints for a sheet holding the grid.
inline std::string ExpectedDump(const Grid& g, const std::wstring& sheetName = L"Sheet1") {
    std::size_t rows = 0, cols = 0;
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c)
            if (!g[r][c].empty()) {
                rows = r + 1;
                cols = std::max(cols, c + 1);
            }
    std::string out =
        Escaped(sheetName) + "\t" + std::to_string(rows) + " " + std::to_string(cols) + "\n";
    for (std::size_t r = 0; r < g.size(); ++r)
        for (std::size_t c = 0; c < g[r].size(); ++c)
            if (!g[r][c].empty())
                out +=
                    std::to_string(r) + "\t" + std::to_string(c) + "\t" + Escaped(g[r][c]) + "\n";
    return out;
}

// A folder of its own under the system's temporary folder, removed after.
class ScratchDir {
  public:
    ScratchDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("xls-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline Bytes ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& p, const Bytes& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::string Quoted(const std::filesystem::path& p) {
    std::string q(1, '\'');
    q += p.string();
    q += '\'';
    return q;
}

#ifndef _WIN32
// Runs a command and returns its standard output; status receives the exit
// status.
inline std::string Capture(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

inline std::string XlrdDump(const std::string& args, int& status) {
    const std::filesystem::path script = std::filesystem::path(EXPORT_TEST_DIR) / "xls_dump.py";
    return Capture("/usr/bin/python3 " + Quoted(script) + " " + args, status);
}
#else
// No pipes to Linux's python from Windows; the tests that need them skip.
inline std::string Capture(const std::string&, int& status) {
    status = -1;
    return {};
}
inline std::string XlrdDump(const std::string&, int& status) {
    return Capture({}, status);
}
#endif

} // namespace xlstest
