#include "Schedule.h"

#include "Money.h"
#include "numbers/NumberText.h"
#include "Precision.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

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

// 2^x exactly as the C library's exp2l computes it, without the call: glibc
// and mingw-w64 both split x into a whole and a fractional part with
// frndint (glibc to the nearest, mingw-w64 towards zero), raise 2 to the
// fraction with f2xm1 and scale; the same instructions in the same order
// give the same bits, about four times faster than the call with its
// argument checks. Outside the range where the library takes that path
// (|x| below 2^-65 in glibc, results that overflow or underflow) the library
// itself is called.
Real Exp2(Real x) {
#if defined(__x86_64__) && defined(__GNUC__) && (defined(__GLIBC__) || defined(__MINGW64__))
    const Real magnitude = std::fabs(x);
    if (magnitude >= 0x1p-64L && magnitude < 16000) {
        Real result;
#if defined(__GLIBC__)
        __asm__("fld %%st(0)\n\t"
                "frndint\n\t"
                "fsubr %%st, %%st(1)\n\t"
                "fxch %%st(1)\n\t"
                "f2xm1\n\t"
                "fld1\n\t"
                "faddp\n\t"
                "fscale\n\t"
                "fstp %%st(1)"
                : "=t"(result)
                : "0"(x)
                : "st(1)", "st(2)");
#else
        unsigned short saved = 0;
        unsigned short chop = 0;
        __asm__("fnstcw %1\n\t"
                "movzwl %1, %%eax\n\t"
                "orb $0x0c, %%ah\n\t"
                "movw %%ax, %2\n\t"
                "fld %%st(0)\n\t"
                "fldcw %2\n\t"
                "frndint\n\t"
                "fldcw %1\n\t"
                "fsubr %%st, %%st(1)\n\t"
                "fxch %%st(1)\n\t"
                "f2xm1\n\t"
                "fld1\n\t"
                "faddp\n\t"
                "fscale\n\t"
                "fstp %%st(1)"
                : "=t"(result), "=m"(saved), "=m"(chop)
                : "0"(x)
                : "eax", "st(1)", "st(2)");
#endif
        return result;
    }
#endif
    return std::exp2(x);
}

// The powers (1 + r)^k of one rate for whole k from 2 to kMaxPeriods, each
// worked out on first use and then kept: a power costs about as much as the
// rest of its row, and the next calculation mostly needs the same ones (only
// the loan or the plan changed). They are kept in blocks of 64, allocated as
// they are reached, so a floating table's 30 rates hold a few blocks each;
// a slot of KnownRate hands its blocks on to its next rate, so new rates
// allocate nothing once the slots have their blocks.
class Powers {
  public:
    // Forgets the powers of the previous rate; Generation tells the rates
    // handed out before that these are no longer theirs.
    void Reset(Real log2Growth) {
        log2Growth_ = log2Growth;
        known_.fill(0);
        ++generation_;
    }
    std::uint64_t Generation() const { return generation_; }

    Real Of(int k) {
        const auto block = static_cast<std::size_t>(k / kBlock);
        const auto i = static_cast<std::size_t>(k % kBlock);
        if (known_[block] >> i & 1) {
            const Kept& kept = (*blocks_[block])[i];
            return Real(kept.high) + kept.low;
        }
        if (!blocks_[block]) Allocate(block);
        const Real power = Exp2(k * log2Growth_);
        // A power is kept as the sum of two doubles: storing and loading the
        // 80-bit format takes the x87 unit many times longer. The sum gives
        // back all 64 bits wherever the power and its remainder are normal
        // doubles; the few others are not kept.
        const double high = static_cast<double>(power);
        const double low = static_cast<double>(power - high);
        if (Real(high) + low == power) {
            (*blocks_[block])[i] = {high, low};
            known_[block] |= std::uint64_t{1} << i;
        }
        return power;
    }

