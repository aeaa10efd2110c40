#include "ExportTestSupport.h"
#include "export/FileReplace.h"
#include "export/XlsWriter.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace xlstest;
namespace fs = std::filesystem;

namespace {

const Bytes kOld = {'o', 'l', 'd'};

std::vector<fs::path> Entries(const fs::path& dir) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

xls::XlsWorkbook Schedule() {
    xls::XlsWorkbook wb;
    Fill(wb, ScheduleGrid(240));
    return wb;
}

} // namespace

TEST(SaveToFile, CreatesOrReplacesTheTargetWithTheWholeFile) {
    ScratchDir dir;
    const auto wb = Schedule();
    wb.SaveToFile(dir / "new.xls");
    EXPECT_EQ(ReadFile(dir / "new.xls"), wb.Save());

    WriteFile(dir / "old.xls", kOld);
    wb.SaveToFile(dir / "old.xls");
    EXPECT_EQ(ReadFile(dir / "old.xls"), wb.Save());
    EXPECT_EQ(Entries(dir.Path()), (std::vector<fs::path>{"new.xls", "old.xls"}));
}

TEST(SaveToFile, ChineseFileNamesWhateverTheLocale) {
    ScratchDir dir;
    const fs::path target = dir.Path() / fs::path(u8"等额本息贷款分期还款表.xls");
    Schedule().SaveToFile(xls::PathFromWide(dir.Path().wstring() + L"/等额本息贷款分期还款表.xls"));
    EXPECT_EQ(ReadXls(ReadFile(target)).cells.size(), 241u * 6 - 220);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<fs::path>{target.filename()}));
}

TEST(SaveToFile, MissingFolderFailsWithoutLeavingAnything) {
    ScratchDir dir;
    EXPECT_THROW(Schedule().SaveToFile(dir / "no-such-folder/out.xls"), fs::filesystem_error);
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST(SaveToFile, RenameFailureRemovesTheTemporaryFileAndKeepsTheTarget) {
    // A folder in the target's place: the new file is written, then cannot
    // take the folder's name.
    ScratchDir dir;
    fs::create_directory(dir / "taken.xls");
    WriteFile(dir / "taken.xls/inside", kOld);
    EXPECT_THROW(Schedule().SaveToFile(dir / "taken.xls"), fs::filesystem_error);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<fs::path>{"taken.xls"}));
    EXPECT_EQ(ReadFile(dir / "taken.xls/inside"), kOld);
}

#ifndef _WIN32
TEST(SaveToFile, WriteFailureKeepsTheOldFileAndRemovesTheTemporaryOne) {
    // A file size limit makes the write itself fail half way.
    ScratchDir dir;
    WriteFile(dir / "old.xls", kOld);
    const auto wb = Schedule();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(wb.SaveToFile(dir / "old.xls"), fs::filesystem_error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadFile(dir / "old.xls"), kOld);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<fs::path>{"old.xls"}));
}

TEST(SaveToFile, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ScratchDir dir;
    WriteFile(dir / "old.xls", kOld);
    fs::permissions(dir.Path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(Schedule().SaveToFile(dir / "old.xls"), fs::filesystem_error);
    fs::permissions(dir.Path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadFile(dir / "old.xls"), kOld);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<fs::path>{"old.xls"}));
}
#endif
