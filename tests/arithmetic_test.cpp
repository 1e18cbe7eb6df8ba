#include "runtime/arithmetic.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>

namespace tervanel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(RoundToInt16, RoundsHalvesToEven) {
    const struct {
        double value;
        std::int16_t expected;
    } cases[] = {
        {7.5, 8},         {6.5, 6},           {2.5, 2},   {1.5, 2},
        {0.5, 0},         {-0.5, 0},          {-1.5, -2}, {-2.5, -2},
        {2.4, 2},         {2.6, 3},           {-2.6, -3}, {0.49999999999999994, 0},
        {32767.4, 32767}, {-32768.5, -32768}, {-0.0, 0},
    };
    for (const auto& c : cases) {
        const Result<std::int16_t> rounded = roundToInt16(c.value);
        ASSERT_TRUE(rounded.ok()) << c.value;
        EXPECT_EQ(rounded.value(), c.expected) << c.value;
    }
}

TEST(RoundToInt16, OutsideTheRangeOverflows) {
    for (const double value : {32767.5, 32768.0, -32768.6, -32769.0, 4503599627370497.0, 1e300,
                               -1e300, kInf, -kInf, kNaN}) {
        const Result<std::int16_t> rounded = roundToInt16(value);
        ASSERT_FALSE(rounded.ok()) << value;
        EXPECT_EQ(rounded.error(), ArithmeticFault::Overflow);
    }
}

TEST(SquareRoot, NegativeArgumentsAreInvalid) {
    EXPECT_EQ(squareRoot(4.0).value(), 2.0);
    EXPECT_TRUE(sameBits(squareRoot(-0.0).value(), -0.0));
    for (const double value : {-1.0, -1e-320, -kInf, kNaN})
        EXPECT_EQ(squareRoot(value).error(), ArithmeticFault::InvalidArgument) << value;
}

double viaWide(double a, double b, double divisor, FaultFlags& flags) {
    return WideFloat(a).times(WideFloat(b)).dividedBy(WideFloat(divisor), flags).toDouble(flags);
}

// Products and quotients far outside the double range, scaled back, must not differ in a single
// bit from the same operations on doubles: the wide type only never overflows or underflows.
TEST(WideFloat, RoundsLikeADoubleWithAWiderExponent) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    for (int i = 0; i < 100'000; ++i) {
        const double a = mantissa(random);
        const double b = mantissa(random);
        const double c = mantissa(random);
        const double expected = (a * b) / c;
        for (const int scale : {600, -600}) {
            FaultFlags flags;
            const double wide = viaWide(std::ldexp(a, scale), std::ldexp(b, scale),
                                        std::ldexp(c, scale * 5 / 3), flags);
            ASSERT_TRUE(sameBits(wide, std::ldexp(expected, scale / 3)))
                << a << ' ' << b << ' ' << c << ' ' << scale;
            ASSERT_EQ(flags.check(), std::nullopt);
        }
    }
}

TEST(WideFloat, DivisionFaultsFollowTheOperands) {
    const struct {
        double dividend;
        double divisor;
        std::optional<ArithmeticFault> fault;
        double quotient;
    } cases[] = {
        {1.0, 0.0, ArithmeticFault::DivisionByZero, kInf},
        {-1.0, 0.0, ArithmeticFault::DivisionByZero, -kInf},
        {1.0, -0.0, ArithmeticFault::DivisionByZero, -kInf},
        {0.0, 0.0, ArithmeticFault::InvalidOperation, kNaN},
        {-0.0, -0.0, ArithmeticFault::InvalidOperation, kNaN},
        {0.0, 5.0, std::nullopt, 0.0},
        {-0.0, 5.0, std::nullopt, -0.0},
        {0.0, -5.0, std::nullopt, -0.0},
        {6.0, -3.0, std::nullopt, -2.0},
    };
    for (const auto& c : cases) {
        FaultFlags flags;
        const double quotient =
            WideFloat(c.dividend).dividedBy(WideFloat(c.divisor), flags).toDouble(flags);
        EXPECT_EQ(flags.check(), c.fault) << c.dividend << " / " << c.divisor;
        EXPECT_TRUE(sameBits(quotient, c.quotient) ||
                    (std::isnan(quotient) && std::isnan(c.quotient)))
            << c.dividend << " / " << c.divisor << " gave " << quotient;
    }
}

TEST(WideFloat, NarrowingOverflowsOnlyBeyondTheDoubleRange) {
    const double max = std::numeric_limits<double>::max();
    FaultFlags flags;
    EXPECT_EQ(WideFloat(max / 2).twice().toDouble(flags), max);
    EXPECT_EQ(flags.check(), std::nullopt);
    EXPECT_EQ(WideFloat(max).twice().toDouble(flags), kInf);
    EXPECT_EQ(flags.check(), ArithmeticFault::Overflow);
    EXPECT_EQ(WideFloat(-1e300).times(WideFloat(1e300)).toDouble(flags), -kInf);
    EXPECT_EQ(flags.check(), ArithmeticFault::Overflow);
    EXPECT_EQ(flags.check(), std::nullopt) << "a check clears the flags";

    // Below the double range it rounds to a subnormal or to zero, without a fault.
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(
        WideFloat(std::ldexp(3.0, -600)).times(WideFloat(std::ldexp(1.0, -474))).toDouble(flags),
        3 * tiny);
    EXPECT_EQ(WideFloat(1e-300).times(WideFloat(1e-300)).toDouble(flags), 0.0);
    EXPECT_EQ(flags.check(), std::nullopt);
}

TEST(FaultFlags, ReportsTheMostSevereFaultFirst) {
    FaultFlags flags;
    flags.raise(ArithmeticFault::Overflow);
    flags.raise(ArithmeticFault::DivisionByZero);
    EXPECT_EQ(flags.check(), ArithmeticFault::DivisionByZero);
    flags.raise(ArithmeticFault::Overflow);
    flags.raise(ArithmeticFault::InvalidOperation);
    EXPECT_EQ(flags.check(), ArithmeticFault::InvalidOperation);
}

} // namespace
} // namespace tervanel