  private:
    static constexpr int kBlock = 64;
    struct Kept {
        double high;
        double low;
    };
    using Block = std::array<Kept, kBlock>;
    static constexpr std::size_t kBlocks = kMaxPeriods / kBlock + 1;

    // Out of line: it is needed once per block and slot.
    [[gnu::noinline]] void Allocate(std::size_t block) {
        blocks_[block] = std::make_unique_for_overwrite<Block>();
    }

    Real log2Growth_ = 0;
    std::uint64_t generation_ = 0;
    std::array<std::unique_ptr<Block>, kBlocks> blocks_;
    std::array<std::uint64_t, kBlocks> known_{}; // bit i of block b: power 64b + i is set
};

// A monthly rate as the annuities use it: r, the annual percentage divided by
// 100 and by 12, with 1 + r, its logarithm and, for a kept rate, its powers.
struct Rate {
    explicit Rate(double annualRate)
        : annual(annualRate), r(MonthlyRate(annualRate)), growth(1 + Real(r)),
          log2Growth(std::log2(growth)) {}

    double annual;
    double r;
    Real growth; // 1 + r
    Real log2Growth;
    Powers* powers = nullptr;
    std::uint64_t generation = 0; // of powers while they are this rate's

    // (1 + r)^k as 2^(k × log2(1 + r)): as exact as powl in extended
    // precision and several times faster. Whole exponents come from the kept
    // powers, the same bits. k is a double, whose test for a whole number
    // is one SSE conversion; from extended precision it would switch the
    // x87 unit's rounding mode twice.
    Real Power(double k) const {
        if (k >= 2 && k <= kMaxPeriods && k == static_cast<int>(k) && powers &&
            powers->Generation() == generation)
            return powers->Of(static_cast<int>(k));
        return Exp2(k * log2Growth);
    }
};

// Counts this thread's calculations, so that a kept rate can tell the
// calculation that brought it from later ones.
thread_local std::uint64_t calculation = 0;

// The rate of an annual one. Its logarithm takes about as long as two rows,
// a floating table brings up to 30 rates to every calculation, and the next
// calculation mostly brings the same ones: the last 32 rates are kept, with
// the powers worked out for them. Powers are kept only from the first
// calculation after the one that brought the rate: keeping costs a little,
// and a rate used in one calculation may never come back.
Rate KnownRate(double annualRate) {
    constexpr std::size_t kKept = 32;
    thread_local std::array<std::optional<Rate>, kKept> known;
    thread_local std::array<Powers, kKept> powers;
    thread_local std::array<std::uint64_t, kKept> broughtBy{};
    thread_local std::size_t next = 0;
    const auto bits = std::bit_cast<std::uint64_t>(annualRate);
    std::size_t slot = 0;
    while (slot < kKept &&
           !(known[slot] && std::bit_cast<std::uint64_t>(known[slot]->annual) == bits))
        ++slot;
    if (slot == kKept) {
        slot = next;
        next = (next + 1) % kKept;
        Rate& rate = known[slot].emplace(annualRate);
        powers[slot].Reset(rate.log2Growth);
        rate.powers = &powers[slot];
        rate.generation = powers[slot].Generation();
        broughtBy[slot] = calculation;
    }
    if (broughtBy[slot] != calculation) return *known[slot];
    Rate first = *known[slot];
    first.powers = nullptr;
    return first;
}

// The annuity of one balance over `remaining` periods at monthly rate r.
// (F − (1 + r)^k) / (F − 1) is the share of the balance still owed after k
// periods; F = (1 + r)^remaining. When r is so small that F − 1 vanishes even
// in extended precision the zero-rate limit (remaining − k) / remaining is
// exact to double precision and avoids dividing by zero.
struct Annuity {
    const Rate* rate; // outlives the annuity
    double r;
    Real growth; // 1 + r
    Real f;      // (1 + r)^remaining
    Real fMinus1;
    Real remaining;
    bool flat;
    // A rate so large that F overflows even in extended precision: the
    // quotients below then take their limits (F / (F − 1) → 1) instead of
    // ∞ / ∞, which would put NaN into every amount.
    bool huge;

