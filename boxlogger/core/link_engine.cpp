#include "boxlogger/core/link_engine.h"

#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

namespace korv::boxlogger {
namespace {
constexpr int kModuleIdChannel = 49;
constexpr int kEcuIdChannel = 50;
}  // namespace

CLinkEngine::CLinkEngine(CSerialPort& port) : port_(port), hub_(port), idle_list_(port) {
    for (std::uint8_t code : kIdleCodes) idle_list_.table().AddCode(code);
    module_id_ = idle_list_.Acquire(kModuleIdChannel);
    ecu_id_ = idle_list_.Acquire(kEcuIdChannel);
    rate_window_start_ = platform::clock().now_us();
    port_.SetEngineMutex(&mutex_);
}

CLinkEngine::~CLinkEngine() {
    StopPollThread();
    port_.SetEngineMutex(nullptr);
    std::lock_guard lock(mutex_);
    idle_list_.Release(module_id_);
    idle_list_.Release(ecu_id_);
}

void CLinkEngine::restart_rate_window_locked() {
    rate_window_start_ = platform::clock().now_us();
    step_count_ = 0;
}

void CLinkEngine::update_rate_locked() {
    const std::int64_t now = platform::clock().now_us();
    const std::int64_t elapsed = now - rate_window_start_;
    if (elapsed < CRequestTable::kTickFrequency) return;
    rate_.store(static_cast<float>(step_count_ / (static_cast<double>(elapsed) / CRequestTable::kTickFrequency)));
    rate_window_start_ = now;
    step_count_ = 0;
}

int CLinkEngine::PollStep() {
    bool cycle_complete = false;
    {
        mutex_.lock_after_others();
        std::lock_guard lock(mutex_, std::adopt_lock);
        update_rate_locked();
        const int hold = hold_counter_.load();
        if (hold < 0) {
            link_up_.store(0);
            step_count_ = 0;
            return 0;
        }
        int result;
        // Held with nothing subscribed: keep the link alive on the idle list.
        if (hold == 0 || hub_.empty()) {
            result = idle_list_.Poll();
        } else {
            result = hub_.Poll();
            cycle_complete = result == kCycleComplete;
        }
        link_up_.store(exchange_completed(result) ? 1 : 0);
        ++step_count_;
    }
    if (cycle_complete && on_cycle_) on_cycle_();
    return link_up_.load();
}

int CLinkEngine::PollObject(CVariableList& list) {
    std::lock_guard lock(mutex_);
    const int done = exchange_completed(list.Poll()) ? 1 : 0;
    link_up_.store(done);
    ++step_count_;
    return done;
}

// Hold and Release change the counter without the engine lock: the GUI
// thread calls them, and the lock may be held for seconds by a command. A
// poll step reads the counter once, so it polls one list or the other.
void CLinkEngine::Hold() {
    int hold = hold_counter_.load();
    while (hold >= 0 && !hold_counter_.compare_exchange_weak(hold, hold + 1)) {}
}

void CLinkEngine::Release() {
    int hold = hold_counter_.load();
    while (hold > 0 && !hold_counter_.compare_exchange_weak(hold, hold - 1)) {}
}

int CLinkEngine::ReadCode(int channel_id) {
    CVariableList list(port_);
    CVariable* variable = list.Acquire(channel_id);
    if (!variable) return 0;
    int result = 0;
    std::int64_t elapsed = 0;
    {
        std::lock_guard lock(mutex_);
        const std::int64_t start = platform::clock().now_us();
        do {
            result = list.Poll();
            elapsed = platform::clock().now_us() - start;
        } while (result == kShortReply && elapsed < kReadCodeGiveUpUs);
        restart_rate_window_locked();
    }
    // A command the ECU carries out keeps the box echoing alone while it
    // runs; a full reply at once is a refusal unless its data is 0. A
    // one-entry list reports a stored value as a complete cycle.
    const int done = elapsed >= kReadCodeDoneUs || (exchange_completed(result) && variable->Raw() == 0) ? 1 : 0;
    list.Release(variable);
    return done;
}

int CLinkEngine::SendCommand(int a, int b) {
    CRequestTable frame(port_, true);
    const int bytes[4] = {0xE0, a & 0xFF, b & 0xFF, 0xE1};
    const ValueSlot* slots[4];
    for (int i = 0; i < 4; ++i) slots[i] = frame.AddCode(bytes[i]);
    bool done = false;
    {
        std::lock_guard lock(mutex_);
        const std::int64_t start = platform::clock().now_us();
        for (;;) {
            frame.ResetPosition();
            done = true;
            for (int i = 0; i < 4 && done; ++i) {
                const int want = i == 3 ? kCycleComplete : kValueStored;
                done = frame.PollNext() == want && slots[i]->load() == bytes[i];
            }
            const std::int64_t now = platform::clock().now_us();
            if (done || now - start >= kSendCommandGiveUpUs) break;
            // A step between attempts, so a port that fails at once is not spun on.
            platform::serial::wait_step(-1, false, now + platform::serial::kStepRealUs);
        }
        restart_rate_window_locked();
    }
    return done ? 1 : 0;
}

void CLinkEngine::StartPollThread(CycleCallback on_cycle) {
    // A stopped engine stays stopped: the program stops it only on its way out.
    if (thread_.joinable() || hold_counter_.load() < 0) return;
    on_cycle_ = std::move(on_cycle);
    stop_.store(false);
    thread_ = std::thread([this] { poll_thread_main(); });
}

void CLinkEngine::StopPollThread() {
    // For good, whether or not the thread ever ran.
    stop_.store(true);
    hold_counter_.store(-1);
    if (thread_.joinable()) thread_.join();
}

void CLinkEngine::poll_thread_main() {
    while (!stop_.load()) {
        if (PollStep() != 0) continue;
        const std::int64_t deadline = platform::clock().now_us() + kRetryPauseUs;
        while (!stop_.load() && platform::clock().now_us() < deadline) platform::serial::wait_step(-1, false, deadline);
    }
}

}  // namespace korv::boxlogger
