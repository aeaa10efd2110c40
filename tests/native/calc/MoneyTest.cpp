#include "calc/Money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using calc::AmountText;
using calc::RoundToCents;
using calc::RoundToMultiple;

TEST(RoundToMultiple, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_DOUBLE_EQ(RoundToCents(0.125), 0.12);
    EXPECT_DOUBLE_EQ(RoundToCents(0.375), 0.38);
    EXPECT_DOUBLE_EQ(RoundToCents(-0.125), -0.12);
    EXPECT_DOUBLE_EQ(RoundToMultiple(2.5, 0), 2);
    EXPECT_DOUBLE_EQ(RoundToMultiple(3.5, 0), 4);
    EXPECT_DOUBLE_EQ(RoundToMultiple(-2.5, 0), -2);
    // Rates keep three decimals, the 整万 button whole ten-thousands.
    EXPECT_DOUBLE_EQ(RoundToMultiple(1.0625, -3), 1.062);
    EXPECT_DOUBLE_EQ(RoundToMultiple(1.1875, -3), 1.188);
    EXPECT_DOUBLE_EQ(RoundToMultiple(125000, 4), 120000);
    EXPECT_DOUBLE_EQ(RoundToMultiple(135000, 4), 140000);
    EXPECT_DOUBLE_EQ(RoundToMultiple(134999, 4), 130000);
}

TEST(RoundToMultiple, DecimalsThatAreNotExactInBinaryRoundByTheirStoredValue) {
    // 0.135 and 8606.645 are stored a little above the half, 2.675 and 0.145
    // a little below; 8606.625 is exact and goes to the even cent.
    EXPECT_DOUBLE_EQ(RoundToCents(0.135), 0.14);
    EXPECT_DOUBLE_EQ(RoundToCents(8606.645), 8606.65);
    EXPECT_DOUBLE_EQ(RoundToCents(2.675), 2.67);
    EXPECT_DOUBLE_EQ(RoundToCents(0.145), 0.14);
    EXPECT_DOUBLE_EQ(RoundToCents(8606.625), 8606.62);
    EXPECT_DOUBLE_EQ(RoundToCents(8606.6449999), 8606.64);
    EXPECT_DOUBLE_EQ(RoundToCents(91893.3561), 91893.36);
}

TEST(RoundToMultiple, ExtremeValuesStayFiniteOrPassThrough) {
    EXPECT_TRUE(std::isfinite(RoundToCents(1e300)));
    EXPECT_NEAR(RoundToCents(1e300) / 1e300, 1.0, 1e-15);
    EXPECT_TRUE(std::isfinite(RoundToCents(std::numeric_limits<double>::max())));
    EXPECT_TRUE(std::isnan(RoundToCents(std::nan(""))));
    EXPECT_TRUE(std::isinf(RoundToCents(INFINITY)));
}

TEST(AmountText, WholeAndDecimalValuesWithoutTrailingZeros) {
    EXPECT_EQ(AmountText(8270), L"8270");
    EXPECT_EQ(AmountText(295.3), L"295.3");
    EXPECT_EQ(AmountText(0), L"0");
    EXPECT_EQ(AmountText(-0.0), L"0");
    EXPECT_EQ(AmountText(8606.64), L"8606.64");
    EXPECT_EQ(AmountText(0.05), L"0.05");
    EXPECT_EQ(AmountText(-12.5), L"-12.5");
    EXPECT_EQ(AmountText(1234567890.12), L"1234567890.12");
}

TEST(AmountText, UsesTheGivenDecimalSeparator) {
    EXPECT_EQ(AmountText(295.3, L','), L"295,3");
    EXPECT_EQ(AmountText(0.00001, L','), L"0,00001");
}

TEST(AmountText, FifteenSignificantDigitsInFixedPoint) {
    EXPECT_EQ(AmountText(0.00001), L"0.00001");
    EXPECT_EQ(AmountText(1.0 / 3), L"0.333333333333333");
    EXPECT_EQ(AmountText(123456789012345678.0), L"123456789012346000");
    EXPECT_EQ(AmountText(2.0 / 3 * 1e6), L"666666.666666667");
    const std::wstring huge = AmountText(1e300);
    EXPECT_EQ(huge.size(), 301u);
    EXPECT_EQ(huge.substr(0, 2), L"10");
    EXPECT_EQ(huge.find_first_not_of(L'0', 1), std::wstring::npos);
}

TEST(AmountText, NonFiniteValuesStillGiveAText) {
    EXPECT_EQ(AmountText(std::nan("")), L"NAN");
    EXPECT_EQ(AmountText(INFINITY), L"INF");
    EXPECT_EQ(AmountText(-INFINITY), L"-INF");
}

TEST(DateText, YearThenTwoDigitMonth) {
    EXPECT_EQ(calc::DateText(2008, 3), L"2008年03月");
    EXPECT_EQ(calc::DateText(2010, 12), L"2010年12月");
    EXPECT_EQ(calc::DateText(7, 1), L"7年01月");
}

TEST(PeriodDateText, MonthsRunOneToTwelveAndTheYearAdvancesAfterDecember) {
    EXPECT_EQ(calc::PeriodDateText(2008, 1, 1), L"2008年01月");
    EXPECT_EQ(calc::PeriodDateText(2008, 1, 12), L"2008年12月");
    EXPECT_EQ(calc::PeriodDateText(2008, 1, 13), L"2009年01月");
    EXPECT_EQ(calc::PeriodDateText(2008, 12, 1), L"2008年12月");
    EXPECT_EQ(calc::PeriodDateText(2008, 12, 2), L"2009年01月");
    EXPECT_EQ(calc::PeriodDateText(2008, 7, 18), L"2009年12月");
    EXPECT_EQ(calc::PeriodDateText(2008, 7, 360), L"2038年06月");
}

#include "calc/Precision.h"

namespace {
unsigned short ControlWord() {
    unsigned short cw = 0;
#if defined(__x86_64__) || defined(__i386__)
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
#endif
    return cw;
}
void SetControlWord(unsigned short cw) {
#if defined(__x86_64__) || defined(__i386__)
    __asm__ __volatile__("fldcw %0" : : "m"(cw));
#else
    (void)cw;
#endif
}
} // namespace

TEST(ExtendedPrecision, IntermediatesKeepSixtyFourBitsEvenWhenTheUnitWasLeftAt53) {
#if defined(__x86_64__) || defined(__i386__)
    const unsigned short saved = ControlWord();
    SetControlWord(static_cast<unsigned short>((saved & ~0x0300) | 0x0200)); // 53 bits
    {
        calc::ExtendedPrecisionScope scope;
        volatile long double one = 1;
        volatile long double tiny = std::ldexp(1.0L, -60);
        EXPECT_NE(one + tiny, one);
        // Exact tie only in extended precision: 0.125 / 0.01 → 12.5 → 12.
        EXPECT_DOUBLE_EQ(RoundToCents(0.125), 0.12);
    }
    EXPECT_EQ(ControlWord() & 0x0300, 0x0200); // restored
    SetControlWord(saved);
#else
    GTEST_SKIP() << "no x87 unit";
#endif
}
