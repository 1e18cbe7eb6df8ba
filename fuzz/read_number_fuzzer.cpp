// Any text reads as a finite number or an overflow, the same every time; a finite reading,
// written and read again, keeps its 15 digits, whichever decimal separator writes it. A unit
// symbol after a number only moves its decimal point: with shifts of zero the reading is the
// same as with no table, and the digits of the text with a symbol after them read exactly as
// the same digits with the symbol's shift added to their exponent.

#include "fuzz_text.h"

#include "runtime/number_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace tervanel;

// "e" stands for a symbol that an exponent letter without digits could be taken for.
constexpr UnitSuffix kUnshifted[] = {{u"m", 0}, {u"mm", 0}, {u"kg", 0}, {u"e", 0}};
constexpr UnitSuffix kUnits[] = {{u"m", 0},  {u"cm", -2}, {u"mm", -3},  {u"kg", 0},
                                 {u"g", -3}, {u"t", 3},   {u"zz", 400}, {u"yy", -400}};

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameReading(const Result<double>& a, const Result<double>& b) {
    return a.ok() == b.ok() && (!a.ok() || sameBits(a.value(), b.value()));
}

void requireSameFifteenDigits(const Result<double>& read) {
    for (const std::u16string_view separator : {u".", u","}) {
        const std::u16string written = writeNumber(read.value(), separator);
        const Result<double> reread = readNumber(written);
        require(reread.ok() && writeNumber(reread.value(), separator) == written);
    }
}

// The digits and the first decimal point of the fuzzer's text, an exponent and a symbol drawn
// from it, the symbol in upper case where the text's bits say so.
void requireUnitMovesThePoint(const std::u16string& text) {
    std::u16string mantissa = text.starts_with(u'-') ? u"-" : u"";
    bool anyDigit = false;
    bool seenPoint = false;
    unsigned sum = 0;
    for (const char16_t c : text) {
        sum += c;
        if (c >= u'0' && c <= u'9') {
            mantissa += c;
            anyDigit = true;
        } else if ((c == u'.' || c == u',') && !seenPoint) {
            mantissa += c;
            seenPoint = true;
        }
    }
    const int exponent = static_cast<int>(sum % 801) - 400;
    const UnitSuffix& unit = kUnits[text.size() % std::size(kUnits)];
    std::u16string symbol(unit.symbol);
    for (std::size_t i = 0; i < symbol.size(); ++i) {
        if ((sum >> i) & 1u)
            symbol[i] = static_cast<char16_t>(symbol[i] - u'a' + u'A');
    }
    const auto decimal = [](int value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    };
    const std::u16string withUnit =
        mantissa + u"e" + decimal(exponent) + (text.size() % 2 == 0 ? u" " : u"") + symbol;
    const NumberReading read = readNumber(withUnit, kUnits);
    if (!anyDigit) {
        require(!read.unit && read.value.ok() && read.value.value() == 0);
        return;
    }
    require(read.unit && kUnits[*read.unit].symbol == unit.symbol);
    const std::u16string moved = mantissa + u"e" + decimal(exponent + unit.exponentShift);
    require(sameReading(read.value, readNumber(moved)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = fuzz::textOf(data, size);
    const Result<double> first = readNumber(text);
    const Result<double> again = readNumber(text);
    require(sameReading(first, again));
    require(sameReading(readNumber(text, kUnshifted).value, first));
    requireUnitMovesThePoint(text);
    const NumberReading withUnits = readNumber(text, kUnits);
    require(!withUnits.value.ok() || std::isfinite(withUnits.value.value()));
    if (!first.ok()) {
        require(first.error() == ArithmeticFault::Overflow);
        return 0;
    }
    require(std::isfinite(first.value()));
    requireSameFifteenDigits(first);
    return 0;
}
