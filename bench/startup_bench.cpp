// Start-up against the toolkit's floor: each iteration starts the probe with Tervanel's window,
// with the same controls from a window definition and nothing else, with a bare window of the
// same size, and with that bare window showing one line of text, interleaved so that all see the
// same machine, and measures the time from the start of the process to the window painted, and
// the resident memory then. The counters give each, and Tervanel's ratios to each (1.0 is the
// floor).

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Startup {
    double seconds;
    double residentKiB;
};

Startup startProbe(const char* mode) {
    std::array<int, 2> pipe{};
    if (::pipe(pipe.data()) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe[0]);
    std::string probe = TERVANEL_STARTUP_PROBE;
    std::string modeArgument = mode;
    std::array<char*, 3> argv{probe.data(), modeArgument.data(), nullptr};

    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + probe);

    std::array<char, 128> line{};
    FILE* output = ::fdopen(pipe[0], "r");
    const bool read = std::fgets(line.data(), line.size(), output) != nullptr;
    std::fclose(output);
    int status = 0;
    ::waitpid(pid, &status, 0);
    long long paintedNs = 0;
    long residentKiB = 0;
    if (!read || std::sscanf(line.data(), "%lld %ld", &paintedNs, &residentKiB) != 2)
        throw std::runtime_error("the probe reported nothing; is there a display?");
    const auto startedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
    return {static_cast<double>(paintedNs - startedNs) * 1e-9, static_cast<double>(residentKiB)};
}

void startupAgainstTheFloor(benchmark::State& state) {
    constexpr std::array kModes{"bare", "text", "floor", "form"};
    constexpr std::size_t bare = 0;
    constexpr std::size_t text = 1;
    constexpr std::size_t floor = 2;
    constexpr std::size_t form = 3;
    std::array<Startup, kModes.size()> total{};
    std::vector<double> floorRatios;
    for (auto _ : state) {
        std::array<double, kModes.size()> seconds{};
        for (std::size_t i = 0; i < kModes.size(); ++i) {
            const Startup run = startProbe(kModes[i]);
            total[i] = {total[i].seconds + run.seconds, total[i].residentKiB + run.residentKiB};
            seconds[i] = run.seconds;
        }
        state.SetIterationTime(seconds[form]);
        floorRatios.push_back(seconds[form] / seconds[floor]);
    }
    const auto runs = static_cast<double>(state.iterations());
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        const std::string mode = kModes[i];
        state.counters[mode + "_ms"] = total[i].seconds / runs * 1e3;
        state.counters[mode + "_rss_KiB"] = total[i].residentKiB / runs;
    }
    state.counters["time_ratio"] = total[form].seconds / total[bare].seconds;
    state.counters["rss_ratio"] = total[form].residentKiB / total[bare].residentKiB;
    state.counters["time_ratio_text"] = total[form].seconds / total[text].seconds;
    state.counters["rss_ratio_text"] = total[form].residentKiB / total[text].residentKiB;
    // The floor is close, so its ratio is taken run by run, against the floor started just
    // before, and the median kept: a busy moment of the machine then spoils one pair, not all.
    std::nth_element(floorRatios.begin(), floorRatios.begin() + std::ssize(floorRatios) / 2,
                     floorRatios.end());
    state.counters["time_ratio_floor"] = floorRatios[floorRatios.size() / 2];
    state.counters["rss_ratio_floor"] = total[form].residentKiB / total[floor].residentKiB;
}
BENCHMARK(startupAgainstTheFloor)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
