#include "Schedule.h"

#include "Money.h"
#include "numbers/NumberText.h"
#include "Precision.h"

#include <algorithm>
#include <cmath>

namespace calc {

namespace {

using Real = long double; // intermediates of one formula

const wchar_t* const kLoanNotPositive = L"贷款总额须大于零！";
const wchar_t* const kPeriodsNotPositive = L"按揭期数须大于零！";
const wchar_t* const kTooManyPeriods = L"按揭期数须小于等于1200！";
const wchar_t* const kNoFirstYear = L"请选择还款首月的年份！";
const wchar_t* const kFixedRateNotPositive = L"固定年利率须大于零！";

// r: the annual percentage divided by 100, then by 12, held as a double.
double MonthlyRate(double annualRate) {
    return static_cast<double>(Real(annualRate) / 100 / 12);
}

double RateOfYear(const RateTable& rates, long long j) {
    // A calendar year past the table keeps the last entry's rate.
    j = std::clamp<long long>(j, 1, kRateTableSize);
    return rates[static_cast<std::size_t>(j - 1)];
}

// The annuity of one balance over `remaining` periods at monthly rate r.
// (F − (1 + r)^k) / (F − 1) is the share of the balance still owed after k
// periods; F = (1 + r)^remaining. When r is so small that F − 1 vanishes even
// in extended precision the zero-rate limit (remaining − k) / remaining is
// exact to double precision and avoids dividing by zero.
struct Annuity {
    Real growth; // 1 + r
    Real log2Growth;
    Real f; // (1 + r)^remaining
    Real fMinus1;
    Real remaining;
    bool flat;
    // A rate so large that F overflows even in extended precision: the
    // quotients below then take their limits (F / (F − 1) → 1) instead of
    // ∞ / ∞, which would put NaN into every amount.
    bool huge;

    Annuity(double r, double remainingPeriods)
        : growth(1 + Real(r)), log2Growth(Log2(growth)), f(Power(Real(remainingPeriods))),
          fMinus1(f - 1), remaining(remainingPeriods), flat(fMinus1 == 0), huge(std::isinf(f)) {}

    // (1 + r)^k as 2^(k × log2(1 + r)): as exact as powl in extended
    // precision and several times faster. F and the k-th power come from the
    // same expression, so the balance after the last period is exactly 0.
    Real Power(Real k) const {
        if (k == 0) return 1;
        if (k == 1) return growth;
        return std::exp2(k * log2Growth);
    }

    // Month-by-month runs ask for the same rate 360 times in a row.
    static Real Log2(Real g) {
        thread_local Real lastGrowth = 1;
        thread_local Real lastLog2 = 0;
        if (g != lastGrowth) {
            lastLog2 = std::log2(g);
            lastGrowth = g;
        }
        return lastLog2;
    }

    // Share still owed after k periods, given (1 + r)^k.
    Real Owed(Real powK, int k) const {
        if (huge) return k >= remaining ? 0 : 1;
        return flat ? (remaining - k) / remaining : (f - powK) / fMinus1;
    }
    // balance × r × F / (F − 1)
    Real Payment(double balance, double r) const {
        if (huge) return Real(balance) * r;
        if (flat) return Real(balance) / remaining;
        const Real product = Real(balance) * r * f;
        // Just below F's own overflow the product may overflow first.
        return std::isinf(product) ? Real(balance) * r * (f / fMinus1) : product / fMinus1;
    }
    // balance × r × (F − (1 + r)^(k − 1)) / (F − 1)
    Real Interest(double balance, double r, Real powKMinus1, int k) const {
        if (huge) return Real(balance) * r;
        if (flat) return Real(balance) * r * (remaining - (k - 1)) / remaining;
        const Real product = Real(balance) * r * (f - powKMinus1);
        return std::isinf(product) ? Real(balance) * r * ((f - powKMinus1) / fMinus1)
                                   : product / fMinus1;
    }
};

// Columns 0 to 4 of a period row.
void WriteRow(ScheduleSink& grid, int row, long long year, int startMonth, int l, double interest,
              double principal, double payment, double balance, wchar_t sep) {
    CellText text;
    PeriodDateText(text, year, startMonth, l);
    grid.SetCell(0, row, text);
    const double amounts[] = {interest, principal, payment, balance};
    for (int col = 1; col <= 4; ++col) {
        CentsText(text, amounts[col - 1], sep);
        grid.SetCell(col, row, text);
    }
}

// Whole rows of a count argument; negative, NaN or huge counts stay in range.
int RowsOf(double count) {
    if (!(count >= 1)) return 0;
    return static_cast<int>(std::min(count, double(kMaxPeriods)));
}

using FillRows = double (*)(ScheduleSink&, double&, int, double, double, double, double, int, int,
                            wchar_t);

struct Method {
    FillRows fill;
};

class Run {
  public:
    Run(const ScheduleInputs& in, ScheduleOutputs& out, Method method)
        : in_(in), out_(out), method_(method), sep_(in.decimalSeparator) {}

