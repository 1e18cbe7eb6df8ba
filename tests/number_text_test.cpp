#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace tervanel {
namespace {

constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();
constexpr double kMax = std::numeric_limits<double>::max();

struct ReadCase {
    std::u16string text;
    double expected;
};

// Bit for bit, so that -0 and +0 differ and every digit of the conversion counts.
void expectSameBits(double actual, double expected, std::u16string_view text) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
        << "reading " << ::testing::PrintToString(std::u16string(text)) << " gave " << actual
        << ", expected " << expected;
}

TEST(ReadNumber, ReadsTheLongestLeadingNumber) {
    const std::u16string loneSurrogate{u'7', static_cast<char16_t>(0xD800)};
    const ReadCase cases[] = {
        // text                   expected
        {u"", 0.0},
        {u"abc", 0.0},
        {u"12abc", 12.0},
        {u"0.012", 0.012},
        {u"0,012", 0.012},
        {u"0. 0 12", 0.012},
        {u" -\t3\n.5", -3.5},
        {u"1\r2", 1.0}, // only blanks, tabs and line feeds are dropped
        {u"+7", 7.0},
        {u"-.5", -0.5},
        {u"5.", 5.0},
        {u",5", 0.5},
        {u".", 0.0},
        {u"-", 0.0},
        {u"+-5", 0.0},
        {u"-0", -0.0},
        {u"1.2.3", 1.2},
        {u"1,2.3", 1.2},
        {u"1.2,3", 1.2},
        {u"1e", 1.0},
        {u"1e+", 1.0},
        {u"1e-x", 1.0},
        {u"e5", 0.0},
        {u"1e3", 1000.0},
        {u"1E+3", 1000.0},
        {u"2.5e-3", 0.0025},
        {u"1 e 2", 100.0},
        {u"1e2.5", 100.0},
        {u"0e99999999999999999999", 0.0},
        {u"00000.000001", 1e-6},
        {u"\uFF11\uFF12", 0.0}, // fullwidth digits are not digits
        {u"\u0663", 0.0},       // nor are Arabic-Indic ones
        {loneSurrogate, 7.0},   // a lone surrogate just ends the number
        {u"&HFF", 255.0},
        {u"&hff", 255.0},
        {u"& H 1 0", 16.0},
        {u"&HFFFF", -1.0},
        {u"&H8000", -32768.0},
        {u"&H7FFF", 32767.0},
        {u"&H10000", 65536.0},
        {u"&HFFFFFFFF", -1.0},
        {u"&H1FFFFFFFF", -1.0}, // wraps modulo 2^32
        {u"&H1G", 1.0},
        {u"&O777", 511.0},
        {u"&o177777", -1.0},
        {u"&O8", 0.0},
        {u"&H", 0.0},
        {u"&", 0.0},
        {u"&X1", 0.0},
        {u"-&H1", 0.0},
    };
    for (const ReadCase& c : cases) {
        const Result<double> read = readNumber(c.text);
        ASSERT_TRUE(read.ok()) << ::testing::PrintToString(std::u16string(c.text));
        expectSameBits(read.value(), c.expected, c.text);
    }
}

TEST(ReadNumber, RoundsCorrectlyAtTheEdgesOfTheDoubleRange) {
    const std::u16string halfway = u"9007199254740993"; // 2^53 + 1: ties to even, down
    const ReadCase cases[] = {
        {u"0.1", 0.1},
        {halfway, 9007199254740992.0},
        {halfway + u"." + std::u16string(1000, u'0') + u"1", 9007199254740994.0},
        {halfway + std::u16string(1000, u'0') + u"1e-1001", 9007199254740994.0},
        {u"1.7976931348623157e308", kMax},
        {u"1.7976931348623158e308", kMax},
        {u"2.2250738585072011e-308", 2.2250738585072009e-308}, // subnormal
        {u"4.9e-324", kDenormMin},
        {u"2.4703282292062328e-324", kDenormMin}, // just above half the smallest subnormal
        {u"2.4703282292062327e-324", 0.0},
        {u"1e-400", 0.0},
        {u"-1e-400", -0.0},
        {u"0." + std::u16string(5000, u'0') + u"1e5000", 0.1},
    };
    for (const ReadCase& c : cases) {
        const Result<double> read = readNumber(c.text);
        ASSERT_TRUE(read.ok());
        expectSameBits(read.value(), c.expected, c.text.substr(0, 40));
    }
}

