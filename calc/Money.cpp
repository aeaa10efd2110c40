#include "Money.h"

#include "Precision.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace calc {

namespace {

long double PowerOfTen(int digit) {
    long double p = 1.0L;
    for (int i = 0; i < (digit < 0 ? -digit : digit); ++i)
        p *= 10.0L;
    return digit < 0 ? 1.0L / p : p;
}

// General path: print 15 significant digits and lay them out in fixed point.
void SlowAmountText(CellText& out, double x, wchar_t sep) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    // buf: [-]d.dddddddddddddde[+-]xx
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[16];
    int count = 0;
    digits[count++] = p[0];
    const char* q = p + 2;
    while (*q != 'e')
        digits[count++] = *q++;
    const int exponent = std::atoi(q + 1);
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (count == 1 && digits[0] == '0') {
        out.Push(L'0');
        return;
    }
    if (negative) out.Push(L'-');
    const int pointPos = exponent + 1; // digits before the decimal separator
    if (pointPos <= 0) {
        out.Push(L'0');
        out.Push(sep);
        for (int i = 0; i < -pointPos; ++i)
            out.Push(L'0');
        for (int i = 0; i < count; ++i)
            out.Push(static_cast<wchar_t>(digits[i]));
        return;
    }
    for (int i = 0; i < pointPos; ++i)
        out.Push(i < count ? static_cast<wchar_t>(digits[i]) : L'0');
    if (pointPos < count) {
        out.Push(sep);
        for (int i = pointPos; i < count; ++i)
            out.Push(static_cast<wchar_t>(digits[i]));
    }
}

// A whole number of cents as shown: the units, then the cents without
// trailing zeros ("12", "12.5", "12.05").
void AppendCents(CellText& out, bool negative, unsigned long long cents, wchar_t sep) {
    if (negative) out.Push(L'-');
    out.AppendDecimal(cents / 100);
    const auto frac = static_cast<unsigned>(cents % 100);
    if (frac == 0) return;
    out.Push(sep);
    out.Push(static_cast<wchar_t>(L'0' + frac / 10));
    if (frac % 10 != 0) out.Push(static_cast<wchar_t>(L'0' + frac % 10));
}

} // namespace

void CellText::AppendDecimal(unsigned long long v, int minDigits) {
    wchar_t buf[24];
    int n = 0;
    do {
        buf[n++] = static_cast<wchar_t>(L'0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < minDigits && n < 24)
        buf[n++] = L'0';
    while (n > 0)
        Push(buf[--n]);
}

double RoundToMultiple(double x, int digit) {
    ExtendedPrecisionScope precision;
    const long double factor = PowerOfTen(digit);
    // rintl rounds ties to even in the default rounding mode.
    const long double whole = std::rintl(static_cast<long double>(x) / factor);
    return static_cast<double>(whole * factor);
}

double RoundToCents(double x) {
    return RoundToMultiple(x, -2);
}

void AmountText(CellText& out, double x, wchar_t sep) {
    out.Clear();
    if (std::isnan(x)) return out.Append(L"NAN");
    if (std::isinf(x)) return out.Append(x < 0 ? L"-INF" : L"INF");
    if (x == 0) return out.Push(L'0');
    // Fast path for whole cents below 10^12, the shape of every shown amount:
    // when x is the double nearest to c/100, its 15-digit text is c/100.
    const long double ax = std::fabs(static_cast<long double>(x));
    if (ax < 1e12L) {
        const long double cents = std::rintl(ax * 100.0L);
        if (static_cast<double>(cents / 100.0L) == static_cast<double>(ax)) {
            AppendCents(out, x < 0, static_cast<unsigned long long>(cents), sep);
            return;
        }
    }
    SlowAmountText(out, x, sep);
}

namespace {

// One cent as the money rounding divides by it: 1 / 100 in extended precision.
constexpr long double kCent = 1.0L / 100;

// Rounds to a whole number, exact halves to even. Adding and taking away
// 1.5 × 2^63 does this in two additions where the unit keeps 64-bit
// significands, far quicker than frndint; otherwise the library does it.
long double RoundHalfEven(long double q) {
#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
    unsigned short cw = 0;
    __asm__("fnstcw %0" : "=m"(cw));
    if ((cw & 0x0300) == 0x0300 && std::fabs(q) < 0x1p62L) {
        const long double shifted = q + 0x1.8p63L;
        return shifted - 0x1.8p63L;
    }
#endif
    return std::rintl(q);
}

} // namespace

void CentsText(CellText& out, double x, wchar_t sep) {
    const long double whole = RoundHalfEven(static_cast<long double>(x) / kCent);
    // Below 10^14 cents the rounded double lies within 2e-16 of whole/100,
    // less than half a unit of its fifteenth digit: its 15-digit text is
    // whole/100 itself, laid out from the integer.
    if (std::fabs(whole) < 1e14L && whole != 0) {
        out.Clear();
        AppendCents(out, whole < 0, static_cast<unsigned long long>(std::fabs(whole)), sep);
        return;
    }
    AmountText(out, static_cast<double>(whole * kCent), sep);
}

std::wstring AmountText(double x, wchar_t sep) {
    CellText text;
    AmountText(text, x, sep);
    return text.Str();
}

void DateText(CellText& out, long long year, int month) {
    out.Clear();
    if (year < 0) {
        out.Push(L'-');
        out.AppendDecimal(static_cast<unsigned long long>(-(year + 1)) + 1);
    } else {
        out.AppendDecimal(static_cast<unsigned long long>(year));
    }
    out.Push(L'年');
    out.AppendDecimal(static_cast<unsigned long long>(month < 0 ? 0 : month), 2);
    out.Push(L'月');
}

std::wstring DateText(long long year, int month) {
    CellText text;
    DateText(text, year, month);
    return text.Str();
}

void PeriodDateText(CellText& out, long long year, int startMonth, int l) {
    const long long t = static_cast<long long>(l - 1) + startMonth;
    if (t % 12 != 0)
        DateText(out, year + t / 12, static_cast<int>(t % 12));
    else
        DateText(out, year + t / 12 - 1, 12);
}

std::wstring PeriodDateText(long long year, int startMonth, int l) {
    CellText text;
    PeriodDateText(text, year, startMonth, l);
    return text.Str();
}

} // namespace calc