    // Checks in their fixed order; the first failure is shown and ends the run.
    bool Validate() {
        if (!(in_.loan > 0)) return Fail(kLoanNotPositive);
        if (!(in_.periods > 0)) return Fail(kPeriodsNotPositive);
        if (!(in_.periods <= kMaxPeriods)) return Fail(kTooManyPeriods);
        if (in_.mode == RateMode::Fixed && !(in_.fixedRate > 0)) return Fail(kFixedRateNotPositive);
        if (in_.mode == RateMode::Floating) {
            // Every entry up to Trunc(n) div 12 + 1, and every entry of a
            // calendar year that the schedule reaches, but never past 30.
            const int n = Periods();
            const int lastUsed = (n + FirstMonth() - 2) / 12 + 1;
            const int count = std::min(std::max(n / 12 + 1, lastUsed), kRateTableSize);
            for (int j = 1; j <= count; ++j) {
                if (!(in_.rates[static_cast<std::size_t>(j - 1)] > 0))
                    return Fail(L"第" + std::to_wstring(j) + L"年 年利率须大于零！");
            }
        }
        if (!in_.firstYear) return Fail(kNoFirstYear);
        return true;
    }

    int Periods() const { return static_cast<int>(in_.periods); } // after validation
    int FirstYear() const { return *in_.firstYear; }              // after validation
    int FirstMonth() const { return std::clamp(in_.firstMonth, 1, 12); }

    void PrepareGrid() {
        ClearScheduleRows(out_.grid);
        out_.grid.SetRowCount(Periods() + 1);
    }

