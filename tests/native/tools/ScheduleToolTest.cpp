// The schedule tool reproduces what the window shows: the grid rows, the
// notices where they are shown, the totals through the "0.00" mask.
#include "ScheduleCli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

schedule_cli::Result Tool(const std::string& args) {
    std::vector<std::string> list;
    std::istringstream in(args);
    for (std::string word; in >> word;)
        list.push_back(word);
    return schedule_cli::Run(list);
}

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const std::string kHeader =
    "还款时间\t月利息还款额（元）\t月本金还款额（元）\t月还款额（元）\t剩余本金（元）\t"
    "提前还贷（元）";

} // namespace

TEST(ScheduleTool, InstalmentClosedForm) {
    auto r = Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Lines lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1], "2008年01月\t500\t8106.64\t8606.64\t91893.36");
    EXPECT_EQ(lines[5].substr(0, 13), "2008年05月\t");
    EXPECT_NE(lines[5].find("\t8270\t"), std::string::npos);
    EXPECT_EQ(lines[12], "2008年12月\t42.82\t8563.82\t8606.64\t0");
    EXPECT_EQ(lines[13], "#totals\t8606.64\t103279.72\t3279.72");
    EXPECT_EQ(lines[14], "#enabled\t1");
}

TEST(ScheduleTool, PrepaymentsAndNotices) {
    auto r = Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6 "
                  "--prepay 2008-06=50000");
    Lines lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[6], "2008年06月\t295.3\t8311.35\t8606.64\t50748.08\t50000");
    EXPECT_EQ(lines[7], "2008年07月\t3.74\t123.13\t126.87\t624.95");
    EXPECT_EQ(lines[13], "#totals\t0.00\t102401.08\t2401.08");
    EXPECT_EQ(lines[14], "#enabled\t0");

    r = Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6 "
             "--prepay 2008-06=60000");
    EXPECT_EQ(r.exitCode, 0);
    lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[6].substr(lines[6].rfind('\t') + 1), "50748.08");
    for (int row = 7; row <= 12; ++row)
        EXPECT_EQ(lines[static_cast<std::size_t>(row)], "") << row;
    // The notice comes after the rows and before the totals, as in the window.
    EXPECT_EQ(lines[13], "#message\t2008年06月提前还完贷款，计划超额9251.92元！");
    EXPECT_EQ(lines[14], "#totals\t0.00\t102387.93\t2387.93");

    // The last month's plan item meets a balance of exactly 0.
    r = Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6 "
             "--prepay 2008-12=100");
    lines = SplitLines(r.out);
    EXPECT_EQ(lines[12], "2008年12月\t42.82\t8563.82\t8606.64\t0\t0");
    EXPECT_EQ(lines[13], "#message\t2008年12月提前还完贷款，计划超额100元！");
    EXPECT_EQ(lines[14], "#totals\t0.00\t103279.72\t3279.72");
}

TEST(ScheduleTool, FloatingRatesBothMethods) {
    auto r = Tool("--method instalment --loan 100000 --periods 24 --first 2008-07 --rates 6,5,4");
    Lines lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[1].substr(0, 17), "2008年07月\t500\t");
    EXPECT_NE(lines[6].find("\t4432.06\t"), std::string::npos);
    EXPECT_NE(lines[7].find("\t317.13\t"), std::string::npos);
    EXPECT_NE(lines[18].find("\t4397.72\t"), std::string::npos);
    EXPECT_NE(lines[19].find("\t86.69\t"), std::string::npos);
    EXPECT_NE(lines[24].find("\t4385\t0"), std::string::npos);
    EXPECT_EQ(lines[25], "#totals\t0.00\t105675.01\t5675.01");
    EXPECT_EQ(lines[26], "#enabled\t0");

    r = Tool("--method principal --loan 120000 --periods 24 --first 2008-07 --rates 6,5,4");
    lines = SplitLines(r.out);
    EXPECT_EQ(lines[1], "2008年07月\t600\t5000\t5600\t115000");
    EXPECT_EQ(lines[7], "2009年01月\t375\t5000\t5375\t85000");
    EXPECT_EQ(lines[19], "2010年01月\t100\t5000\t5100\t25000");
    EXPECT_EQ(lines[24], "2010年06月\t16.67\t5000\t5016.67\t0");
    EXPECT_EQ(lines[25], "#totals\t5000.00\t126700.00\t6700.00");
}

TEST(ScheduleTool, PrincipalWithPlan) {
    auto r = Tool("--method principal --loan 120000 --periods 12 --first 2008-01 --rate 6 "
                  "--prepay 2008-06=50000");
    Lines lines = SplitLines(r.out);
    EXPECT_EQ(lines[1], "2008年01月\t600\t10000\t10600\t110000");
    EXPECT_EQ(lines[6], "2008年06月\t350\t10000\t10350\t60000\t50000");
    EXPECT_EQ(lines[7], "2008年07月\t50\t1666.67\t1716.67\t8333.33");
    EXPECT_EQ(lines[13], "#totals\t0.00\t123025.00\t3025.00");
    EXPECT_EQ(lines[14], "#enabled\t0");
}

