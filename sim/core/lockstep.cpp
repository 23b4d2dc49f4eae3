#include "sim/core/lockstep.h"

#include "sim/core/clock_wait.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace korv::sim {

Lockstep::Lockstep(platform::TestClock& clock, std::vector<const Peer*> devices, int program_threads)
    : clock_(clock), devices_(std::move(devices)), program_threads_(program_threads), sent_seen_(devices_.size()) {
    for (std::size_t i = 0; i < devices_.size(); ++i) sent_seen_[i] = devices_[i]->sent_count();
    clock_.hold_sleeps();
    clock_.set_lockstep(true);
}

Lockstep::~Lockstep() { let_go(); }

void Lockstep::let_go() {
    if (let_go_) return;
    let_go_ = true;
    clock_.set_lockstep(false);
    clock_.release_sleeps();
}

bool Lockstep::step() {
    const std::vector<platform::TestClock::HeldSleeper> sleepers = clock_.held_sleepers();
    auto is_device_thread = [&](std::thread::id thread) {
        return std::any_of(devices_.begin(), devices_.end(),
                           [&](const Peer* device) { return device->runs_on(thread); });
    };

    // A held sleep lasts until the clock moves. A device's waits are looked
    // at as they are now, and its threads' wake-up times below after that:
    // a wait that began meanwhile is counted, one that was due and ended is
    // not taken for a wait.
    const auto program_asleep =
        std::count_if(sleepers.begin(), sleepers.end(), [&](const auto& s) { return !is_device_thread(s.thread); });
    if (program_asleep < program_threads_) return false;
    for (const Peer* device : devices_)
        if (!waits_on_clock(device->thread_id()) && !device->settled()) return false;

    // An answer came while the program slept: it reads it at this time.
    bool woken = false;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        const std::uint64_t sent = devices_[i]->sent_count();
        if (sent != sent_seen_[i] && devices_[i]->program_input_waiting()) woken = true;
        sent_seen_[i] = sent;
    }
    if (woken) {
        clock_.wake_held_sleepers();
        return true;
    }

    std::int64_t wake = std::numeric_limits<std::int64_t>::max();
    for (const auto& s : clock_.held_sleepers()) wake = std::min(wake, s.wake_at_us);
    for (const ClockWatch& w : clock_watches()) wake = std::min(wake, w.deadline_us);
    // A watch already due sees it by itself.
    if (wake <= clock_.now_us()) return false;
    clock_.set_us(wake);
    return true;
}

bool Lockstep::drive_until(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto give_up = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        if (!step()) std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    return true;
}

bool Lockstep::drive_to(std::int64_t clock_us) {
    return drive_until([&] { return clock_.now_us() >= clock_us; });
}

}  // namespace korv::sim
