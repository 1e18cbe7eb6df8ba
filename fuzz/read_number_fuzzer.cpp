// Any text reads as a finite number or an overflow, the same every time; a finite reading,
// written and read again, keeps its 15 digits, whichever decimal separator writes it.

#include "fuzz_text.h"

#include "runtime/number_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tervanel;
    const std::u16string text = fuzz::textOf(data, size);
    const Result<double> first = readNumber(text);
    const Result<double> again = readNumber(text);
    require(first.ok() == again.ok());
    if (!first.ok()) {
        require(first.error() == ArithmeticFault::Overflow);
        return 0;
    }
    require(std::isfinite(first.value()) && sameBits(first.value(), again.value()));
    for (const std::u16string_view separator : {u".", u","}) {
        const std::u16string written = writeNumber(first.value(), separator);
        const Result<double> reread = readNumber(written);
        require(reread.ok() && writeNumber(reread.value(), separator) == written);
    }
    return 0;
}
