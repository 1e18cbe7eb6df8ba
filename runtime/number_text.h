#pragma once

// Conversions between the texts of the input boxes and numbers.
// In: UTF-16 text exactly as the user typed it (any length, any code units), and the unit
// symbols that may follow a number there. Out: a double or an overflow fault, with the symbol
// found; and, the other way, a double written for people, with the decimal separator the
// caller passes (this code never reads a global locale).

#include "runtime/result.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tervanel {

// A symbol that may follow a decimal number, and the power of ten it moves the decimal point
// by: with {u"mm", -3}, "12 mm" reads as exactly the double that "0.012" reads as.
struct UnitSuffix {
    std::u16string_view symbol; // ASCII letters, matched without regard to case
    int exponentShift;
};

struct NumberReading {
    Result<double> value;
    // The entry of the table that the letters after the number matched, if any.
    std::optional<std::size_t> unit;
};

// Reads the longest leading number of `text`. Blanks, tabs and line feeds are dropped wherever
// they stand; either "." or "," serves as the decimal point, at most once; an exponent is E or e
// with an optional sign; "&H" and "&O" (either case) start hexadecimal and octal whole numbers.
// Text with no leading number reads as 0. A value beyond the double range is an overflow fault;
// one too small for it reads as a subnormal or 0. Linear in the length of `text`.
[[nodiscard]] Result<double> readNumber(std::u16string_view text);

// Reads as above; then, after a decimal number (never after "&H" or "&O"), the run of ASCII
// letters that starts where the number ends is a unit when the whole run equals one of the
// symbols of `units`, compared without regard to case. Its shift is added to the decimal
// exponent before the one rounding to a double. Any other run is ignored, as any other text.
[[nodiscard]] NumberReading readNumber(std::u16string_view text, std::span<const UnitSuffix> units);

// Writes `value` rounded to 15 significant digits with no trailing zeros: "34257.6", "-2.5",
// exponent form where the decimal exponent is below -4 or at least 15 ("1.5E+20", "2.5E-07").
// Negative zero is written "0".
[[nodiscard]] std::u16string writeNumber(double value, std::u16string_view decimalSeparator);

} // namespace tervanel
