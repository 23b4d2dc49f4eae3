#pragma once
// The acquisition engine: every exchange on the box link runs under its
// mutex. While held (a capture running, the DRB II sheet open) its poll
// thread cycles the sample hub and tells the GUI thread after each complete
// cycle; while idle it cycles a fixed list of request bytes that keeps the
// link state and the rate current.
#include "boxlogger/core/sample_store.h"
#include "boxlogger/core/serial_port.h"
#include "boxlogger/core/variable_list.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace korv::boxlogger {

class CLinkEngine {
public:
    // Runs on the poll thread after each complete hub cycle while held; it
    // posts to the GUI thread and returns.
    using CycleCallback = std::function<void()>;

    static constexpr std::uint8_t kIdleCodes[8] = {0xC1, 0x42, 0xB3, 0x54, 0xA5, 0x66, 0x97, 0x78};
    static constexpr std::int64_t kRetryPauseUs = 500'000;
    static constexpr std::int64_t kReadCodeGiveUpUs = 7'000'000;
    static constexpr std::int64_t kReadCodeDoneUs = 3'000'000;
    static constexpr std::int64_t kSendCommandGiveUpUs = 2'000'000;

    explicit CLinkEngine(CSerialPort& port);
    // Stops and joins the poll thread, then lets go of the port.
    virtual ~CLinkEngine();
    CLinkEngine(const CLinkEngine&) = delete;
    CLinkEngine& operator=(const CLinkEngine&) = delete;

    // One step of the poll loop; returns link up.
    int PollStep();
    // One exchange of the given list under the engine mutex; 1 when it completed.
    int PollObject(CVariableList& list);
    // Hold and Release never wait (the GUI thread calls them). An
    // unbalanced Release leaves the engine idle; neither undoes a stop.
    void Hold();
    void Release();
    // One long-waiting exchange for a command id: 1 done, 0 refused or failed.
    int ReadCode(int channel_id);
    // The frame 0xE0 a b 0xE1, each byte confirmed by the box: 1 done, 0 failed.
    int SendCommand(int a, int b);

    // The poll thread: PollStep back to back while the link works, every
    // 500 ms while it does not.
    void StartPollThread(CycleCallback on_cycle);
    // For good: the engine polls nothing afterwards and starts no thread again.
    void StopPollThread();

    int link_up() const { return link_up_.load(); }
    float rate() const { return rate_.load(); }
    int hold_count() const { return hold_counter_.load(); }
    CSampleHub& hub() { return hub_; }
    CVariableList& idle_list() { return idle_list_; }
    CSerialPort& port() { return port_; }
    LinkMutex& engine_mutex() { return mutex_; }

private:
    void restart_rate_window_locked();
    void update_rate_locked();
    void poll_thread_main();

    CSerialPort& port_;
    LinkMutex mutex_;
    CSampleHub hub_;
    CVariableList idle_list_;
    CVariable* ecu_id_ = nullptr;
    CVariable* module_id_ = nullptr;
    std::int64_t rate_window_start_ = 0;
    int step_count_ = 0;
    std::atomic<float> rate_{0.0f};
    std::atomic<int> hold_counter_{0};
    std::atomic<int> link_up_{0};

    CycleCallback on_cycle_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace korv::boxlogger
