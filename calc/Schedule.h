// The two repayment schedules, 等额本息 and 等额本金: validation, the four
// computation paths, planned prepayments and totals. The engine writes into
// a grid-shaped sink and reports messages through a callback, so the main
// window's string grid and the schedule tool are both just sinks.
// Portable: no platform headers.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace calc {

// Entry j (1 … 30, 第j年) at index j − 1: annual rate in percent of the
// schedule's j-th calendar year.
inline constexpr int kRateTableSize = 30;
using RateTable = std::array<double, kRateTableSize>;

// Periods beyond this are refused: 100 years of monthly payments.
inline constexpr int kMaxPeriods = 1200;

inline constexpr int kScheduleColumns = 6;

// The six header texts of a ScheduleGrid, row 0.
const std::array<std::wstring, kScheduleColumns>& ScheduleHeaders();

// A string grid as the engine sees it.
class ScheduleSink {
  public:
    virtual ~ScheduleSink() = default;
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual void SetCell(int col, int row, std::wstring_view text) = 0;
};

// A result box: a number edit given a value and an enabled state.
class ResultBox {
  public:
    virtual ~ResultBox() = default;
    virtual void SetValue(double value) = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

enum class RateMode { None, Fixed, Floating };

struct ScheduleInputs {
    double loan = 0;    // L, 元
    double periods = 0; // n, months; loops use Trunc(n)
    RateMode mode = RateMode::None;
    double fixedRate = 0; // percent per year, fixed mode
    RateTable rates{};    // floating mode
    // The PrepaymentPlan's items as name=value strings, separator '='.
    std::span<const std::wstring> plan;
    // Y0; empty when there is no year to start from (a clock before 1997
    // leaves the year list empty), which validation refuses.
    std::optional<int> firstYear;
    int firstMonth = 1; // M0, 1 … 12
    wchar_t decimalSeparator = L'.';
};

struct ScheduleOutputs {
    ScheduleSink& grid;
    ResultBox& first;    // 月还款额 or 月本金还款额
    ResultBox& total;    // 还款总额
    ResultBox& interest; // 利息总额
    std::function<void(const std::wstring&)> showMessage;
};

// Sets every cell of rows 1 … RowCount − 1 (the count before the run) to "".
void ClearScheduleRows(ScheduleSink& grid);

// Writes count rows of one constant rate starting at startRow and returns the
// balance after the last row; totalOut receives the sum of the unrounded
// payments. A count below 1 writes nothing and returns balance.
double FillInstalmentRows(ScheduleSink& grid, double& totalOut, int year, double count,
                          double balance, double remaining, double annualRate, int startMonth,
                          int startRow, wchar_t decimalSeparator = L'.');

// Run the whole calculation of the 等额本息 or the 等额本金 tab. False when
// validation refused the inputs (its message has been shown, nothing changed).
bool CalcEqualInstalment(const ScheduleInputs& in, ScheduleOutputs& out);
bool CalcEqualPrincipal(const ScheduleInputs& in, ScheduleOutputs& out);

// The amount of a plan item's value text (">  50000.00元"): the value less its
// first three characters and its last one, 0 when that is not a number.
double PlanItemAmount(std::wstring_view value, wchar_t decimalSeparator);

// The plan item text for a month: "2010年05月  <=>  50000.00元".
std::wstring PlanItemText(int year, int month, const std::wstring& amountText);

} // namespace calc