    // Paths B and D: month by month, the rate of row k from rateOfRow.
    template <class RateOfRow> void MonthByMonth(RateOfRow rateOfRow) {
        out_.first.SetValue(0);
        out_.first.SetEnabled(false);
        PrepareGrid();
        double s = 0;
        double b = in_.loan;
        double remaining = in_.periods;
        long long year = FirstYear();
        int month = FirstMonth();
        for (int k = 1; k <= Periods(); ++k) {
            double paid = 0;
            b = method_.fill(out_.grid, paid, static_cast<int>(year), 1, b, remaining, rateOfRow(k),
                             month, k, sep_);
            s += paid;
            remaining -= 1;
            if (Prepay(k, year, month, b, s)) break;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        WriteTotals(s);
    }

    // Path C: runs of whole calendar years at each year's rate.
    void CalendarYears() {
        const double n = in_.periods;
        const int m0 = FirstMonth();
        PrepareGrid();
        double s = 0;
        double paid = 0;
        const int firstYearMonths = 13 - m0;
        double b =
            method_.fill(out_.grid, paid, FirstYear(), firstYearMonths >= n ? n : firstYearMonths,
                         in_.loan, n, RateOfYear(in_.rates, 1), m0, 1, sep_);
        s += paid;
        double remaining = n - firstYearMonths;
        int year = FirstYear() + 1;
        int row = 1 + firstYearMonths;
        if (remaining > 0) {
            const int q = static_cast<int>(remaining) / 12;
            for (int j = 1; j <= q; ++j) {
                b = method_.fill(out_.grid, paid, year, 12, b, remaining,
                                 RateOfYear(in_.rates, j + 1), 1, row, sep_);
                s += paid;
                remaining -= 12;
                ++year;
                row += 12;
            }
            const int last = static_cast<int>(remaining) % 12;
            if (last > 0) {
                method_.fill(out_.grid, paid, year, last, b, remaining,
                             RateOfYear(in_.rates, q + 2), 1, row, sep_);
                s += paid;
            }
        }
        WriteTotals(s);
    }

    // Rate of row k in path D: the entry of the row's own calendar year.
    double FloatingRateOfRow(int k) const {
        const int firstYearMonths = 13 - FirstMonth();
        if (k <= firstYearMonths) return RateOfYear(in_.rates, 1);
        return RateOfYear(in_.rates, (k - firstYearMonths - 1) / 12 + 2);
    }

    const ScheduleInputs& in_;
    ScheduleOutputs& out_;

  private:
    bool Fail(const std::wstring& message) {
        Show(message);
        return false;
    }
    void Show(const std::wstring& message) {
        if (out_.showMessage) out_.showMessage(message);
    }

    // The prepayment step after the regular payment of row k; true when the
    // plan has paid the loan off and the schedule stops.
    bool Prepay(int k, long long year, int month, double& b, double& s) {
        CellText key;
        DateText(key, year, month);
        key.Append(L"  <");
        std::wstring_view value;
        bool found = false;
        for (const std::wstring& item : in_.plan) {
            const std::size_t eq = item.find(L'=');
            if (eq != std::wstring::npos && std::wstring_view(item).substr(0, eq) == key.View()) {
                value = std::wstring_view(item).substr(eq + 1);
                found = true;
                break;
            }
        }
        if (!found) return false;
        const double amount = PlanItemAmount(value, sep_);
        out_.grid.SetCell(5, k, AmountText(RoundToCents(amount), sep_));
        s += amount;
        b -= amount;
        if (b == 0) {
            Show(DateText(year, month) + L"提前还完贷款");
            return true;
        }
        if (b < 0) {
            out_.grid.SetCell(5, k, AmountText(RoundToCents(amount + b), sep_));
            s += b; // the excess is not paid
            Show(DateText(year, month) + L"提前还完贷款，计划超额" +
                 AmountText(RoundToCents(-b), sep_) + L"元！");
            return true;
        }
        return false;
    }

    void WriteTotals(double s) {
        out_.total.SetValue(RoundToCents(s));
        out_.interest.SetValue(RoundToCents(static_cast<double>(Real(s) - in_.loan)));
    }

    Method method_;
    wchar_t sep_;
};

} // namespace

const std::array<std::wstring, kScheduleColumns>& ScheduleHeaders() {
    static const std::array<std::wstring, kScheduleColumns> headers{
        L"还款时间",       L"月利息还款额（元）", L"月本金还款额（元）",
        L"月还款额（元）", L"剩余本金（元）",     L"提前还贷（元）"};
    return headers;
}

void ClearScheduleRows(ScheduleSink& grid) {
    const int rows = grid.RowCount();
    const int cols = grid.ColCount();
    for (int row = 1; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            grid.SetCell(col, row, std::wstring_view());
}

namespace {

// The row writers themselves; the calculations call them inside their own
// precision scope.
double InstalmentRows(ScheduleSink& grid, double& totalOut, int year, double count, double balance,
                      double remaining, double annualRate, int startMonth, int startRow,
                      wchar_t sep) {
    totalOut = 0;
    const int rows = RowsOf(count);
    if (rows == 0 || !(remaining > 0)) return balance;
    const double r = MonthlyRate(annualRate);
    const Annuity a(r, remaining);
    double after = balance;
    Real powPrev = 1; // (1 + r)^(l − 1)
    for (int l = 1; l <= rows; ++l) {
        const Real powL = a.Power(Real(l));
        const double payment = static_cast<double>(a.Payment(balance, r));
        const double interest = static_cast<double>(a.Interest(balance, r, powPrev, l));
        const double principal = static_cast<double>(Real(payment) - interest);
        after = static_cast<double>(Real(balance) * a.Owed(powL, l));
        WriteRow(grid, startRow + l - 1, year, startMonth, l, interest, principal, payment, after,
                 sep);
        totalOut += payment;
        powPrev = powL;
    }
    return after;
}

double PrincipalRows(ScheduleSink& grid, double& totalOut, int year, double count, double balance,
                     double remaining, double annualRate, int startMonth, int startRow,
                     wchar_t sep) {
    totalOut = 0;
    const int rows = RowsOf(count);
    if (rows == 0 || !(remaining > 0)) return balance;
    const double r = MonthlyRate(annualRate);
    double after = balance;
    for (int l = 1; l <= rows; ++l) {
        const double interest = static_cast<double>((1 - Real(l - 1) / remaining) * balance * r);
        const double principal = static_cast<double>(Real(balance) / remaining);
        const double payment = static_cast<double>(Real(principal) + interest);
        after = static_cast<double>(Real(balance) - Real(l) * principal);
        WriteRow(grid, startRow + l - 1, year, startMonth, l, interest, principal, payment, after,
                 sep);
        totalOut += payment;
    }
    return after;
}

} // namespace

double FillInstalmentRows(ScheduleSink& grid, double& totalOut, int year, double count,
                          double balance, double remaining, double annualRate, int startMonth,
                          int startRow, wchar_t sep) {
    ExtendedPrecisionScope precision;
    return InstalmentRows(grid, totalOut, year, count, balance, remaining, annualRate, startMonth,
                          startRow, sep);
}

bool CalcEqualInstalment(const ScheduleInputs& in, ScheduleOutputs& out) {
    ExtendedPrecisionScope precision;
    Run run(in, out, Method{&InstalmentRows});
    if (!run.Validate()) return false;
    const wchar_t sep = in.decimalSeparator;
    const bool hasPlan = !in.plan.empty();
    if (in.mode == RateMode::Fixed && !hasPlan) {
        // Path A, closed form: P = L × r × F / (F − 1).
        out.first.SetEnabled(true);
        const double loan = in.loan;
        const double n = in.periods;
        const double r = MonthlyRate(in.fixedRate);
        const Annuity a(r, n);
        const double payment = static_cast<double>(a.Payment(loan, r));
        out.first.SetValue(RoundToCents(payment));
        const double total = static_cast<double>(Real(payment) * n);
        out.total.SetValue(RoundToCents(total));
        out.interest.SetValue(RoundToCents(static_cast<double>(Real(total) - loan)));
        run.PrepareGrid();
        Real powPrev = 1;
        for (int k = 1; k <= run.Periods(); ++k) {
            const Real powK = a.Power(Real(k));
            const double interest = static_cast<double>(a.Interest(loan, r, powPrev, k));
            const double principal = static_cast<double>(Real(payment) - interest);
            const double balance = static_cast<double>(Real(loan) * a.Owed(powK, k));
            WriteRow(out.grid, k, run.FirstYear(), run.FirstMonth(), k, interest, principal,
                     payment, balance, sep);
            powPrev = powK;
        }
    } else if (in.mode == RateMode::Fixed) {
        const double rate = in.fixedRate;
        run.MonthByMonth([rate](int) { return rate; });
    } else if (in.mode == RateMode::Floating && !hasPlan) {
        out.first.SetValue(0);
        out.first.SetEnabled(false);
        run.CalendarYears();
    } else if (in.mode == RateMode::Floating) {
        run.MonthByMonth([&run](int k) { return run.FloatingRateOfRow(k); });
    }
    return true;
}

bool CalcEqualPrincipal(const ScheduleInputs& in, ScheduleOutputs& out) {
    ExtendedPrecisionScope precision;
    Run run(in, out, Method{&PrincipalRows});
    if (!run.Validate()) return false;
    const wchar_t sep = in.decimalSeparator;
    const bool hasPlan = !in.plan.empty();
    const double loan = in.loan;
    const double n = in.periods;
    if (in.mode == RateMode::Fixed && !hasPlan) {
        // Path A, closed form: interest falls by L × r / n every month.
        const double r = MonthlyRate(in.fixedRate);
        const double q = static_cast<double>(Real(loan) / n);
        out.first.SetEnabled(true);
        out.first.SetValue(RoundToCents(q));
        const double interestTotal = static_cast<double>(Real(loan) * r * (n + 1) / 2);
        out.interest.SetValue(RoundToCents(interestTotal));
        const double total = static_cast<double>(Real(loan) + interestTotal);
        out.total.SetValue(RoundToCents(total));
        run.PrepareGrid();
        for (int k = 1; k <= run.Periods(); ++k) {
            const double interest = static_cast<double>((1 - Real(k - 1) / n) * loan * r);
            const double payment = static_cast<double>(Real(q) + interest);
            const double balance = static_cast<double>(Real(loan) - Real(k) * q);
            WriteRow(out.grid, k, run.FirstYear(), run.FirstMonth(), k, interest, q, payment,
                     balance, sep);
        }
    } else if (in.mode == RateMode::Fixed) {
        const double rate = in.fixedRate;
        run.MonthByMonth([rate](int) { return rate; });
    } else if (in.mode == RateMode::Floating && !hasPlan) {
        // The monthly principal does not depend on the rates, so it is shown.
        out.first.SetEnabled(true);
        out.first.SetValue(RoundToCents(static_cast<double>(Real(loan) / n)));
        run.CalendarYears();
    } else if (in.mode == RateMode::Floating) {
        run.MonthByMonth([&run](int k) { return run.FloatingRateOfRow(k); });
    }
    return true;
}

double PlanItemAmount(std::wstring_view value, wchar_t sep) {
    if (value.size() < 4) return 0;
    const auto amount = numbers::ParseNumber(value.substr(3, value.size() - 4), sep);
    return amount ? *amount : 0;
}

std::wstring PlanItemText(int year, int month, const std::wstring& amountText) {
    return DateText(year, month) + L"  <=>  " + amountText + L"元";
}

} // namespace calc
