// Every build must compute the same bits: at -O0 and -O2, under the sanitizers, with every
// compiler. The recorded digest holds the outcome of thousands of generated calculations and
// readings; a build that differs in a single bit fails here, naming the line.
//
// To record it again after an intended change of results:
//   TERVANEL_RECORD_DIGEST=$PWD/tests/data/results_digest.txt build/test/tests/calc_tests

#include "calc/spring.h"
#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tervanel {
namespace {

constexpr int kCalculations = 1500;
constexpr int kReadings = 1500;

// std::mt19937_64's output is fixed by the standard; its distributions are not, so the texts
// are built from raw draws only.
class TextMaker {
public:
    std::uint64_t draw(std::uint64_t bound) { return random_() % bound; }
    std::size_t drawIndex(std::size_t bound) { return static_cast<std::size_t>(draw(bound)); }

    // A decimal number of 1 to 17 digits times a power of ten in [minExponent, maxExponent].
    std::string number(int minExponent, int maxExponent) {
        std::string text = draw(5) == 0 ? "-" : "";
        text += std::to_string(random_() % 100'000'000'000'000'000ull);
        text.resize(text.size() - drawIndex(text.size() > 1 ? text.size() - 1 : 1));
        const auto span = static_cast<std::uint64_t>(maxExponent - minExponent) + 1;
        text += 'e';
        text += std::to_string(minExponent + static_cast<int>(draw(span)));
        if (draw(4) == 0)
            text.insert(drawIndex(text.size()) + 1, 1, ' ');
        return text;
    }

private:
    std::mt19937_64 random_{20261211};
};

std::u16string widen(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string bitsOf(double value) {
    std::ostringstream out;
    out << std::hex << std::bit_cast<std::uint64_t>(value);
    return out.str();
}

// Each draw in a statement of its own: the order in which the operands of one expression are
// evaluated differs between compilers, and so would the texts.
std::string coilsText(TextMaker& maker) {
    if (maker.draw(5) == 0)
        return maker.number(-2, 4);
    const bool half = maker.draw(3) == 0;
    std::string text = std::to_string(maker.draw(40));
    if (half)
        text += ".5";
    return text;
}

std::string calculationLine(TextMaker& maker) {
    const bool realistic = maker.draw(2) == 0;
    const std::string texts[] = {
        coilsText(maker),
        realistic ? maker.number(-4, -2) : maker.number(-200, 200),
        realistic ? maker.number(-3, -1) : maker.number(-200, 200),
        realistic ? maker.number(0, 3) : maker.number(-300, 300),
    };
    const std::size_t material = maker.drawIndex(kMaterials.size() + 1);
    SpringInputs inputs{material < kMaterials.size() ? kMaterials[material].name
                                                     : std::u16string_view(u"Acero"),
                        u"", u"", u"", u""};
    const std::u16string coils = widen(texts[0]);
    const std::u16string d = widen(texts[1]);
    const std::u16string D = widen(texts[2]);
    const std::u16string m = widen(texts[3]);
    inputs.coils = coils;
    inputs.wireDiameter = d;
    inputs.meanDiameter = D;
    inputs.mass = m;

    SpringState state;
    state.N2 = inactiveCoils(static_cast<EndType>(maker.draw(4)));
    const auto outcome = calculate(inputs, state, u".");
    std::ostringstream line;
    line << material << '|' << state.N2 << '|' << texts[0] << '|' << texts[1] << '|' << texts[2]
         << '|' << texts[3] << " -> " << state.N << '|' << bitsOf(state.K) << '|' << bitsOf(state.W)
         << '|'
         << (outcome.ok() ? std::string("ok")
                          : std::to_string(static_cast<int>(outcome.error().kind)));
    return line.str();
}

std::string readingLine(TextMaker& maker) {
    const std::string text = maker.number(-340, 320);
    const Result<double> read = readNumber(widen(text));
    return text + " -> " +
           (read.ok() ? bitsOf(read.value()) + '|' + narrow(writeNumber(read.value(), u"."))
                      : std::string("overflow"));
}

std::vector<std::string> digest() {
    TextMaker maker;
    std::vector<std::string> lines;
    lines.reserve(kCalculations + kReadings);
    for (int i = 0; i < kCalculations; ++i)
        lines.push_back(calculationLine(maker));
    for (int i = 0; i < kReadings; ++i)
        lines.push_back(readingLine(maker));
    return lines;
}

TEST(ResultsDigest, EveryBuildComputesTheRecordedBits) {
    const std::vector<std::string> lines = digest();
    if (const char* path = std::getenv("TERVANEL_RECORD_DIGEST")) {
        std::ofstream out(path);
        for (const std::string& line : lines)
            out << line << '\n';
        GTEST_SKIP() << "recorded " << path;
    }
    std::ifstream in(TERVANEL_DIGEST_FILE);
    ASSERT_TRUE(in) << TERVANEL_DIGEST_FILE;
    std::size_t number = 0;
    for (std::string recorded; std::getline(in, recorded); ++number) {
        ASSERT_LT(number, lines.size());
        ASSERT_EQ(lines[number], recorded) << "line " << number + 1;
    }
    EXPECT_EQ(number, lines.size());
}

} // namespace
} // namespace tervanel
