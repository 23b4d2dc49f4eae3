// The loop the OBD-II engines share: set-up, the polling cycles, the
// callbacks and the sample dump.
#include "nativeio/core/obd_engine.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/host.h"
#include "nativeio/core/logger_dump.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/stop_flag_watch.h"
#include "nativeio/include/korvio_files.h"
#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <climits>

namespace korv::korvio {
namespace {

constexpr const korvio_files::LoggerDumpFile& kDump = korvio_files::kObdDump;
constexpr int kSampleSize = kDump.sample_bytes();
constexpr int kFailuresPerCycle = 3;
constexpr int kNoDataPerRow = 3;
// Cycles in a row a row may end that way before the first cycle is kept
// and still stay in the run.
constexpr int kNoDataCyclesPerRow = 3;
// A pass that sends nothing still must not spin.
constexpr std::int64_t kIdlePassUs = 10'000;
constexpr int kAnnouncementCable = -2;

std::unique_ptr<ObdLink> make_link(int cable, int port, const std::vector<int>& items) {
    switch (cable) {
    case 0: return make_cable0_link(port, items);
    case 1: return make_cable1_link(port, items);
    case 2: return make_cable2_link(port, items);
    default: return make_cable3_link(port, items);
    }
}

int status_count(long long count, std::size_t rows) {
    const long long n = count * static_cast<long long>(rows);
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

class ObdRun {
public:
    ObdRun(const LoggingRun& run, ObdLink& link, const korvio_host& host)
        : run_(run), link_(link), host_(host), flag_(host, StopFlagFamily::Obd) {}

    int log(LoggerDump& dump);

private:
    struct Cycle {
        bool ran = false;
        bool complete = false;
        int failures = 0;
        long long successes = 0;
        int no_data_row = -1;  // the row whose missing data ended the cycle
    };

    Cycle poll_rows(LoggerDump& dump);
    // A channel the car never supplies would drop every cycle: before the
    // first cycle is kept, a row that keeps ending them leaves the run and
    // the dump begins anew without it. 0 to go on, else the run's result.
    int drop_unsupplied_row(const Cycle& cycle, LoggerDump& dump);
    // Reads the flag and, on leaving a pause, sends the start again. The
    // failure of a resume ends the run.
    int follow_flag();
    void report_status(const Cycle& cycle);

    const LoggingRun& run_;
    ObdLink& link_;
    const korvio_host& host_;
    StopFlagWatch flag_;
    int result_ = kDone;
    long long cycles_ = 0;
    long long successes_ = 0;          // in kept cycles
    std::vector<int> no_data_cycles_;  // per row, cycles it ended in a row
};

ObdRun::Cycle ObdRun::poll_rows(LoggerDump& dump) {
    Cycle cycle;
    if (flag_.paused()) return cycle;
    cycle.ran = true;
    const auto& rows = link_.rows();
    const bool charts = run_.cable == 1 && run_.chart_flag == 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        int no_data = 0;
        for (;;) {
            ObdSample sample;
            result_ = link_.exchange(i, &sample);
            if (result_ == kDone) {
                const std::uint8_t bytes[kSampleSize] = {static_cast<std::uint8_t>(rows[i].id), sample.a, sample.b};
                dump.add(bytes);
                no_data_cycles_[i] = 0;
                if (run_.cable == 1) {
                    ++cycle.successes;
                    if (charts) host_.plot_point(host_.object, run_.cable, run_.port, sample.a, sample.b, rows[i].id);
                }
                break;
            }
            // A parameter the car never supplies must not hold the cycle
            // for ever: the cycle is dropped and the run goes on (see
            // drop_unsupplied_row).
            if (sample.no_data) {
                if (++no_data < kNoDataPerRow) continue;
                cycle.no_data_row = static_cast<int>(i);
                return cycle;
            }
            if (++cycle.failures == kFailuresPerCycle) return cycle;
        }
    }
    cycle.complete = true;
    ++cycles_;
    successes_ += cycle.successes;
    return cycle;
}

int ObdRun::drop_unsupplied_row(const Cycle& cycle, LoggerDump& dump) {
    // Once cycles are kept the head stays: the row's cycles are dropped.
    if (cycle.no_data_row < 0 || cycles_ > 0) return kDone;
    const auto row = static_cast<std::size_t>(cycle.no_data_row);
    if (++no_data_cycles_[row] < kNoDataCyclesPerRow) return kDone;
    link_.drop_row(row);
    no_data_cycles_.erase(no_data_cycles_.begin() + cycle.no_data_row);
    std::vector<int> ids;
    for (const ChannelRow& r : link_.rows()) ids.push_back(r.id);
    if (int r = dump.create(ids); r != kDone) return r;
    return ids.empty() ? kPortClosed : kDone;  // nothing left to log: the no-data code
}

void ObdRun::report_status(const Cycle& cycle) {
    // Cable 0 reports on every pass, also while paused; the others after
    // each cycle. Cable 1 counts successful exchanges, the others cycles,
    // both of kept cycles only.
    if (!cycle.ran && run_.cable != 0) return;
    const long long count = run_.cable == 1 ? successes_ : cycles_;
    host_.update_status(host_.object, status_count(count, link_.rows().size()));
}

int ObdRun::follow_flag() {
    bool resume = flag_.read();
    while (resume && flag_.last() == kStopFlagRun) {
        const int r = link_.resume([this] { return flag_.still_running(); });
        if (r == kDone) return kDone;
        if (r != kResumeAbandoned) return r;
        // Paused or stopped again meanwhile: report it and resume later.
        flag_.read();
    }
    return kDone;
}

int ObdRun::log(LoggerDump& dump) {
    const bool sends = !link_.rows().empty() && run_.port != kDemoPort;
    no_data_cycles_.assign(link_.rows().size(), 0);
    for (;;) {
        const Cycle cycle = poll_rows(dump);
        if (!cycle.ran || !sends) platform::serial::pause_until(platform::clock().now_us() + kIdlePassUs);
        report_status(cycle);
        if (cycle.ran) {
            if (int r = dump.end_cycle(cycle.complete); r != kDone) return r;
            if (int r = drop_unsupplied_row(cycle, dump); r != kDone) return r;
        }
        if (int r = follow_flag(); r != kDone) return r;
        if (flag_.stopped() || cycle.failures >= kFailuresPerCycle) return result_;
    }
}

}  // namespace

int run_obd_engine(const LoggingRun& run) {
    const auto link = make_link(run.cable, run.port, run.items);
    if (run.mode != kModeRun) return link->start(run.mode);

    if (int r = link->set_up_run(); r != kDone) return r;
    if (int r = look_up_engine_host(run.host, StopFlagFamily::Obd, run.cable == 1); r != kDone) return r;
    const korvio_host& host = *run.host;

    std::vector<int> ids;
    for (const ChannelRow& row : link->rows()) ids.push_back(row.id);
    LoggerDump dump(kDump.name, kSampleSize);
    if (int r = dump.create(ids); r != kDone) return r;
    link->dump_created();
    if (run.cable == 1 && run.chart_flag == 1)
        for (int id : run.items) host.plot_point(host.object, kAnnouncementCable, 0, 0, 0, id);

    int result = link->start(kModeRun);
    if (result == kDone) {
        ObdRun logging(run, *link, host);
        result = logging.log(dump);
    }
    // Losing samples outweighs any other outcome.
    if (int r = dump.finish(); r != kDone) return r;
    return result;
}

}  // namespace korv::korvio