    // Always inline: a row builds one, and out of line a power worked out
    // anew no longer overlaps the texts of the row before.
    [[gnu::always_inline]] Annuity(const Rate& rate, double remainingPeriods)
        : rate(&rate), r(rate.r), growth(rate.growth), f(Power(remainingPeriods)), fMinus1(f - 1),
          remaining(remainingPeriods), flat(fMinus1 == 0), huge(std::isinf(f)) {}

    // (1 + r)^k. F and the k-th power come from the same expression, so the
    // balance after the last period is exactly 0.
    Real Power(double k) const {
        if (k == 0) return 1;
        if (k == 1) return growth;
        return rate->Power(k);
    }

    // Share still owed after k periods, given (1 + r)^k.
    Real Owed(Real powK, int k) const {
        if (huge) return k >= remaining ? 0 : 1;
        return flat ? (remaining - k) / remaining : (f - powK) / fMinus1;
    }
    // balance × r × F / (F − 1)
    Real Payment(double balance) const {
        if (huge) return Real(balance) * r;
        if (flat) return Real(balance) / remaining;
        const Real product = Real(balance) * r * f;
        // Just below F's own overflow the product may overflow first.
        return std::isinf(product) ? Real(balance) * r * (f / fMinus1) : product / fMinus1;
    }
    // balance × r × (F − (1 + r)^(k − 1)) / (F − 1)
    Real Interest(double balance, Real powKMinus1, int k) const {
        if (huge) return Real(balance) * r;
        if (flat) return Real(balance) * r * (remaining - (k - 1)) / remaining;
        const Real product = Real(balance) * r * (f - powKMinus1);
        return std::isinf(product) ? Real(balance) * r * ((f - powKMinus1) / fMinus1)
                                   : product / fMinus1;
    }
};

// The figures of one row.
struct RowFigures {
    double interest;
    double principal;
    double payment;
    double after; // the balance after the row
};

// The grid as the row writers see it. Instead of emptying every old row
// before the run and then writing most cells again, the run empties only
// what it will not overwrite: rows 1 … clearBelow − 1 still hold the previous
// run's texts, so a row written there also gets its other columns emptied,
// and rows skipped or left after a stop are emptied whole. The grid ends as
// if it had been cleared first.
struct RowSink {
    explicit RowSink(ScheduleSink& grid) : grid(grid) {}

    ScheduleSink& grid;
    int clearBelow = 0;
    int cols = 0;
    int next = 1; // rows before it are written or emptied

    // Empties whole rows next … row − 1 that still hold old texts.
    void EmptyUpTo(int row) {
        for (; next < row && next < clearBelow; ++next)
            for (int col = 0; col < cols; ++col)
                grid.SetCell(col, next, std::wstring_view());
        next = std::max(next, row);
    }
    void EmptyRest() { EmptyUpTo(clearBelow); }

    // Columns 0 to 4 of a period row.
    void Write(int row, long long year, int startMonth, int l, const RowFigures& figures,
               wchar_t sep) {
        if (row > next) EmptyUpTo(row);
        // All texts of the row are laid out before any is handed over, so
        // that their digit work overlaps instead of waiting on the grid.
        const std::wstring_view texts[] = {
            Date(PeriodMonth(year, startMonth, l)), Amount(0, figures.interest, sep),
            Amount(1, figures.principal, sep), Amount(2, figures.payment, sep),
            Amount(3, figures.after, sep)};
        for (int col = 0; col < 5; ++col)
            grid.SetCell(col, row, texts[col]);
        if (row < clearBelow) {
            for (int col = 5; col < cols; ++col)
                grid.SetCell(col, row, std::wstring_view());
        }
        if (row == next) next = row + 1;
    }

  private:
    static bool SameBits(double a, double b) {
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    }

