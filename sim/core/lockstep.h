#pragma once
// The program under test and the simulated devices on one test clock that
// moves only when both wait. The program's waits sleep on the clock; the
// devices pace their bytes and play their stalls on it. Whenever every
// program thread sleeps and every device has dealt with what it was sent
// (or waits on the clock itself), the clock jumps to the earliest wake-up
// anybody asked for; when a device's answer came in while the program slept,
// the program is woken first, at the same time. Timings are then exact in
// clock time however loaded the machine is, and seconds of silence pass in
// a few real milliseconds.
#include "platform/core/clock.h"
#include "sim/core/peer.h"

#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <vector>

namespace korv::sim {

class Lockstep {
public:
    // program_threads: how many threads of the program must sleep before the
    // clock may move (the work given to run(), or threads the work starts).
    Lockstep(platform::TestClock& clock, std::vector<const Peer*> devices, int program_threads = 1);
    // Lets every held sleeper go; later sleeps move the clock themselves.
    ~Lockstep();
    Lockstep(const Lockstep&) = delete;
    Lockstep& operator=(const Lockstep&) = delete;

    // Moves the clock until done() holds. False when the real-time limit
    // passed first: somebody never waited.
    bool drive_until(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(120));
    // ...until the clock reaches the given time.
    bool drive_to(std::int64_t clock_us);

    // Runs work on a thread of its own, moving the clock until it returns.
    // Throws when it never finishes on the clock (it is then let go first).
    template <typename Work>
    auto run(Work work) {
        auto result = std::async(std::launch::async, std::move(work));
        const bool finished =
            drive_until([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        if (!finished) {
            let_go();
            result.wait();
            throw std::runtime_error("the work never finished on the lockstep clock");
        }
        return result.get();
    }

    // Ends the lockstep early: sleeps move the clock by themselves again.
    void let_go();

private:
    // One decision: moves the clock, or wakes the program for input that
    // came. False when somebody is still busy.
    bool step();

    platform::TestClock& clock_;
    const std::vector<const Peer*> devices_;
    const int program_threads_;
    std::vector<std::uint64_t> sent_seen_;  // per device, at the last decision
    bool let_go_ = false;
};

}  // namespace korv::sim
