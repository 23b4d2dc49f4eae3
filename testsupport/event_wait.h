#pragma once
// Runs the GUI thread's events until a condition holds or a limit passes.
#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

namespace korv::testsupport {

inline bool run_events_until(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto give_up = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// As above, then one more round of events, so what the change that met the
// condition posted (a dialog closing, a label set) has arrived too.
inline bool run_events_until_settled(const std::function<bool()>& done,
                                     std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    if (!run_events_until(done, limit)) return false;
    QCoreApplication::processEvents();
    return true;
}

}  // namespace korv::testsupport
