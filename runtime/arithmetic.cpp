#include "runtime/arithmetic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace tervanel {
namespace {

unsigned bitOf(ArithmeticFault fault) {
    return 1u << static_cast<unsigned>(fault);
}

bool isSpecial(double value) {
    return value == 0 || !std::isfinite(value);
}

// std::ldexp takes an int; below this every exponent gives zero and above it infinity anyway.
int clampedExponent(std::int64_t exponent) {
    constexpr std::int64_t kLimit = 4096;
    return static_cast<int>(std::clamp(exponent, -kLimit, kLimit));
}

} // namespace

void FaultFlags::raise(ArithmeticFault fault) {
    raised_ |= bitOf(fault);
}

std::optional<ArithmeticFault> FaultFlags::check() {
    constexpr std::array kByPriority{ArithmeticFault::InvalidOperation,
                                     ArithmeticFault::DivisionByZero, ArithmeticFault::Overflow,
                                     ArithmeticFault::InvalidArgument};
    const unsigned raised = std::exchange(raised_, 0u);
    const auto* found = std::ranges::find_if(
        kByPriority, [raised](ArithmeticFault fault) { return (raised & bitOf(fault)) != 0; });
    if (found == kByPriority.end())
        return std::nullopt;
    return *found;
}

WideFloat::WideFloat(double value) : mantissa_(value), exponent_(0) {
    if (!isSpecial(value)) {
        int exponent = 0;
        mantissa_ = std::frexp(value, &exponent);
        exponent_ = exponent;
    }
}

WideFloat::WideFloat(double mantissa, std::int64_t exponent) : WideFloat(mantissa) {
    if (!isSpecial(mantissa))
        exponent_ += exponent;
}

// Both mantissas lie in [0.5, 1), so their product and quotient are normal doubles: one
// correctly rounded double operation, then an exact renormalisation.
WideFloat WideFloat::times(WideFloat other) const {
    return {mantissa_ * other.mantissa_, exponent_ + other.exponent_};
}

WideFloat WideFloat::twice() const {
    return {mantissa_, exponent_ + 1};
}

WideFloat WideFloat::dividedBy(WideFloat divisor, FaultFlags& flags) const {
    if (divisor.isZero() || std::isnan(mantissa_) || std::isnan(divisor.mantissa_)) {
        if (isZero() || std::isnan(mantissa_) || std::isnan(divisor.mantissa_)) {
            flags.raise(ArithmeticFault::InvalidOperation);
            return WideFloat(std::numeric_limits<double>::quiet_NaN());
        }
        flags.raise(ArithmeticFault::DivisionByZero);
        const double sign = std::copysign(1.0, mantissa_) * std::copysign(1.0, divisor.mantissa_);
        return WideFloat(sign * std::numeric_limits<double>::infinity());
    }
    return {mantissa_ / divisor.mantissa_, exponent_ - divisor.exponent_};
}

double WideFloat::toDouble(FaultFlags& flags) const {
    if (isSpecial(mantissa_))
        return mantissa_;
    constexpr std::int64_t kMaxExponent = std::numeric_limits<double>::max_exponent;
    if (exponent_ > kMaxExponent) {
        flags.raise(ArithmeticFault::Overflow);
        return std::copysign(std::numeric_limits<double>::infinity(), mantissa_);
    }
    return std::ldexp(mantissa_, clampedExponent(exponent_));
}

Result<std::int16_t> roundToInt16(double value) {
    const double below = std::floor(value);
    const double fraction = value - below; // exact for every double
    const bool belowIsOdd = std::fmod(below, 2.0) != 0;
    const double rounded = fraction > 0.5 || (fraction == 0.5 && belowIsOdd) ? below + 1 : below;
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return ArithmeticFault::Overflow;
    return static_cast<std::int16_t>(rounded);
}

Result<double> squareRoot(double value) {
    if (!(value >= 0))
        return ArithmeticFault::InvalidArgument;
    return std::sqrt(value);
}

} // namespace tervanel
