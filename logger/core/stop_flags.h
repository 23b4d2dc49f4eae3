#pragma once

#include <atomic>

// The stop flags the logging engines poll: 1 run, 2 pause, 0 stop. They are
// plain ints because the library reads them through a pointer; every access
// on this side goes through std::atomic_ref, as the library's reads are
// atomic loads.
namespace korv::logger {

inline constexpr int kFlagStop = 0;
inline constexpr int kFlagRun = 1;
inline constexpr int kFlagPause = 2;

inline int load_flag(int& flag) { return std::atomic_ref<int>(flag).load(); }
inline void store_flag(int& flag, int value) { std::atomic_ref<int>(flag).store(value); }

// Run becomes pause and pause becomes run, in one atomic step; a stopped
// run (0) stays stopped even when its engine ends between the read and the
// write. Any other value counts as run. Returns the value written, or
// kFlagStop when the flag was left alone.
inline int toggle_pause(int& flag) {
    std::atomic_ref<int> ref(flag);
    int seen = ref.load();
    while (seen != kFlagStop) {
        const int next = seen == kFlagPause ? kFlagRun : kFlagPause;
        if (ref.compare_exchange_weak(seen, next)) return next;
    }
    return kFlagStop;
}

}  // namespace korv::logger
