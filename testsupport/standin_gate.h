#pragma once
// The gate a stand-in library's call can be held at until the test lets it
// go, and the lock that also guards the stand-in's scripted answers.
#include <condition_variable>
#include <mutex>

namespace korv::testsupport {

class StandinGate {
public:
    std::mutex lock;

    void hold(bool on) {
        const std::lock_guard<std::mutex> guard(lock);
        hold_ = on;
        released_.notify_all();
    }

    // Whether a call is waiting at the gate now.
    bool waiting() {
        const std::lock_guard<std::mutex> guard(lock);
        return waiting_;
    }

    // Waits while held; `held` holds `lock`.
    void pass(std::unique_lock<std::mutex>& held) {
        waiting_ = true;
        released_.wait(held, [this] { return !hold_; });
        waiting_ = false;
    }

private:
    std::condition_variable released_;
    bool hold_ = false;
    bool waiting_ = false;
};

}  // namespace korv::testsupport
