// Five arbitrary texts and an end type always end in a sentence of the exact frame or in a
// fault with a message, and the same input gives the same outcome and state every time. A
// sentence never shows a negative stiffness or frequency, nor comes from a negative mass; an
// unrecognised material or a refused unit changes no state.

#include "fuzz_text.h"

#include "calc/spring.h"
#include "runtime/number_text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace tervanel;

constexpr std::u16string_view kBefore = u"La rigidez total del resorte es ";
constexpr std::u16string_view kBetween = u" Nw/m; y la frecuencia natural es de ";
constexpr std::u16string_view kAfter = u" Hz";

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameState(const SpringState& a, const SpringState& b) {
    return a.N == b.N && a.N2 == b.N2 && sameBits(a.G, b.G) && sameBits(a.K, b.K) &&
           sameBits(a.W, b.W);
}

// The five texts are separated by 0xFF bytes; a first text of one byte below 5 stands for
// that row of the material table, so the calculation gets past the material.
std::array<std::u16string, 5> textsOf(const std::uint8_t* data, std::size_t size) {
    std::array<std::u16string, 5> texts;
    std::size_t field = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size && field < texts.size(); ++i) {
        if (i == size || data[i] == 0xFF) {
            texts[field++] = fuzz::textOf(data + start, i - start);
            start = i + 1;
        }
    }
    if (texts[0].size() == 1 && texts[0][0] < kMaterials.size())
        texts[0] = kMaterials[texts[0][0]].name;
    return texts;
}

void requireSentenceFrame(const std::u16string& sentence, const SpringState& state) {
    require(sentence.starts_with(kBefore) && sentence.ends_with(kAfter));
    const std::size_t between = sentence.find(kBetween);
    require(between != std::u16string::npos);
    const std::u16string_view stiffness =
        std::u16string_view(sentence).substr(kBefore.size(), between - kBefore.size());
    const std::size_t frequencyStart = between + kBetween.size();
    const std::u16string_view frequency = std::u16string_view(sentence).substr(
        frequencyStart, sentence.size() - kAfter.size() - frequencyStart);
    require(stiffness == writeNumber(state.K, u"."));
    require(frequency == writeNumber(state.W, u"."));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto endType = static_cast<EndType>(data[0] % 4);
    const std::array<std::u16string, 5> texts = textsOf(data + 1, size - 1);
    const SpringInputs inputs{texts[0], texts[1], texts[2], texts[3], texts[4]};

    SpringState start;
    start.N2 = inactiveCoils(endType);
    SpringState first = start;
    SpringState second = start;
    const auto outcome = calculate(inputs, first, u".");
    const auto repeated = calculate(inputs, second, u".");
    require(sameState(first, second) && outcome.ok() == repeated.ok());
    if (outcome.ok()) {
        require(outcome.value() == repeated.value());
        requireSentenceFrame(outcome.value(), first);
        require(!(first.K < 0) && !(first.W < 0));
        const NumberReading mass = readNumber(inputs.mass, kUnitSymbols);
        require(mass.value.ok() && !(mass.value.value() < 0));
    } else {
        const FaultKind kind = outcome.error().kind;
        if (kind == FaultKind::UnrecognisedMaterial || kind == FaultKind::InvalidUnit)
            require(sameState(first, start));
        require(outcome.error().kind == repeated.error().kind);
        require(outcome.error().message == repeated.error().message);
        require(!outcome.error().message.empty() && outcome.error().message.ends_with(u"."));
    }
    return 0;
}