TEST(ScheduleTool, ValidationFailurePrintsOnlyTheMessage) {
    auto r = Tool("--method instalment --loan 0 --periods 12 --first 2008-01 --rate 6");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "#message\t贷款总额须大于零！\n");
    r = Tool("--method principal --loan 100000 --periods 24 --first 2008-01 --rates 6,5");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "#message\t第3年 年利率须大于零！\n");
    r = Tool("--method principal --loan 100000 --periods 1201 --first 2008-01 --rate 5");
    EXPECT_EQ(r.out, "#message\t按揭期数须小于等于1200！\n");
}

TEST(ScheduleTool, DecimalSeparatorAppliesToEveryText) {
    auto r = Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6 "
                  "--prepay 2008-06=50000 --decimal-separator ,");
    Lines lines = SplitLines(r.out);
    EXPECT_EQ(lines[6], "2008年06月\t295,3\t8311,35\t8606,64\t50748,08\t50000");
    EXPECT_EQ(lines[13], "#totals\t0,00\t102401,08\t2401,08");
}

TEST(ScheduleTool, RatesAreRoundedToThreeDecimals) {
    auto a =
        Tool("--method instalment --loan 100000 --periods 24 --first 2008-07 --rates 6.0004,5,4");
    auto b = Tool("--method instalment --loan 100000 --periods 24 --first 2008-07 --rates 6,5,4");
    EXPECT_EQ(a.out, b.out);
}

TEST(ScheduleTool, WrongUsageExitsTwoWithUsageOnStderr) {
    for (const char* args :
         {"", "--method instalment", "--method bogus --loan 1 --periods 1 --first 2008-01 --rate 1",
          "--method instalment --loan x --periods 12 --first 2008-01 --rate 6",
          "--method instalment --loan 1 --periods 12 --first 2008-13 --rate 6",
          "--method instalment --loan 1 --periods 12 --first 2008-01",
          "--method instalment --loan 1 --periods 12 --first 2008-01 --rate 6 --rates 6",
          "--method instalment --loan 1 --periods 12 --first 2008-01 --rate 6 --prepay 2008-01",
          "--method instalment --loan 1 --periods 12 --first 2008-01 --rate 6 --bogus 1",
          "--method instalment --loan 1 --periods 12 --first 2008-01 --rates "
          "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"}) {
        auto r = Tool(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_NE(r.err.find("usage: schedule"), std::string::npos) << args;
    }
}

#ifndef _WIN32
TEST(ScheduleTool, TheBuiltProgramEndToEnd) {
    std::string cmd = std::string(SCHEDULE_EXE) +
                      " --method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6"
                      " --prepay 2008-06=60000";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, Tool("--method instalment --loan 100000 --periods 12 --first 2008-01 --rate 6 "
                        "--prepay 2008-06=60000")
                       .out);
    EXPECT_EQ(std::system((std::string(SCHEDULE_EXE) + " --bogus 2>/dev/null").c_str()) >> 8, 2);
}
#endif

TEST(ScheduleTool, RemainingFiguresOfBothMethods) {
    // December start rolls into January.
    Lines lines = SplitLines(
        Tool("--method instalment --loan 100000 --periods 12 --first 2008-12 --rate 6").out);
    EXPECT_EQ(lines[1].substr(0, 13), "2008年12月\t");
    EXPECT_EQ(lines[2].substr(0, 13), "2009年01月\t");

    // A floating plan item outside the schedule: path C's rows and totals,
    // but the payment box shows 0.
    const std::string floating =
        "--method instalment --loan 100000 --periods 24 --first 2008-07 --rates 6,5,4";
    Lines c = SplitLines(Tool(floating).out);
    Lines d = SplitLines(Tool(floating + " --prepay 2030-01=1000").out);
    ASSERT_EQ(c.size(), d.size());
    for (std::size_t i = 0; i < c.size(); ++i)
        EXPECT_EQ(d[i], c[i]) << i;
    for (int row = 1; row <= 6; ++row)
        EXPECT_NE(c[static_cast<std::size_t>(row)].find("\t4432.06\t"), std::string::npos) << row;

    lines = SplitLines(
        Tool("--method principal --loan 120000 --periods 12 --first 2008-01 --rate 6").out);
    EXPECT_EQ(lines[1], "2008年01月\t600\t10000\t10600\t110000");
    EXPECT_EQ(lines[2], "2008年02月\t550\t10000\t10550\t100000");
    EXPECT_EQ(lines[12], "2008年12月\t50\t10000\t10050\t0");
    EXPECT_EQ(lines[13], "#totals\t10000.00\t123900.00\t3900.00");
    EXPECT_EQ(lines[14], "#enabled\t1");

    lines = SplitLines(Tool("--method principal --loan 120000 --periods 12 --first 2008-01 "
                            "--rate 6 --prepay 2008-06=80000")
                           .out);
    EXPECT_EQ(lines[6], "2008年06月\t350\t10000\t10350\t60000\t60000");
    EXPECT_EQ(lines[13], "#message\t2008年06月提前还完贷款，计划超额20000元！");
    EXPECT_EQ(lines[14], "#totals\t0.00\t122850.00\t2850.00");
}