TEST(ReadNumber, ValuesBeyondTheDoubleRangeOverflow) {
    const std::u16string_view texts[] = {
        u"1e400",
        u"-1e400",
        u"1.8e308",
        u"1.797693134862315808e308", // half an ulp above the largest double rounds up
        u"1e99999999999999999999999999",
        u"0,1e310",
    };
    for (const std::u16string_view text : texts) {
        const Result<double> read = readNumber(text);
        ASSERT_FALSE(read.ok()) << ::testing::PrintToString(std::u16string(text));
        EXPECT_EQ(read.error(), ArithmeticFault::Overflow);
    }
}

// Quadratic work would make these hang; the CTest timeout catches that.
TEST(ReadNumber, HandlesTenMegabyteTexts) {
    const std::size_t size = 10u << 20;
    const ReadCase cases[] = {
        {u"1" + std::u16string(size, u'0') + u"e-10485760", 1.0},
        {std::u16string(size, u' ') + u"5", 5.0},
        {u"0." + std::u16string(size, u'0') + u"5e10485761", 5.0},
        {u"2" + std::u16string(size, u'x'), 2.0},
        {u"&H" + std::u16string(size, u'F'), -1.0},
    };
    for (const ReadCase& c : cases) {
        const Result<double> read = readNumber(c.text);
        ASSERT_TRUE(read.ok());
        expectSameBits(read.value(), c.expected, c.text.substr(0, 20));
    }
    EXPECT_FALSE(readNumber(std::u16string(size, u'9')).ok());
}

// Only ASCII digits, signs, points, exponent letters and the three dropped characters take part
// in a number: no other code unit of UTF-16, Unicode digits and surrogates included.
TEST(ReadNumber, NoOtherCodeUnitContinuesANumber) {
    const std::u16string_view dropped = u" \t\n";
    const std::u16string_view continuing = u"0123456789.,eE+-";
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const auto c = static_cast<char16_t>(unit);
        if (continuing.find(c) != std::u16string_view::npos)
            continue;
        const std::u16string text{u'7', c, u'5'};
        const double expected = dropped.find(c) != std::u16string_view::npos ? 75.0 : 7.0;
        ASSERT_EQ(readNumber(text).value(), expected)
            << "code unit " << static_cast<std::uint32_t>(unit);
    }
}

// Any table will do: the reading knows no quantities, only symbols and their shifts.
constexpr UnitSuffix kUnits[] = {{u"m", 0},  {u"cm", -2}, {u"mm", -3},
                                 {u"kg", 0}, {u"g", -3},  {u"t", 3}};
constexpr std::optional<std::size_t> kNoUnit;
constexpr std::size_t kM = 0, kCm = 1, kMm = 2, kKg = 3, kG = 4, kT = 5;

struct UnitCase {
    std::u16string text;
    std::u16string_view sameAs; // read with no unit table, must give the same bits
    std::optional<std::size_t> unit;
};