    // The text of an amount column. A text depends on the value alone, and a
    // payment or a principal stays the same for many rows: those are laid
    // out once.
    std::wstring_view Amount(std::size_t i, double value, wchar_t sep) {
        if (amountKnown[i] && SameBits(value, lastAmount[i])) return amountText[i];
        // A payment recomputed every month differs from the last one only
        // far below a cent: the same whole cents, the same text.
        const long long cents = QuickCents(value);
        if (!amountKnown[i] || cents == 0 || cents != lastCents[i]) {
            if (cents != 0)
                amountText[i].AssignCents(cents, sep);
            else
                CentsText(amountText[i], value, sep);
        }
        lastAmount[i] = value;
        lastCents[i] = cents;
        amountKnown[i] = true;
        return amountText[i];
    }

    // The date text; within one year only the month changes.
    std::wstring_view Date(YearMonth date) {
        if (dateKnown && date.year == dateYear && date.month >= 1 && date.month <= 12) {
            dateText.Truncate(dateText.Size() - 3); // the month's two digits and 月
            dateText.Push(static_cast<wchar_t>(L'0' + date.month / 10));
            dateText.Push(static_cast<wchar_t>(L'0' + date.month % 10));
            dateText.Push(L'月');
        } else {
            DateText(dateText, date.year, date.month);
            dateYear = date.year;
            dateKnown = date.month >= 1 && date.month <= 12;
        }
        return dateText;
    }

    std::array<CellText, 4> amountText;
    std::array<double, 4> lastAmount{};
    std::array<long long, 4> lastCents{};
    std::array<bool, 4> amountKnown{};
    CellText dateText;
    long long dateYear = 0;
    bool dateKnown = false;
};

// Whole rows of a count argument; negative, NaN or huge counts stay in range.
int RowsOf(double count) {
    if (!(count >= 1)) return 0;
    return static_cast<int>(std::min(count, double(kMaxPeriods)));
}

// Rows startRow … startRow + rows − 1 at one rate, the first of them in month
// startMonth of year, from balance with `remaining` periods left.
struct RowRun {
    long long year;
    int startMonth;
    int startRow;
    int rows;
    double balance;
    double remaining;
    double annualRate;
};

// The two methods work out the figures of rows 1, 2, … in order. In closed form (paths A and C) one
// annuity spans the run and row l is its l-th period. Month by month (paths B and D, where a
// prepayment may change the balance) every row starts a run of its own from the balance the row
// before left, as if the schedule were worked out anew each month.
template <bool kMonthly> class InstalmentFigures {
  public:
    explicit InstalmentFigures(const RowRun& run)
        : rate_(KnownRate(run.annualRate)), remaining_(run.remaining), a_(rate_, run.remaining),
          start_(run.balance), payment_(static_cast<double>(a_.Payment(start_))),
          after_(run.balance) {}

    RowFigures Row(int l) {
        if constexpr (kMonthly) {
            // The first row's annuity is the run's; the others are kept
            // local, where their extended-precision figures need not be
            // stored in the object.
            const Annuity a = l == 1 ? a_ : Annuity(rate_, remaining_ - (l - 1));
            const double start = after_;
            return Period(a, start, static_cast<double>(a.Payment(start)), 1, a.Power(1), 1);
        } else {
            const Real powK = a_.Power(l);
            return Period(a_, start_, payment_, std::exchange(powPrev_, powK), powK, l);
        }
    }

  private:
    // Period k of annuity a, which starts from start, given (1 + r)^(k − 1)
    // and (1 + r)^k.
    RowFigures Period(const Annuity& a, double start, double payment, Real powPrev, Real powK,
                      int k) {
        const double interest = static_cast<double>(a.Interest(start, powPrev, k));
        const double principal = static_cast<double>(Real(payment) - interest);
        after_ = static_cast<double>(Real(start) * a.Owed(powK, k));
        return {interest, principal, payment, after_};
    }

    const Rate rate_;
    double remaining_;
    Annuity a_;      // over the whole run
    double start_;   // the run's balance
    double payment_; // the run's payment
    double after_;
    Real powPrev_ = 1;
};

