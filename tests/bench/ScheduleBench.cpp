// The eight schedule paths (two methods × fixed/floating × with/without plan)
// at 360 periods, into a grid that keeps its cells like the window's does.
#include "calc/Schedule.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

struct Grid final : calc::ScheduleSink {
    std::vector<std::wstring> cells = std::vector<std::wstring>(13 * 6);
    int rows = 13;
    int ColCount() const override { return 6; }
    int RowCount() const override { return rows; }
    void SetRowCount(int r) override {
        rows = r;
        if (cells.size() < static_cast<std::size_t>(r) * 6)
            cells.resize(static_cast<std::size_t>(r) * 6);
    }
    void SetCell(int col, int row, std::wstring_view text) override {
        cells[static_cast<std::size_t>(row) * 6 + static_cast<std::size_t>(col)] = text;
    }
};

struct Box final : calc::ResultBox {
    void SetValue(double v) override { benchmark::DoNotOptimize(v); }
    void SetEnabled(bool) override {}
};

void Path(benchmark::State& state, bool instalment, bool floating, bool withPlan) {
    calc::ScheduleInputs in;
    in.loan = 1000000;
    in.periods = 360;
    in.firstYear = 2020;
    in.firstMonth = 7;
    in.mode = floating ? calc::RateMode::Floating : calc::RateMode::Fixed;
    in.fixedRate = 4.9;
    for (int j = 0; j < 30; ++j)
        in.rates[static_cast<std::size_t>(j)] = 4.0 + 0.05 * j;
    std::vector<std::wstring> plan;
    if (withPlan) {
        plan.push_back(L"2025年03月  <=>  100000.00元");
        plan.push_back(L"2030年03月  <=>  100000.00元");
    }
    in.plan = plan;
    Grid grid;
    Box a, b, c;
    calc::ScheduleOutputs out{grid, a, b, c, [](const std::wstring&) {}};
    for (auto _ : state) {
        if (instalment)
            calc::CalcEqualInstalment(in, out);
        else
            calc::CalcEqualPrincipal(in, out);
    }
}

} // namespace

BENCHMARK_CAPTURE(Path, Instalment_A_Fixed, true, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Instalment_B_FixedPlan, true, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Instalment_C_Floating, true, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Instalment_D_FloatingPlan, true, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Principal_A_Fixed, false, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Principal_B_FixedPlan, false, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Principal_C_Floating, false, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Path, Principal_D_FloatingPlan, false, true, true)->Unit(benchmark::kMicrosecond);