TEST(ReadNumberWithUnits, AUnitMovesTheDecimalPointBeforeTheOneRounding) {
    const UnitCase cases[] = {
        // text            same as     unit
        {u"12 mm", u"0.012", kMm},
        {u"12mm", u"0.012", kMm},
        {u"12 MM", u"0.012", kMm},
        {u"12 mM", u"0.012", kMm},
        {u"1 2\tm\nm", u"0.012", kMm},
        {u"9 mm", u"0.009", kMm}, // 9 × 0.001 is one bit away from 0.009
        {u"13 mm", u"0.013", kMm},
        {u"1,1 cm", u"0.011", kCm}, // and 1.1 / 100 from 0.011
        {u"100 cm", u"1", kCm},
        {u"0,1 m", u"0.1", kM},
        {u"0,4 t", u"400", kT},
        {u"400 Kg", u"400", kKg},
        {u"0,4T", u"400", kT},
        {u"1.2e1mm", u"0.012", kMm},
        {u"1.2E+1 MM", u"0.012", kMm},
        {u"4e5g", u"400", kG},
        {u"4 e 5 g", u"400", kG},
        {u"-0 mm", u"-0", kMm},
        {u"-2,5e-3t", u"-2.5", kT},
        {u"12 mm.", u"0.012", kMm}, // the run of letters ends at any other character
        {u"12mm3", u"0.012", kMm},
        {u"12 mmñ", u"0.012", kMm}, // only ASCII letters make the run
        {u"1e310 mm", u"1e307", kMm},
        {u"1e-321 t", u"1e-318", kT},
        {u"5e-324 mm", u"0", kMm},
    };
    for (const UnitCase& c : cases) {
        const NumberReading read = readNumber(c.text, kUnits);
        ASSERT_TRUE(read.value.ok()) << ::testing::PrintToString(c.text);
        EXPECT_EQ(read.unit, c.unit) << ::testing::PrintToString(c.text);
        expectSameBits(read.value.value(), readNumber(c.sameAs).value(), c.text);
    }
}

// Only a whole run of letters that is a symbol counts, and only right after a decimal number;
// anything else ends the reading as before. An exponent letter with no digits after it is no
// part of the number, so the run starts at that letter.
TEST(ReadNumberWithUnits, OtherLettersEndTheNumberAsBefore) {
    const UnitCase cases[] = {
        // text            same as     unit
        {u"8 espiras", u"8", kNoUnit},   {u"12abc", u"12", kNoUnit},
        {u"0.1 metro", u"0.1", kNoUnit}, {u"12 mmx", u"12", kNoUnit},
        {u"12 m m x", u"12", kNoUnit},   {u"4e+", u"4", kNoUnit},
        {u"1e", u"1", kNoUnit},          {u"2 e", u"2", kNoUnit},
        {u"12em", u"12", kNoUnit},       {u"12e-mm", u"12", kNoUnit},
        {u"12e+t", u"12", kNoUnit},      {u"1.5.mm", u"1.5", kNoUnit},
        {u"1e5.5mm", u"1e5", kNoUnit},   {u"mm", u"0", kNoUnit},
        {u"-mm", u"0", kNoUnit},         {u".t", u"0", kNoUnit},
        {u"&H10 mm", u"16", kNoUnit},    {u"&O7t", u"7", kNoUnit},
        {u"&HFm", u"15", kNoUnit},       {u"2" + std::u16string(10u << 20, u'm'), u"2", kNoUnit},
    };
    for (const UnitCase& c : cases) {
        const NumberReading read = readNumber(c.text, kUnits);
        ASSERT_TRUE(read.value.ok());
        EXPECT_EQ(read.unit, c.unit) << ::testing::PrintToString(c.text.substr(0, 20));
        expectSameBits(read.value.value(), readNumber(c.sameAs).value(), c.text.substr(0, 20));
        expectSameBits(readNumber(c.text, {}).value.value(), readNumber(c.text).value(),
                       c.text.substr(0, 20));
    }
}

// The unit found is reported with the overflow, so that a caller can judge the unit first.
TEST(ReadNumberWithUnits, AnOverflowKeepsItsUnit) {
    const NumberReading read = readNumber(u"1e400 mm", kUnits);
    ASSERT_FALSE(read.value.ok());
    EXPECT_EQ(read.value.error(), ArithmeticFault::Overflow);
    EXPECT_EQ(read.unit, kMm);
    EXPECT_FALSE(readNumber(u"1.8e305 t", kUnits).value.ok());
}

