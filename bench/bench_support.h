#pragma once

// Pieces the benchmarks share: a rate counter, a stopwatch, console reporters
// that keep one figure of each finished run for the summary printed after the
// runs, and the closing figure lines.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korv::bench {

// Initializes the library with the repetitions of all benchmarks taking
// turns (a flag given on the command line still wins): a figure that is the
// ratio of two benchmarks then sees the machine's slower and quicker moments
// fall on both alike. False on an argument the library does not know.
inline bool initialize_taking_turns(int argc, char** argv) {
    static char take_turns[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + (argc > 0 ? 1 : 0), take_turns);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

// Sets `counter` to the units handled per second over all iterations.
inline void set_rate(benchmark::State& state, const char* counter, double units_per_pass) {
    state.counters[counter] =
        benchmark::Counter(static_cast<double>(state.iterations()) * units_per_pass, benchmark::Counter::kIsRate);
}

// Prints the usual console table; keeps, by benchmark name (as in
// "BM_Read/real_time"), the figure `pick` gives for every run that did not fail.
class FigureKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (const std::optional<double> figure = pick(run)) figures[run.benchmark_name()] = *figure;
        }
    }

    std::map<std::string, double> figures;

    // The run's figure; with repetitions, their median.
    std::optional<double> figure(const std::string& name) const {
        auto it = figures.find(name + "_median");
        if (it == figures.end()) it = figures.find(name);
        if (it == figures.end()) return std::nullopt;
        return it->second;
    }
    // numerator / denominator, when both runs finished and the denominator is positive.
    std::optional<double> ratio(const std::string& numerator, const std::string& denominator) const {
        const std::optional<double> top = figure(numerator);
        const std::optional<double> bottom = figure(denominator);
        if (!top || !bottom || *bottom <= 0) return std::nullopt;
        return *top / *bottom;
    }

protected:
    virtual std::optional<double> pick(const Run& run) const = 0;
};

// Keeps the value of one user counter (a rate set through set_rate).
class CounterKeeper : public FigureKeeper {
public:
    explicit CounterKeeper(std::string counter) : counter_(std::move(counter)) {}

protected:
    std::optional<double> pick(const Run& run) const override {
        const auto it = run.counters.find(counter_);
        if (it == run.counters.end()) return std::nullopt;
        return it->second.value;
    }

private:
    std::string counter_;
};

// Keeps the wall-clock time of one iteration, in seconds whatever the run's unit.
class RealSecondsKeeper : public FigureKeeper {
protected:
    std::optional<double> pick(const Run& run) const override {
        return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
};

// Milliseconds f() takes on the steady clock.
template <typename F>
double time_ms(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Keeps in `fastest` the least time noted under each name.
inline void note_fastest(std::map<std::string, double>& fastest, const std::string& name, double ms) {
    auto [it, fresh] = fastest.emplace(name, ms);
    if (!fresh) it->second = std::min(it->second, ms);
}

// The figure kept for the first benchmark whose name begins with `prefix`
// (names carry suffixes such as "/iterations:1/manual_time").
inline std::optional<double> figure_of(const std::map<std::string, double>& figures, const std::string& prefix) {
    const auto it = figures.lower_bound(prefix);
    if (it == figures.end() || it->first.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    return it->second;
}

// One closing line a script can read: "figure NAME VALUE", or
// "figure NAME skipped" when the run could not measure it.
inline void print_figure(const char* name, std::optional<double> value, int decimals = 3) {
    if (value)
        std::printf("figure %s %.*f\n", name, decimals, *value);
    else
        std::printf("figure %s skipped\n", name);
}

}  // namespace korv::bench
