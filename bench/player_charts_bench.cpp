// The player's 22 strip charts on a 1,000,000-record .db1: the chart feed
// (plot_data: every record read and sent to every chart it feeds), into new
// charts as opening a log does and again into charts that hold their points'
// storage already, and a repaint of every chart, beside the same records
// read without charts (the reference), with the process's peak memory after
// each. The feeds and the reference take turns.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/synthetic_log.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/core/player_log.h"
#include "player/gui/analysis_extensions.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/chartitem.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"
#include "player/gui/player_charts.h"

namespace {

constexpr std::int64_t kRecords = 1'000'000;
constexpr const char* kRateCounter = "records/s";
// Every channel a VXM log's charts take: 20 of the 22 charts are fed.
const std::vector<std::uint8_t> kIds = {0, 1, 3, 7, 9, 10, 11, 12, 13, 15, 17, 18, 48, 90, 91, 92, 93, 94, 95};

std::string g_dir;
std::string g_name;

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

bool generate_log() {
    return korv::bench::write_synthetic_log(g_dir + g_name, kIds, kRecords, korv::bench::player_bench_value);
}

// One playback frame with the analysis, the log open, for the whole run.
struct Player {
    korv::platform::ScriptedFileChooser chooser;
    korv::player::EditorPool editors;
    korv::player::AnalysisExtensions extensions;
    korv::player::PlayerServices services;
    std::unique_ptr<PLAYframe> frame;

    Player() {
        services.file_chooser = &chooser;
        services.editors = &editors;
        services.extensions = &extensions;
        frame = std::make_unique<PLAYframe>(services);
        frame->theFileDir = QString::fromStdString(g_dir);
        frame->theFile = QString::fromStdString(g_name);
        frame->recall_cfg1();
    }
    korv::player::PlayerCharts& charts() {
        return static_cast<korv::player::PlayerAnalysis&>(frame->analysis()).charts();
    }
};
std::unique_ptr<Player> g_player;

void BM_ReadOnly(benchmark::State& state) {
    korv::player::PlayerLog log;
    if (auto error = log.open(g_dir + g_name, korv::player::LogFileType::vxm, korv::FloatOrder::big)) {
        state.SkipWithError(error->c_str());
        return;
    }
    for (auto _ : state) {
        log.point_log_file(0);
        do {
            log.point_log_file(1);
            log.read_log_record();
            benchmark::DoNotOptimize(log.vxm().vxm_rpms);
        } while (log.current_log_record() < log.log_records());
    }
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(kRecords));
}

// A new player for each feed: its charts have no storage yet. Making the
// player (and letting the last one go, so one set of points is held at a
// time) is not timed.
void BM_PlotDataFirst(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_player.reset();
        g_player = std::make_unique<Player>();
        state.ResumeTiming();
        g_player->frame->reset_charts();
        g_player->frame->plot_data();
    }
    if (g_player->charts().chart(1)->model().points().size() != static_cast<std::size_t>(kRecords)) {
        state.SkipWithError("the RPM chart did not get a point per record");
        return;
    }
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(kRecords));
}

void BM_PlotData(benchmark::State& state) {
    PLAYframe& frame = *g_player->frame;
    for (auto _ : state) {
        frame.reset_charts();
        frame.plot_data();
    }
    if (g_player->charts().chart(1)->model().points().size() != static_cast<std::size_t>(kRecords)) {
        state.SkipWithError("the RPM chart did not get a point per record");
        return;
    }
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(kRecords));
    state.counters["peak_rss_MiB"] = static_cast<double>(peak_rss_mib());
}

