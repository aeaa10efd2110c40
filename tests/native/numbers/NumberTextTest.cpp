#include "numbers/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

using numbers::FormatMask;
using numbers::ParseNumber;

TEST(FormatMask, DecimalsAreRoundedHalfAwayFromZero) {
    EXPECT_EQ(FormatMask(1234.5, L"0.00"), L"1234.50");
    EXPECT_EQ(FormatMask(0.125, L"0.00"), L"0.13");
    EXPECT_EQ(FormatMask(2.5, L"0"), L"3");
    EXPECT_EQ(FormatMask(-2.5, L"0"), L"-3");
    EXPECT_EQ(FormatMask(7.125, L"0.00"), L"7.13");
    EXPECT_EQ(FormatMask(6, L"0.000"), L"6.000");
    EXPECT_EQ(FormatMask(99.995, L"0.00"), L"100.00"); // carries into the integer part
    EXPECT_EQ(FormatMask(0.5, L"0"), L"1");
}

TEST(FormatMask, AValueThatRoundsToZeroHasNoSign) {
    EXPECT_EQ(FormatMask(-0.001, L"0.00"), L"0.00");
    EXPECT_EQ(FormatMask(-0.0, L"0.00"), L"0.00");
    EXPECT_EQ(FormatMask(-0.4, L"0"), L"0");
    EXPECT_EQ(FormatMask(0, L"0.00"), L"0.00");
    EXPECT_EQ(FormatMask(-0.005, L"0.00"), L"-0.01");
}

TEST(FormatMask, EighteenSignificantDigitsBeforeRounding) {
    // 1.005 is stored below the half, so it stays at 1.00.
    EXPECT_EQ(FormatMask(1.005, L"0.00"), L"1.00");
    EXPECT_EQ(FormatMask(123456789012345.678, L"0.00"), L"123456789012345.67");
    EXPECT_EQ(FormatMask(1e-20, L"0.00"), L"0.00");
}

TEST(FormatMask, LargeValuesUseGeneralNotation) {
    EXPECT_EQ(FormatMask(1e18, L"0.00"), L"1E18");
    EXPECT_EQ(FormatMask(1.5e20, L"0.00", L','), L"1,5E20");
    EXPECT_EQ(FormatMask(-2.5e300, L"0"), L"-2.5E300");
    EXPECT_EQ(FormatMask(999999999999999872.0, L"0.00"), L"999999999999999872.00");
    EXPECT_EQ(FormatMask(std::nan(""), L"0.00"), L"NAN");
}

TEST(FormatMask, OptionalDigitsAndSeparator) {
    EXPECT_EQ(FormatMask(1234.5, L"0.00", L','), L"1234,50");
    EXPECT_EQ(FormatMask(1.5, L"#.##"), L"1.5");
    EXPECT_EQ(FormatMask(2, L"0.##"), L"2");
    EXPECT_EQ(FormatMask(3.14159, L"0.0#"), L"3.14");
    EXPECT_EQ(FormatMask(3.1, L"0.0#"), L"3.1");
    EXPECT_EQ(FormatMask(7, L"000"), L"007");
}

TEST(ParseNumber, AcceptsTheNumberEditsForms) {
    EXPECT_EQ(ParseNumber(L"12.5"), 12.5);
    EXPECT_EQ(ParseNumber(L"  12.5  "), 12.5);
    EXPECT_EQ(ParseNumber(L"+3"), 3);
    EXPECT_EQ(ParseNumber(L"-3"), -3);
    EXPECT_EQ(ParseNumber(L"."), 0);
    EXPECT_EQ(ParseNumber(L"5."), 5);
    EXPECT_EQ(ParseNumber(L".5"), 0.5);
    EXPECT_EQ(ParseNumber(L"1e3"), 1000);
    EXPECT_EQ(ParseNumber(L"1E-2"), 0.01);
    EXPECT_EQ(ParseNumber(L"2.5e+2"), 250);
    EXPECT_EQ(ParseNumber(L"1,5", L','), 1.5);
    EXPECT_EQ(ParseNumber(L"1e-999"), 0);
    EXPECT_EQ(ParseNumber(L"0.1"), 0.1); // correctly rounded, as every other text
    EXPECT_EQ(ParseNumber(L"8606.64"), 8606.64);
}

TEST(ParseNumber, RefusesEverythingElse) {
    for (const wchar_t* text :
         {L"", L"  ", L"-", L"+", L"abc", L"1,5", L"1.2.3", L"e5", L"1e", L"1e+", L"12 34",
          L"1e999", L"--1", L"0x10", L"nan", L"inf", L"50000.00元"})
        EXPECT_FALSE(ParseNumber(text).has_value()) << std::wstring(text).size();
    EXPECT_FALSE(ParseNumber(L"1.5", L',').has_value());
}

TEST(ParseNumber, RoundTripsEveryFormattedMoneyValue) {
    for (double v : {0.0, 0.01, 1.0, 8606.64, 91893.36, 123456789.99, 1e15 + 0.25})
        EXPECT_EQ(ParseNumber(FormatMask(v, L"0.00")), v) << v;
}

TEST(AcceptNumberKey, DigitsBackspaceAndOneSeparator) {
    using numbers::AcceptNumberKey;
    for (wchar_t d = L'0'; d <= L'9'; ++d)
        EXPECT_TRUE(AcceptNumberKey(d, L"0", L"", 0));
    EXPECT_TRUE(AcceptNumberKey(8, L"0", L"12", 2));
    EXPECT_TRUE(AcceptNumberKey(L'.', L"0.00", L"12", 2));
    // A second separator is refused even when the selection covers the first.
    EXPECT_FALSE(AcceptNumberKey(L'.', L"0.00", L"12.50", 0));
    EXPECT_FALSE(AcceptNumberKey(L'.', L"0", L"12", 2));
    EXPECT_TRUE(AcceptNumberKey(L',', L"0.00", L"12", 2, L','));
    EXPECT_FALSE(AcceptNumberKey(L'.', L"0.00", L"12", 2, L','));
}

TEST(AcceptNumberKey, RefusesLettersControlKeysAndMinusWithTheProgramsMasks) {
    using numbers::AcceptNumberKey;
    for (wchar_t key :
         {L'a', L'Z', L' ', L'-', L'+', L'e', L'\r', L'\x1b', L'\x03', L'\x16', L'\t', L'元'})
        for (const wchar_t* mask : {L"0", L"0.00", L"0.000"})
            EXPECT_FALSE(AcceptNumberKey(key, mask, L"1", 0)) << int(key);
    // A mask with a minus sign allows one, at the start only.
    EXPECT_TRUE(AcceptNumberKey(L'-', L"-0.00", L"12", 0));
    EXPECT_FALSE(AcceptNumberKey(L'-', L"-0.00", L"12", 1));
    EXPECT_FALSE(AcceptNumberKey(L'-', L"-0.00", L"-12", 0));
}