// The digits of random numbers with a unit read exactly as with the unit's shift added to the
// exponent they were written with.
TEST(ReadNumberWithUnits, EveryShiftEqualsTheSameDigitsWithTheExponentMoved) {
    std::mt19937_64 random(20261212);
    for (int i = 0; i < 20'000; ++i) {
        std::string mantissa = std::to_string(random() % 100'000'000'000'000'000ull);
        mantissa.insert(static_cast<std::size_t>(random() % (mantissa.size() + 1)), 1, '.');
        const int exponent = static_cast<int>(random() % 700) - 350;
        const auto unit = static_cast<std::size_t>(random() % std::size(kUnits));
        std::string withUnit = mantissa;
        withUnit += 'e';
        withUnit += std::to_string(exponent);
        withUnit += ' ';
        withUnit.append(kUnits[unit].symbol.begin(), kUnits[unit].symbol.end());
        const std::string moved =
            mantissa + 'e' + std::to_string(exponent + kUnits[unit].exponentShift);
        const std::u16string text(withUnit.begin(), withUnit.end());
        const NumberReading read = readNumber(text, kUnits);
        const Result<double> expected = readNumber(std::u16string(moved.begin(), moved.end()));
        ASSERT_EQ(read.unit, unit) << withUnit;
        ASSERT_EQ(read.value.ok(), expected.ok()) << withUnit;
        if (expected.ok())
            expectSameBits(read.value.value(), expected.value(), text);
    }
}

struct WriteCase {
    double value;
    std::u16string_view separator;
    std::u16string_view expected;
};

TEST(WriteNumber, WritesFifteenSignificantDigits) {
    const WriteCase cases[] = {
        // value              separator  expected
        {34257.59999999999, u".", u"34257.6"},
        {13.08770415313549, u".", u"13.0877041531355"},
        {2.0829728096958413, u".", u"2.08297280969584"},
        {34257.59999999999, u",", u"34257,6"},
        {-1234.5, u",", u"-1234,5"},
        {100.0, u".", u"100"},
        {0.0, u".", u"0"},
        {-0.0, u".", u"0"},
        {-2.5, u".", u"-2.5"},
        {1.0 / 3, u".", u"0.333333333333333"},
        {2.0 / 3, u".", u"0.666666666666667"},
        {0.0001, u".", u"0.0001"},
        {0.00001, u".", u"1E-05"},
        {2.5e-7, u",", u"2,5E-07"},
        {1.5e20, u".", u"1.5E+20"},
        {123456789012345.0, u".", u"123456789012345"},
        {999999999999999.4, u".", u"999999999999999"},
        {999999999999999.5, u".", u"1E+15"},
        {1e15, u".", u"1E+15"},
        {-1e300, u".", u"-1E+300"},
        {kMax, u".", u"1.79769313486232E+308"},
        {kDenormMin, u".", u"4.94065645841247E-324"},
    };
    for (const WriteCase& c : cases)
        EXPECT_EQ(writeNumber(c.value, c.separator), c.expected) << c.value;
}

TEST(WriteNumber, WhatItWritesReadsBackToTheSameFifteenDigits) {
    std::mt19937_64 random(20261211);
    for (int i = 0; i < 100'000; ++i) {
        const std::uint64_t bits = random();
        const auto value = std::bit_cast<double>(bits);
        if (!std::isfinite(value))
            continue;
        for (const std::u16string_view separator : {u".", u","}) {
            const std::u16string written = writeNumber(value, separator);
            const Result<double> reread = readNumber(written);
            ASSERT_TRUE(reread.ok()) << value;
            ASSERT_EQ(writeNumber(reread.value(), separator), written) << value;
        }
    }
}

} // namespace
} // namespace tervanel