// Every chart switched on, each painted at four places in the log.
void BM_RepaintCharts(benchmark::State& state) {
    korv::player::PlayerCharts& charts = g_player->charts();
    // The runs take turns in any order: the charts may not have been fed yet.
    if (charts.manager() == nullptr || charts.chart(1)->model().points().empty()) {
        g_player->frame->reset_charts();
        g_player->frame->plot_data();
    }
    chartcontrolp& manager = *charts.manager();
    for (int slot = 1; slot <= korv::player::kMaxCharts; ++slot) {
        if (manager.button_flag[slot]->isEnabled() && !manager.is_on(slot)) manager.setbutton(slot);
    }
    QImage image(korv::StripChartModel::kDefaultWidth, korv::StripChartModel::kDefaultHeight, QImage::Format_RGB32);
    const std::int64_t places[] = {kRecords / 4, kRecords / 2, 3 * kRecords / 4, kRecords};
    std::int64_t painted = 0;
    for (auto _ : state) {
        for (std::int64_t place : places) {
            for (int slot = 1; slot <= korv::player::kMaxCharts; ++slot) {
                chartitem* chart = charts.chart(slot);
                if (!chart->isVisible()) continue;
                chart->model().set_curr_record(place);
                chart->paint();
                chart->render(&image);
                ++painted;
            }
        }
    }
    state.counters["charts_painted"] = static_cast<double>(painted);
}

// Many short turns each, so that a busy spell of the machine falls on all three alike.
BENCHMARK(BM_ReadOnly)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(15);
BENCHMARK(BM_PlotData)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(15);
BENCHMARK(BM_PlotDataFirst)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(15);
BENCHMARK(BM_RepaintCharts)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (!korv::bench::initialize_taking_turns(argc, argv)) return 1;
    g_dir = std::filesystem::temp_directory_path().string() + "/";
    g_name = "player_charts_bench_" + std::to_string(::getpid()) + ".db1";
    std::printf("generating %lld records of %zu channels in %s%s\n", static_cast<long long>(kRecords), kIds.size(),
                g_dir.c_str(), g_name.c_str());
    if (!generate_log()) return 1;
    const long rss_before = peak_rss_mib();

    int status = 0;
    {
        g_player = std::make_unique<Player>();
        if (!g_player->frame->log().is_open()) {
            std::fprintf(stderr, "the log did not open\n");
            status = 1;
        } else {
            korv::bench::RealSecondsKeeper reporter;
            benchmark::RunSpecifiedBenchmarks(&reporter);
            const char* feed = "BM_PlotData/iterations:2/repeats:15/real_time";
            const char* first = "BM_PlotDataFirst/iterations:2/repeats:15/real_time";
            const char* read = "BM_ReadOnly/iterations:2/repeats:15/real_time";
            if (reporter.figure(feed) && reporter.figure(first) && reporter.figure(read)) {
                std::printf(
                    "chart feed of %lld records: %.3f s into new charts, %.3f s again; the same records read "
                    "without charts (reference): %.3f s\n",
                    static_cast<long long>(kRecords), *reporter.figure(first), *reporter.figure(feed),
                    *reporter.figure(read));
            }
            if (const auto paint = reporter.figure("BM_RepaintCharts/real_time")) {
                std::printf("repainting the shown charts at 4 places: %.2f ms\n", *paint * 1000.0);
            }
            const double points_mib = 20.0 * static_cast<double>(kRecords) * 4 / (1024.0 * 1024.0);
            const long rss_after = peak_rss_mib();
            std::printf(
                "peak memory: %ld MiB before the feed, %ld MiB after; the points themselves (20 charts x 4 bytes "
                "per record, reference): %.0f MiB\n",
                rss_before, rss_after, points_mib);
            // Goals: at most 2, 2 and 1.2.
            korv::bench::print_figure("player_charts_first_over_read", reporter.ratio(first, read));
            korv::bench::print_figure("player_charts_over_read", reporter.ratio(feed, read));
            // What the feed added to the peak, over the points it keeps.
            korv::bench::print_figure("player_charts_peak_over_points",
                                      static_cast<double>(rss_after - rss_before) / points_mib);
        }
        g_player.reset();
    }
    std::filesystem::remove(g_dir + g_name);
    benchmark::Shutdown();
    return status;
}
