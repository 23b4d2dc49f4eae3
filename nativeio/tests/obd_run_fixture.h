#pragma once
// What an OBD-II engine test needs: a host that records its callbacks and
// can steer the stop flag from them (they run on the engine's thread, so a
// run follows the same course every time), and a test clock so time-outs
// pass in a moment.
#include "nativeio/include/korvio.h"
#include "nativeio/tests/slot_fixture.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"
#include "platform/core/clock.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace korv::korvio::testing {

struct HostEvent {
    enum Kind { Status, Pause, Plot } kind;
    std::vector<int> args;
    bool operator==(const HostEvent&) const = default;
};

inline HostEvent status(int n) { return {HostEvent::Status, {n}}; }
inline HostEvent pause(int flag) { return {HostEvent::Pause, {flag}}; }
inline HostEvent plot(int cable, int port, int hi, int lo, int code) {
    return {HostEvent::Plot, {cable, port, hi, lo, code}};
}

class RecordingHost {
public:
    // Called after each update_status with the number of calls so far.
    std::function<void(RecordingHost&, int calls)> on_status;
    std::function<void(RecordingHost&, int flag)> on_pause;
    // Called after each plot_point with its arguments.
    std::function<void(RecordingHost&, const HostEvent&)> on_plot;

    korvio_host host{this, &obd_, &drb_, &pms_, &status_cb, &pause_cb, &plot_cb, &pnkorv_cb};

    // Like the logger, which sets all three flags alike (the DSM engine reads drb).
    void set_flag(int value) {
        for (int* flag : {&obd_, &drb_, &pms_}) std::atomic_ref<int>(*flag).store(value, std::memory_order_release);
    }

    // Stops the run after its n-th update_status.
    void stop_after_status(int n) {
        on_status = [n](RecordingHost& h, int calls) {
            if (calls == n) h.set_flag(0);
        };
    }

    std::vector<HostEvent> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<HostEvent> events_of(HostEvent::Kind kind) const {
        std::vector<HostEvent> picked;
        for (const HostEvent& e : events())
            if (e.kind == kind) picked.push_back(e);
        return picked;
    }

private:
    static RecordingHost& self(void* object) { return *static_cast<RecordingHost*>(object); }
    static void status_cb(void* object, int n) {
        RecordingHost& h = self(object);
        int calls;
        {
            std::lock_guard lock(h.mutex_);
            h.events_.push_back(status(n));
            calls = ++h.status_calls_;
        }
        if (h.on_status) h.on_status(h, calls);
    }
    static void pause_cb(void* object, int flag) {
        RecordingHost& h = self(object);
        {
            std::lock_guard lock(h.mutex_);
            h.events_.push_back(pause(flag));
        }
        if (h.on_pause) h.on_pause(h, flag);
    }
    static void plot_cb(void* object, int cable, int port, int hi, int lo, int code) {
        RecordingHost& h = self(object);
        const HostEvent event = plot(cable, port, hi, lo, code);
        {
            std::lock_guard lock(h.mutex_);
            h.events_.push_back(event);
        }
        if (h.on_plot) h.on_plot(h, event);
    }
    static void pnkorv_cb(void*, int) {}

    int obd_ = 1;
    int drb_ = 1;
    int pms_ = 1;
    mutable std::mutex mutex_;
    std::vector<HostEvent> events_;
    int status_calls_ = 0;
};

// Slots closed afterwards, a test clock, a fresh working directory.
class ObdRunTest : public SlotTest {
protected:
    platform::TestClock clock_{1'000'000'000};
    platform::ScopedClock use_clock_{clock_};
    testsupport::WorkingFolder cwd_;
};

// The dump kvt1.tmp as built by hand: the head, then the samples.
inline std::vector<std::uint8_t> dump_bytes(const std::vector<int>& ids,
                                            const std::vector<std::vector<std::uint8_t>>& samples) {
    const auto n = static_cast<std::uint32_t>(ids.size());
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                    static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
    for (int id : ids) bytes.push_back(static_cast<std::uint8_t>(id));
    for (const auto& s : samples) bytes.insert(bytes.end(), s.begin(), s.end());
    return bytes;
}

template <class T>
std::vector<T> repeated(const std::vector<T>& block, int times) {
    std::vector<T> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), block.begin(), block.end());
    return all;
}

}  // namespace korv::korvio::testing
