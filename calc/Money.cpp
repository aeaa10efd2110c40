#include "Money.h"

#include "Precision.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#if defined(__x86_64__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

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

} // namespace

namespace {

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                               "25262728293031323334353637383940414243444546474849"
                               "50515253545556575859606162636465666768697071727374"
                               "75767778798081828384858687888990919293949596979899";

constexpr unsigned long long kPowersOfTen[] = {1ULL,
                                               10ULL,
                                               100ULL,
                                               1000ULL,
                                               10000ULL,
                                               100000ULL,
                                               1000000ULL,
                                               10000000ULL,
                                               100000000ULL,
                                               1000000000ULL,
                                               10000000000ULL,
                                               100000000000ULL,
                                               1000000000000ULL,
                                               10000000000000ULL,
                                               100000000000000ULL,
                                               1000000000000000ULL,
                                               10000000000000000ULL,
                                               100000000000000000ULL,
                                               1000000000000000000ULL,
                                               10000000000000000000ULL};

// Decimal digits of v, 1 for 0: log10 from the bit length (1233 / 4096 is
// just above log10 2), corrected by one comparison. v | 1 has as many digits
// as v and keeps 0 at one digit.
inline int DigitCount(unsigned long long v) {
    v |= 1;
    const int guess = (std::bit_width(v) * 1233) >> 12;
    return guess + static_cast<int>(v >= kPowersOfTen[guess]);
}

// Writes the width last digits of v, zero-padded, ending just before end.
inline void PutDigits(wchar_t* end, unsigned long long v, std::size_t width) {
    wchar_t* const begin = end - width;
    while (v >= 100) {
        const auto pair = static_cast<unsigned>(v % 100) * 2;
        v /= 100;
        *--end = static_cast<wchar_t>(kDigitPairs[pair + 1]);
        *--end = static_cast<wchar_t>(kDigitPairs[pair]);
    }
    if (v >= 10) {
        *--end = static_cast<wchar_t>(kDigitPairs[v * 2 + 1]);
        *--end = static_cast<wchar_t>(kDigitPairs[v * 2]);
    } else {
        *--end = static_cast<wchar_t>(L'0' + v);
    }
    while (end > begin)
        *--end = L'0';
}

// The eight decimal digits of v < 10^8, zero-padded, as ASCII bytes with the
// most significant digit in the lowest byte. The halves, then the quarters,
// then the single digits are split in all lanes of one integer at once:
// x × 10486 >> 20 is x / 100 for x < 10^4, y × 103 >> 10 is y / 10 for
// y < 100.
inline std::uint64_t EightDigits(std::uint64_t v) {
    const std::uint64_t halves = (v / 10000) | ((v % 10000) << 32);
    const std::uint64_t high = ((halves * 10486) >> 20) & 0x0000007F0000007FULL;
    const std::uint64_t quarters = ((halves - 100 * high) << 16) + high;
    const std::uint64_t tens = ((quarters * 103) >> 10) & 0x000F000F000F000FULL;
    const std::uint64_t digits = tens | ((quarters - 10 * tens) << 8);
    return digits + 0x3030303030303030ULL;
}

// Stores the eight bytes of ascii, lowest first, as eight characters.
inline void WidenEight(wchar_t* p, std::uint64_t ascii) {
#if defined(__x86_64__) && defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi64_si128(static_cast<long long>(ascii)), zero);
    if constexpr (sizeof(wchar_t) == 2) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), words);
    } else if constexpr (sizeof(wchar_t) == 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_unpacklo_epi16(words, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 4), _mm_unpackhi_epi16(words, zero));
    } else {
        for (int i = 0; i < 8; ++i)
            p[i] = static_cast<wchar_t>((ascii >> (8 * i)) & 0xFF);
    }
#else
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<wchar_t>((ascii >> (8 * i)) & 0xFF);
#endif
}

} // namespace

void CellText::AppendDecimal(unsigned long long v, int minDigits) {
    const auto width = static_cast<std::size_t>(std::max(DigitCount(v), std::min(minDigits, 24)));
    if (width <= data_.size() - size_) {
        PutDigits(data_.data() + size_ + width, v, width);
        size_ += width;
        return;
    }
    // Only the digits that fit, most significant first.
    wchar_t buf[24];
    PutDigits(buf + width, v, width);
    Append(std::wstring_view(buf, width));
}

void CellText::AppendCents(bool negative, unsigned long long cents, wchar_t sep) {
    if (negative) Push(L'-');
    AppendDecimal(cents / 100);
    const auto frac = static_cast<unsigned>(cents % 100);
    if (frac == 0) return;
    Push(sep);
    Push(static_cast<wchar_t>(L'0' + frac / 10));
    if (frac % 10 != 0) Push(static_cast<wchar_t>(L'0' + frac % 10));
}

void CellText::AssignLongCents(bool negative, unsigned long long magnitude, wchar_t sep) {
    Clear();
    AppendCents(negative, magnitude, sep);
}

void CellText::AssignCents(long long cents, wchar_t sep) {
    const bool negative = cents < 0;
    const auto bits = static_cast<std::uint64_t>(cents);
    const std::uint64_t magnitude = negative ? 0 - bits : bits;
    if (magnitude >= 100000000) return AssignLongCents(negative, magnitude, sep);
    // Six digits of the units and the two decimals in one go. The sign, the
    // units shown, the decimals and the separator are all written; the
    // length then leaves out what is not shown.
    const std::uint64_t ascii = EightDigits(magnitude);
    const int units = std::max(DigitCount(magnitude) - 2, 1);
    wchar_t* p = data_.data();
    *p = L'-';
    p += negative;
    WidenEight(p, ascii >> (8 * (6 - units)));
    p += units;
    const auto tenths = static_cast<wchar_t>((ascii >> 48) & 0xFF);
    const auto hundredths = static_cast<wchar_t>(ascii >> 56);
    p[0] = sep;
    p[1] = tenths;
    p[2] = hundredths;
    const int decimals = hundredths != L'0' ? 3 : (tenths != L'0' ? 2 : 0);
    size_ = static_cast<std::size_t>(p - data_.data() + decimals);
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
            out.AppendCents(x < 0, static_cast<unsigned long long>(cents), sep);
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
    if (const long long cents = QuickCents(x)) return out.AssignCents(cents, sep);
    const long double whole = RoundHalfEven(static_cast<long double>(x) / kCent);
    // Below 10^14 cents the rounded double lies within 2e-16 of whole/100,
    // less than half a unit of its fifteenth digit: its 15-digit text is
    // whole/100 itself, laid out from the integer. That integer passes
    // through a double, exact below 2^53: converting extended precision to
    // an integer directly switches the x87 unit's rounding mode twice.
    if (std::fabs(whole) < 1e14L && whole != 0)
        return out.AssignCents(static_cast<long long>(static_cast<double>(whole)), sep);
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

YearMonth PeriodMonth(long long year, int startMonth, int l) {
    const long long t = static_cast<long long>(l - 1) + startMonth;
    if (t % 12 != 0) return {year + t / 12, static_cast<int>(t % 12)};
    return {year + t / 12 - 1, 12};
}

void PeriodDateText(CellText& out, long long year, int startMonth, int l) {
    const YearMonth date = PeriodMonth(year, startMonth, l);
    DateText(out, date.year, date.month);
}

std::wstring PeriodDateText(long long year, int startMonth, int l) {
    CellText text;
    PeriodDateText(text, year, startMonth, l);
    return text.Str();
}

} // namespace calc
