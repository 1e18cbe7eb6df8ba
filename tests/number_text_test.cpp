#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
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
