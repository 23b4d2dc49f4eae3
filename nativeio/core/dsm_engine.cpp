// The DSM logging engine of cable 4: one exchange per channel row, cycle
// after cycle, into the sample dump kvt2.tmp, with a rate report every 5 s.
#include "nativeio/core/dsm_engine.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/host.h"
#include "nativeio/core/logger_dump.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/core/stop_flag_watch.h"
#include "nativeio/include/korvio_files.h"
#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <climits>
#include <optional>

namespace korv::korvio {
namespace {

constexpr const korvio_files::LoggerDumpFile& kDump = korvio_files::kDsmDump;
constexpr int kSampleSize = kDump.sample_bytes();  // id, value
// Failures net of successes: this many cut a cycle short...
constexpr int kFailuresPerCycle = 10;
// ...and this many at the end of a pass end the run.
constexpr int kFailuresPerRun = 3;
constexpr std::int64_t kRateReportMs = 5000;
// A pass that sends nothing still must not spin.
constexpr std::int64_t kIdlePassUs = 10'000;
constexpr int kAnnouncementCable = -1;
// Sent on leaving a pause.
constexpr std::uint8_t kStartByte = 0x07;
constexpr std::uint8_t kStartByteWithoutItems = 0xFF;

std::int64_t now_ms() { return platform::clock().now_ms(); }

class DsmRun {
public:
    DsmRun(const LoggingRun& run, const korvio_host& host, std::vector<DsmRow> rows)
        : run_(run), host_(host), flag_(host, StopFlagFamily::Drb), rows_(std::move(rows)) {}

    int log(LoggerDump& dump);

private:
    // The value taken last, not yet known to be the ECU's.
    struct Unconfirmed {
        std::size_t row;
        std::uint8_t value;
    };

    // Polls every row once; false when the failures cut the cycle short.
    bool poll_rows(LoggerDump& dump);
    // What an exchange saw decides the value taken before it: kept (which
    // may end the cycle before), or dropped, giving its row to ask again.
    std::optional<std::size_t> judge_unconfirmed(LoggerDump& dump, bool spoilt);
    void keep(LoggerDump& dump, const Unconfirmed& taken);
    // Ends the cycle just polled, at once or with its last value.
    void end_cycle(LoggerDump& dump, bool complete);
    // Before a pause or the end of the run: the last value is judged by
    // whether anything follows it on the line.
    void settle_last(LoggerDump& dump);
    void report_rate();
    void follow_flag();

