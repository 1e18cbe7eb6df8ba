#pragma once

// Arithmetic whose results are the same on every compiler and platform, with its faults
// found from the operands rather than from the floating-point environment.
// In: doubles. Out: doubles, 16-bit integers, or the arithmetic fault that stopped them.

#include "runtime/result.h"

#include <cfloat>
#include <cstdint>
#include <optional>

static_assert(FLT_EVAL_METHOD == 0,
              "doubles must be evaluated as doubles (FLT_EVAL_METHOD 0): in extended precision "
              "each result is rounded twice and can change in the last bit; on 32-bit x86 "
              "build with -msse2 -mfpmath=sse");

namespace tervanel {

// Faults raised by a chain of operations, kept until the caller checks them, like the
// processor's sticky flags but explicit, so that no compiler setting can lose them.
class FaultFlags {
public:
    void raise(ArithmeticFault fault);
    // The fault raised since the last check, if any, and clears them all. Where several are
    // raised, invalid operation is reported before division by zero, and that before overflow.
    [[nodiscard]] std::optional<ArithmeticFault> check();

private:
    unsigned raised_ = 0;
};

// A double's 53-bit precision with an exponent range far wider than a double's: products of
// diameters to the fourth power neither overflow nor underflow until the result is narrowed.
// Each operation rounds once, to nearest with ties to even, exactly as a double operation would.
class WideFloat {
public:
    explicit WideFloat(double value);

    [[nodiscard]] WideFloat times(WideFloat other) const;
    [[nodiscard]] WideFloat twice() const;
    // x/0 raises division by zero (giving an infinity), 0/0 an invalid operation (giving NaN).
    [[nodiscard]] WideFloat dividedBy(WideFloat divisor, FaultFlags& flags) const;
    [[nodiscard]] bool isZero() const { return mantissa_ == 0; }
    // Rounds to the nearest double, subnormals included; beyond the double range it raises an
    // overflow and gives an infinity of the same sign.
    [[nodiscard]] double toDouble(FaultFlags& flags) const;

private:
    WideFloat(double mantissa, std::int64_t exponent);

    // Zero, infinities and NaN are held in the mantissa with exponent 0; any other value is
    // mantissa × 2^exponent with 0.5 <= |mantissa| < 1.
    double mantissa_;
    std::int64_t exponent_;
};

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2, 7.5 gives 8);
// outside -32768…32767, or not a number, it is an overflow fault.
[[nodiscard]] Result<std::int16_t> roundToInt16(double value);

// A negative argument (or NaN) is an invalid-argument fault; -0 gives -0.
[[nodiscard]] Result<double> squareRoot(double value);

} // namespace tervanel
