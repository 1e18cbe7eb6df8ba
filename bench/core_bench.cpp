// The core's costs: one calculation from texts to sentence, and the reading rule on short
// texts and on long ones, whose cost must grow linearly with their length.

#include "calc/spring.h"
#include "runtime/number_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace tervanel;

void calculationFromTexts(benchmark::State& state) {
    const SpringInputs inputs{u"Aceros aleados", u"8", u"0,012", u"0,1", u"400"};
    for (auto _ : state) {
        SpringState spring;
        spring.N2 = inactiveCoils(EndType::SquaredAndGround);
        auto result = calculate(inputs, spring, u",");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(calculationFromTexts);

void readShortNumber(benchmark::State& state) {
    for (auto _ : state) {
        auto result = readNumber(u"0,012");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(readShortNumber);

// A long decimal with blanks among its digits, as a pasted column of figures might be.
std::u16string longNumber(std::size_t length) {
    std::u16string text = u"0,";
    while (text.size() < length)
        text += u"123456789 ";
    text.resize(length);
    return text;
}

void readLongNumber(benchmark::State& state) {
    const std::u16string text = longNumber(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto result = readNumber(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(readLongNumber)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
