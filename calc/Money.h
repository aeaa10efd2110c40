// Money, rate and date conventions shared by both schedules, the windows and
// the export. Portable: no platform headers.
#pragma once

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

namespace calc {

// A cell text built on the stack: the schedule writes thousands of them per
// run and must not allocate for each.
class CellText {
  public:
    std::wstring_view View() const { return {data_.data(), size_}; }
    operator std::wstring_view() const { return View(); }
    std::wstring Str() const { return std::wstring(View()); }
    std::size_t Size() const { return size_; }
    void Clear() { size_ = 0; }
    void Truncate(std::size_t size) { size_ = std::min(size, size_); }
    void Push(wchar_t c) {
        if (size_ < data_.size()) data_[size_++] = c;
    }
    void Append(std::wstring_view s) {
        const std::size_t n = std::min(s.size(), data_.size() - size_);
        std::copy_n(s.data(), n, data_.data() + size_);
        size_ += n;
    }
    void AppendDecimal(unsigned long long v, int minDigits = 1);
    // A whole number of cents as shown: the units, then the cents without
    // trailing zeros ("12", "12.5", "12.05").
    void AppendCents(bool negative, unsigned long long cents, wchar_t sep);
    // The text of a whole number of cents in place of the current one;
    // quicker than Clear and AppendCents.
    void AssignCents(long long cents, wchar_t sep);

  private:
    // Kept out of AssignCents so that its common case needs no saved registers.
    [[gnu::noinline]] void AssignLongCents(bool negative, unsigned long long magnitude,
                                           wchar_t sep);

    // Left uninitialised: only the first size_ characters are ever read, and
    // zeroing 1.4 KB for every cell would cost more than the cell's text.
    std::array<wchar_t, 352> data_; // fits the longest fixed-point double
    std::size_t size_ = 0;
};

// Rounds x to a multiple of 10^digit: divides by 10^digit in extended
// precision, rounds to the nearest whole number with exact halves going to the
// even neighbour, multiplies back. digit = -2 for money, -3 for rates, 4 for
// whole ten-thousands.
double RoundToMultiple(double x, int digit);

// RoundToMultiple(x, -2): every amount that is shown passes through it.
double RoundToCents(double x);

// Fixed-point text of x with at most 15 significant digits, no grouping, no
// trailing zeros and no separator for whole values (8270, 295.3, 0); a
// leading '-' for negative values. Non-finite values read NAN, INF, -INF.
std::wstring AmountText(double x, wchar_t decimalSeparator = L'.');
void AmountText(CellText& out, double x, wchar_t decimalSeparator = L'.');

// AmountText(RoundToCents(x)), the text of every amount in a grid cell, in
// one step.
void CentsText(CellText& out, double x, wchar_t decimalSeparator = L'.');

// The whole number of cents that CentsText shows for x where a double
// product tells it for certain, else 0. RoundToCents divides by 0.01 in
// extended precision; that quotient, rounded to 64 or to 53 bits, lies
// within 2^-52 × |100x| of the double product x × 100, under 10^10 cents
// less than 2^-18. So where the product is at most 0.49 from its nearest
// whole number, the quotient rounds to that same number.
inline long long QuickCents(double x) {
#if FLT_EVAL_METHOD == 0
    const double product = x * 100;
    if (std::fabs(product) < 1e10) {
        const double cents = (product + 0x1.8p52) - 0x1.8p52; // nearest, halves to even
        if (std::fabs(product - cents) <= 0.49) return static_cast<long long>(cents);
    }
#endif
    return 0;
}

// "2008年03月": the year in decimal, "年", the month as two digits, "月".
std::wstring DateText(long long year, int month);
void DateText(CellText& out, long long year, int month);

// Year and month of month l (counted from 1) of a run that starts in month m
// of year y; the month runs 1 to 12 and the year advances after December.
struct YearMonth {
    long long year;
    int month;
};
YearMonth PeriodMonth(long long year, int startMonth, int l);

// Date text of month l (counted from 1) of a run that starts in month m of
// year y; the month runs 01 to 12 and the year advances after December.
std::wstring PeriodDateText(long long year, int startMonth, int l);
void PeriodDateText(CellText& out, long long year, int startMonth, int l);

} // namespace calc