template <bool kMonthly> class PrincipalFigures {
  public:
    explicit PrincipalFigures(const RowRun& run)
        : r_(MonthlyRate(run.annualRate)), remaining_(run.remaining), start_(run.balance),
          principal_(static_cast<double>(Real(start_) / remaining_)) {}

    RowFigures Row(int l) {
        if (kMonthly && l > 1) {
            remaining_ -= 1;
            start_ = after_;
            principal_ = static_cast<double>(Real(start_) / remaining_);
        }
        // Month by month every row is the first of its run, whose share of
        // the interest, 1 − 0 / remaining, is exactly 1.
        const Real share = kMonthly ? 1 : 1 - Real(l - 1) / remaining_;
        const double interest = static_cast<double>(share * start_ * r_);
        const double payment = static_cast<double>(Real(principal_) + interest);
        const Real paid = kMonthly ? Real(principal_) : Real(l) * principal_;
        after_ = static_cast<double>(Real(start_) - paid);
        return {interest, principal_, payment, after_};
    }

  private:
    double r_;
    double remaining_;
    double start_;
    double principal_; // the same every row of one start
    double after_ = 0;
};

// The row writer of a method; the calculations call it inside their own
// precision scope. Adds the run's payments to total and returns the balance
// after its last row. A row's figures are worked out before the row before
// is written, so that laying out its texts does not wait for the powers and
// divisions of the next.
template <class Figures>
double WriteRows(RowSink& sink, double& total, const RowRun& run, wchar_t sep) {
    if (run.rows < 1 || !(run.remaining > 0)) return run.balance;
    Figures figures(run);
    RowFigures row = figures.Row(1);
    for (int l = 1;; ++l) {
        const bool last = l == run.rows;
        const RowFigures next = last ? row : figures.Row(l + 1);
        sink.Write(run.startRow + l - 1, run.year, run.startMonth, l, row, sep);
        total += row.payment;
        if (last) return row.after;
        row = next;
    }
}

using FillRows = double (*)(RowSink&, double&, const RowRun&, wchar_t);

