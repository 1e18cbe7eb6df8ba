#include "runtime/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace tervanel {
namespace {

// 767 significant digits decide the rounding of any decimal to a double; the rest only
// matter as "some non-zero digit follows", which one extra '1' stands for.
constexpr std::size_t kKeptDigits = 800;
// Any larger exponent already puts the value far beyond the double range either way.
constexpr std::int64_t kExponentCap = 1'000'000'000;
// 0.d × 10^e is above the largest double for e > 309 and rounds to zero for e < -324.
constexpr std::int64_t kMaxDecimalExponent = 310;
constexpr std::int64_t kMinDecimalExponent = -330;

bool isDropped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDecimalDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isDecimalPoint(char16_t c) {
    return c == u'.' || c == u',';
}
bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
char16_t lowerCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Walks the text as if every blank, tab and line feed had been removed from it.
class Cursor {
public:
    explicit Cursor(std::u16string_view text) : text_(text) { skipDropped(); }
    [[nodiscard]] char16_t peek() const { return pos_ < text_.size() ? text_[pos_] : u'\0'; }
    void advance() {
        ++pos_;
        skipDropped();
    }
    bool take(char16_t lower, char16_t upper) {
        if (peek() != lower && peek() != upper)
            return false;
        advance();
        return true;
    }

private:
    void skipDropped() {
        while (pos_ < text_.size() && isDropped(text_[pos_]))
            ++pos_;
    }
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

int radixDigit(char16_t c, int radix) {
    int digit = radix;
    if (c >= u'0' && c <= u'9')
        digit = c - u'0';
    else if (c >= u'a' && c <= u'f')
        digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        digit = c - u'A' + 10;
    return digit < radix ? digit : -1;
}

// After "&H" or "&O": the digits wrap modulo 2^32; a value that never needed more than 16 bits
// is a 16-bit two's-complement number (&HFFFF is -1), any other a 32-bit one (&HFFFFFFFF is -1).
double readRadixNumber(Cursor& cursor, int radix) {
    std::uint32_t value = 0;
    bool beyond16Bits = false;
    for (int digit; (digit = radixDigit(cursor.peek(), radix)) >= 0; cursor.advance()) {
        value = value * static_cast<std::uint32_t>(radix) + static_cast<std::uint32_t>(digit);
        beyond16Bits = beyond16Bits || value > 0xFFFFu;
    }
    if (beyond16Bits)
        return static_cast<double>(static_cast<std::int32_t>(value));
    return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
}

// The digits of a decimal number as 0.<significant> × 10^exponent.
struct Decimal {
    bool negative = false;
    bool anyDigit = false;
    std::string significant;
    bool truncatedNonZero = false;
    std::int64_t exponent = 0;
};

void readMantissa(Cursor& cursor, Decimal& number) {
    bool seenPoint = false;
    for (char16_t c = cursor.peek();; c = cursor.peek()) {
        if (isDecimalPoint(c) && !seenPoint) {
            seenPoint = true;
        } else if (!isDecimalDigit(c)) {
            return;
        } else if (number.significant.empty() && c == u'0') {
            number.anyDigit = true;
            number.exponent -= seenPoint ? 1 : 0;
        } else {
            number.anyDigit = true;
            number.exponent += seenPoint ? 0 : 1;
            if (number.significant.size() < kKeptDigits)
                number.significant.push_back(static_cast<char>(c));
            else
                number.truncatedNonZero = number.truncatedNonZero || c != u'0';
        }
        cursor.advance();
    }
}

// An exponent letter without digits after it is no part of the number, which ends before it.
std::int64_t readExponent(Cursor& cursor) {
    const Cursor numberEnd = cursor;
    if (!cursor.take(u'e', u'E'))
        return 0;
    const bool negative = cursor.take(u'-', u'-');
    if (!negative)
        cursor.take(u'+', u'+');
    if (!isDecimalDigit(cursor.peek())) {
        cursor = numberEnd;
        return 0;
    }
    std::int64_t exponent = 0;
    for (char16_t c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
        exponent = std::min(exponent * 10 + (c - u'0'), kExponentCap);
        cursor.advance();
    }
    return negative ? -exponent : exponent;
}

Result<double> toDouble(const Decimal& number) {
    const double zero = number.negative ? -0.0 : 0.0;
    if (number.significant.empty() || number.exponent < kMinDecimalExponent)
        return zero;
    if (number.exponent > kMaxDecimalExponent)
        return ArithmeticFault::Overflow;

    std::string text = number.negative ? "-0." : "0.";
    text += number.significant;
    if (number.truncatedNonZero)
        text += '1';
    text += 'e';
    text += std::to_string(number.exponent);

    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range)
        return number.exponent > 0 ? Result<double>(ArithmeticFault::Overflow) : zero;
    if (std::isinf(value))
        return ArithmeticFault::Overflow;
    return value;
}

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, {}, lowerCase, lowerCase);
}

// Only as many letters as the longest symbol has, and one more to tell a longer run, are
// looked at: a text of a million letters costs no more than a short word.
std::optional<std::size_t> readUnit(Cursor& cursor, std::span<const UnitSuffix> units) {
    std::size_t longest = 0;
    for (const UnitSuffix& unit : units)
        longest = std::max(longest, unit.symbol.size());
    std::u16string run;
    for (; isAsciiLetter(cursor.peek()) && run.size() <= longest; cursor.advance())
        run.push_back(cursor.peek());
    if (run.empty())
        return std::nullopt;
    const auto found = std::ranges::find_if(
        units, [&run](const UnitSuffix& unit) { return equalIgnoringCase(unit.symbol, run); });
    if (found == units.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - units.begin());
}

NumberReading readDecimalNumber(Cursor& cursor, std::span<const UnitSuffix> units) {
    Decimal number;
    number.negative = cursor.take(u'-', u'-');
    if (!number.negative)
        cursor.take(u'+', u'+');
    number.significant.reserve(kKeptDigits);
    readMantissa(cursor, number);
    if (!number.anyDigit)
        return {0.0, std::nullopt};
    number.exponent += readExponent(cursor);
    const std::optional<std::size_t> unit = readUnit(cursor, units);
    if (unit)
        number.exponent += units[*unit].exponentShift;
    return {toDouble(number), unit};
}

} // namespace

Result<double> readNumber(std::u16string_view text) {
    return readNumber(text, {}).value;
}

NumberReading readNumber(std::u16string_view text, std::span<const UnitSuffix> units) {
    Cursor cursor(text);
    if (!cursor.take(u'&', u'&'))
        return readDecimalNumber(cursor, units);
    if (cursor.take(u'h', u'H'))
        return {readRadixNumber(cursor, 16), std::nullopt};
    if (cursor.take(u'o', u'O'))
        return {readRadixNumber(cursor, 8), std::nullopt};
    return {0.0, std::nullopt};
}

std::u16string writeNumber(double value, std::u16string_view decimalSeparator) {
    if (value == 0)
        return u"0";
    std::array<char, 64> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                         std::chars_format::general, 15);
    std::u16string text;
    for (const char* p = digits.data(); p != end; ++p) {
        if (*p == '.')
            text += decimalSeparator;
        else
            text += *p == 'e' ? u'E' : static_cast<char16_t>(*p);
    }
    return text;
}

} // namespace tervanel