    const LoggingRun& run_;
    const korvio_host& host_;
    StopFlagWatch flag_;
    std::vector<DsmRow> rows_;
    int failures_ = 0;
    std::optional<Unconfirmed> unconfirmed_;
    bool cycle_waits_ = false;     // the cycle before is whole but for judging its last value
    bool line_unsettled_ = false;  // the next exchange waits for a quiet line first
    int dump_result_ = kDone;      // of the dump's latest write
    int result_ = kDone;           // of the last exchange
    int last_failure_ = kDone;     // of the last exchange that failed
    long long samples_ = 0;        // since the last rate report
    std::int64_t rate_since_ms_ = 0;
};

// The link has no check byte: a value is kept only once the exchange after
// it found nothing of its answer left on the line. A byte added inside an
// answer shows there, as the rest of that answer coming ahead of the next
// echo; on a sound line the check costs no time.
bool DsmRun::poll_rows(LoggerDump& dump) {
    std::size_t i = 0;
    // The last row of the cycle before is asked again: its value was spoilt.
    bool again_before = false;
    while (again_before || i < rows_.size()) {
        const std::size_t asked = again_before ? rows_.size() - 1 : i;
        DsmRow& row = rows_[asked];
        std::uint8_t value = 0;
        bool earlier_spoilt = false;
        result_ = dsm_exchange(run_.port, row.address, &value, line_unsettled_, &earlier_spoilt);
        line_unsettled_ = result_ != kDone || earlier_spoilt;
        if (const std::optional<std::size_t> again = judge_unconfirmed(dump, earlier_spoilt)) {
            // The row before is asked again first, then this one.
            last_failure_ = kReplyRanOut;
            if (++failures_ >= kFailuresPerCycle) return false;
            if (cycle_waits_)
                again_before = true;
            else
                i = *again;
            continue;
        }
        if (result_ == kDone) {
            unconfirmed_ = Unconfirmed{asked, value};
            if (again_before)
                again_before = false;
            else
                ++i;
            continue;
        }
        // Every failure counts, the positive step codes too: a silent
        // ECU must end the run rather than fill it with unread samples.
        last_failure_ = result_;
        if (row.address == kDsmRpmAddress) row.address = kDsmRpmFallbackAddress;
        if (++failures_ >= kFailuresPerCycle) return false;
    }
    return true;
}

std::optional<std::size_t> DsmRun::judge_unconfirmed(LoggerDump& dump, bool spoilt) {
    if (!unconfirmed_) return std::nullopt;
    const Unconfirmed taken = *unconfirmed_;
    unconfirmed_.reset();
    if (!spoilt) {
        keep(dump, taken);
        return std::nullopt;
    }
    return taken.row;
}

void DsmRun::keep(LoggerDump& dump, const Unconfirmed& taken) {
    const int id = rows_[taken.row].id;
    const std::uint8_t sample[kSampleSize] = {static_cast<std::uint8_t>(id), taken.value};
    dump.add(sample);
    ++samples_;
    // A success only once it is known to be one.
    if (failures_ > 0) --failures_;
    if (run_.chart_flag == 1) host_.plot_point(host_.object, run_.cable, run_.port, 0, taken.value, id);
    if (cycle_waits_) {
        cycle_waits_ = false;
        dump_result_ = dump.end_cycle(true);
    }
}

void DsmRun::end_cycle(LoggerDump& dump, bool complete) {
    if (complete && unconfirmed_) {
        cycle_waits_ = true;
        return;
    }
    // Cut short: the cycle under way goes, with the cycle before when its
    // last value was still to be judged.
    unconfirmed_.reset();
    cycle_waits_ = false;
    dump_result_ = dump.end_cycle(complete);
}

void DsmRun::settle_last(LoggerDump& dump) {
    if (!unconfirmed_) return;
    if (judge_unconfirmed(dump, dsm_answer_went_on(run_.port))) {
        // Nothing is asked again on the way out: that cycle goes.
        cycle_waits_ = false;
        line_unsettled_ = true;
        dump_result_ = dump.end_cycle(false);
    }
}

void DsmRun::report_rate() {
    const std::int64_t now = now_ms();
    const std::int64_t elapsed = now - rate_since_ms_;
    if (elapsed <= kRateReportMs) return;
    const long long rate = samples_ / (elapsed / 1000);
    host_.update_status(host_.object, rate > INT_MAX ? INT_MAX : static_cast<int>(rate));
    samples_ = 0;
    rate_since_ms_ = now;
}

void DsmRun::follow_flag() {
    if (!flag_.read() || run_.port == kDemoPort) return;
    // What goes wrong here shows in the exchanges that follow.
    SioPutc(run_.port, run_.items.empty() ? kStartByteWithoutItems : kStartByte);
}

int DsmRun::log(LoggerDump& dump) {
    const bool sends = !rows_.empty() && run_.port != kDemoPort;
    rate_since_ms_ = now_ms();
    for (;;) {
        const bool ran = !flag_.paused();
        if (!ran) settle_last(dump);
        const bool complete = ran && poll_rows(dump);
        if (!ran || !sends) platform::serial::pause_until(platform::clock().now_us() + kIdlePassUs);
        if (ran) end_cycle(dump, complete);
        if (dump_result_ != kDone) return dump_result_;
        report_rate();
        // Before a pause or the end of the run is reported, the last value
        // is judged (and charted when kept).
        if (!flag_.still_running() || failures_ >= kFailuresPerRun) settle_last(dump);
        if (dump_result_ != kDone) return dump_result_;
        follow_flag();
        if (failures_ >= kFailuresPerRun) return last_failure_;  // never 0, whatever came last
        if (flag_.stopped()) return result_;
    }
}

}  // namespace

int run_dsm_engine(const LoggingRun& run) {
    std::vector<DsmRow> rows = build_dsm_rows(run.items);
    if (run.mode != kModeRun) return dsm_handshake(run.port);

    if (int r = look_up_engine_host(run.host, StopFlagFamily::Drb, true); r != kDone) return r;
    const korvio_host& host = *run.host;

    // The head names the rows only: the reader cuts the samples by its count.
    std::vector<int> ids;
    for (const DsmRow& row : rows) ids.push_back(row.id);
    LoggerDump dump(kDump.name, kSampleSize);
    if (int r = dump.create(ids); r != kDone) return r;
    if (run.chart_flag == 1)
        for (int id : run.items) host.plot_point(host.object, kAnnouncementCable, 0, 0, 0, id);

    int result = dsm_handshake(run.port);
    if (result == kDone) {
        DsmRun logging(run, host, std::move(rows));
        result = logging.log(dump);
    }
    // Losing samples outweighs any other outcome.
    if (int r = dump.finish(); r != kDone) return r;
    return result;
}

}  // namespace korv::korvio