// One calculation; Closed and Monthly write the rows of one method.
template <FillRows Closed, FillRows Monthly> class Run {
  public:
    Run(const ScheduleInputs& in, ScheduleOutputs& out)
        : in_(in), out_(out), sep_(in.decimalSeparator), rows_(out.grid) {}

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

    // The rows of the previous run are emptied and the grid gets Trunc(n) + 1
    // rows. Rows cut off are emptied now, since their texts would come back
    // when the grid grows; the rest as the rows are written (RowSink).
    void PrepareGrid() {
        ScheduleSink& grid = out_.grid;
        const int before = grid.RowCount();
        const int rows = Periods() + 1;
        const int cols = grid.ColCount();
        for (int row = rows; row < before; ++row)
            for (int col = 0; col < cols; ++col)
                grid.SetCell(col, row, std::wstring_view());
        grid.SetRowCount(rows);
        rows_.clearBelow = std::min(before, rows);
        rows_.cols = cols;
        rows_.next = 1;
    }

    RowSink& Rows() { return rows_; }

    // Paths B, C and D: runs of one calendar year, each at the rate of its
    // year from the balance the run before left; month by month a run also
    // ends at a month with a planned prepayment. Month by month the total
    // takes the payments one by one, in closed form a year's sum at a time.
    template <bool kMonthly> void CalendarYears() {
        PrepareGrid();
        if (kMonthly) ReadPlan();
        const int n = Periods();
        auto planned = plan_.begin(); // the next planned row
        double s = 0;
        double b = in_.loan;
        long long year = FirstYear();
        int month = FirstMonth();
        for (int row = 1; row <= n;) {
            const int planRow = planned != plan_.end() ? planned->row : n;
            // A fixed rate needs no new run in January.
            const int december = in_.mode == RateMode::Fixed ? n : row + 12 - month;
            const int last = std::min({n, december, planRow});
            const RowRun run{
                year, month, row, last - row + 1, b, in_.periods - (row - 1), RateOfYear(year)};
            if constexpr (kMonthly) {
                b = Monthly(rows_, s, run, sep_);
            } else {
                double paid = 0;
                b = Closed(rows_, paid, run, sep_);
                s += paid;
            }
            const YearMonth lastMonth = PeriodMonth(year, month, last - row + 1);
            if (planned != plan_.end() && planned->row == last) {
                if (Prepay(last, lastMonth.year, lastMonth.month, planned->value, b, s)) break;
                ++planned;
            }
            row = last + 1;
            year = lastMonth.year;
            month = lastMonth.month + 1;
            if (month > 12) {
                month = 1;
                ++year;
            }
        }
        rows_.EmptyRest();
        WriteTotals(s);
    }

    // Paths B and D: the first box has no single value.
    void MonthByMonth() {
        out_.first.SetValue(0);
        out_.first.SetEnabled(false);
        CalendarYears<true>();
    }

    // The annual rate of a calendar year: the fixed one, or the table's entry.
    double RateOfYear(long long year) const {
        if (in_.mode == RateMode::Fixed) return in_.fixedRate;
        return calc::RateOfYear(in_.rates, year - FirstYear() + 1);
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
    bool Prepay(int k, long long year, int month, std::wstring_view value, double& b, double& s) {
        const double amount = PlanItemAmount(value, sep_);
        out_.grid.SetCell(5, k, AmountText(RoundToCents(amount), sep_));
        s += amount;
        b -= amount;
        if (b <= 0) rows_.EmptyRest(); // the later rows stay empty
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

    // The plan items whose name is the key of a month of the schedule: the
    // date text of year and month followed by "  <". They are found by row
    // once, in row order; of two items for one month the first counts.
    struct PlanMonth {
        long long year;
        int month;
    };
    struct PlanRow {
        int row;
        std::wstring_view value;
    };
    void ReadPlan() {
        plan_.clear();
        for (const std::wstring& item : in_.plan) {
            const std::size_t eq = item.find(L'=');
            if (eq == std::wstring::npos) continue;
            const auto month = KeyMonth(std::wstring_view(item).substr(0, eq));
            if (!month || month->month < 1 || month->month > 12) continue;
            const long long row =
                (month->year - FirstYear()) * 12 + (month->month - FirstMonth()) + 1;
            if (row >= 1 && row <= Periods())
                plan_.push_back({static_cast<int>(row), std::wstring_view(item).substr(eq + 1)});
        }
        std::stable_sort(plan_.begin(), plan_.end(),
                         [](const PlanRow& a, const PlanRow& b) { return a.row < b.row; });
        const auto repeated =
            std::unique(plan_.begin(), plan_.end(),
                        [](const PlanRow& a, const PlanRow& b) { return a.row == b.row; });
        plan_.erase(repeated, plan_.end());
    }
    // The month whose key is exactly name, if any.
    static std::optional<PlanMonth> KeyMonth(const std::wstring_view full) {
        std::wstring_view name = full;
        constexpr std::wstring_view kTail = L"月  <";
        if (name.size() < kTail.size() + 4 || !name.ends_with(kTail)) return std::nullopt;
        name.remove_suffix(kTail.size());
        const std::wstring_view mm = name.substr(name.size() - 2);
        name.remove_suffix(2);
        if (!name.ends_with(L'年')) return std::nullopt;
        name.remove_suffix(1);
        const bool negative = name.starts_with(L'-');
        if (negative) name.remove_prefix(1);
        // Years of a schedule are far shorter; longer digit runs never match.
        if (name.empty() || name.size() > 15) return std::nullopt;
        long long year = 0;
        for (wchar_t c : name) {
            if (c < L'0' || c > L'9') return std::nullopt;
            year = year * 10 + (c - L'0');
        }
        for (wchar_t c : mm)
            if (c < L'0' || c > L'9') return std::nullopt;
        PlanMonth month{negative ? -year : year, (mm[0] - L'0') * 10 + (mm[1] - L'0')};
        // Only the canonical text is a key: no leading zeros, no "-0".
        CellText key;
        DateText(key, month.year, month.month);
        key.Append(L"  <");
        if (key.View() != full) return std::nullopt;
        return month;
    }

    wchar_t sep_;
    RowSink rows_;
    std::vector<PlanRow> plan_;
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

double FillInstalmentRows(ScheduleSink& grid, double& totalOut, int year, double count,
                          double balance, double remaining, double annualRate, int startMonth,
                          int startRow, wchar_t sep) {
    ExtendedPrecisionScope precision;
    ++calculation;
    RowSink sink(grid);
    totalOut = 0;
    return WriteRows<InstalmentFigures<false>>(
        sink, totalOut, {year, startMonth, startRow, RowsOf(count), balance, remaining, annualRate},
        sep);
}

namespace {

// The whole schedule as one run from the loan, as path A writes it.
RowRun WholeSchedule(const ScheduleInputs& in, int firstYear, int firstMonth) {
    return {firstYear, firstMonth, 1,           static_cast<int>(in.periods),
            in.loan,   in.periods, in.fixedRate};
}

} // namespace

bool CalcEqualInstalment(const ScheduleInputs& in, ScheduleOutputs& out) {
    ExtendedPrecisionScope precision;
    ++calculation;
    Run<&WriteRows<InstalmentFigures<false>>, &WriteRows<InstalmentFigures<true>>> run(in, out);
    if (!run.Validate()) return false;
    const bool hasPlan = !in.plan.empty();
    if (in.mode == RateMode::Fixed && !hasPlan) {
        // Path A, closed form: P = L × r × F / (F − 1).
        out.first.SetEnabled(true);
        const double loan = in.loan;
        const double n = in.periods;
        const double payment =
            static_cast<double>(Annuity(KnownRate(in.fixedRate), n).Payment(loan));
        out.first.SetValue(RoundToCents(payment));
        const double total = static_cast<double>(Real(payment) * n);
        out.total.SetValue(RoundToCents(total));
        out.interest.SetValue(RoundToCents(static_cast<double>(Real(total) - loan)));
        run.PrepareGrid();
        double paid = 0; // the boxes show n times the payment instead
        WriteRows<InstalmentFigures<false>>(run.Rows(), paid,
                                            WholeSchedule(in, run.FirstYear(), run.FirstMonth()),
                                            in.decimalSeparator);
        run.Rows().EmptyRest();
    } else if (in.mode == RateMode::Fixed) {
        run.MonthByMonth();
    } else if (in.mode == RateMode::Floating && !hasPlan) {
        out.first.SetValue(0);
        out.first.SetEnabled(false);
        run.CalendarYears<false>();
    } else if (in.mode == RateMode::Floating) {
        run.MonthByMonth();
    }
    return true;
}

bool CalcEqualPrincipal(const ScheduleInputs& in, ScheduleOutputs& out) {
    ExtendedPrecisionScope precision;
    Run<&WriteRows<PrincipalFigures<false>>, &WriteRows<PrincipalFigures<true>>> run(in, out);
    if (!run.Validate()) return false;
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
        double paid = 0; // the boxes use the closed form instead
        WriteRows<PrincipalFigures<false>>(run.Rows(), paid,
                                           WholeSchedule(in, run.FirstYear(), run.FirstMonth()),
                                           in.decimalSeparator);
        run.Rows().EmptyRest();
    } else if (in.mode == RateMode::Fixed) {
        run.MonthByMonth();
    } else if (in.mode == RateMode::Floating && !hasPlan) {
        // The monthly principal does not depend on the rates, so it is shown.
        out.first.SetEnabled(true);
        out.first.SetValue(RoundToCents(static_cast<double>(Real(loan) / n)));
        run.CalendarYears<false>();
    } else if (in.mode == RateMode::Floating) {
        run.MonthByMonth();
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
