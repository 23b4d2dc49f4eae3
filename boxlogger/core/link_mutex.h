#pragma once
// A mutex the poll thread gives way on. The poll thread retakes its locks
// back to back, and a plain mutex lets it win again and again, starving the
// other threads' calls (the GUI thread subscribing and draining, a worker's
// probe or command). Here the poll thread waits until no other thread is
// queued for the lock before taking it.
#include <atomic>
#include <mutex>
#include <thread>

namespace korv::boxlogger {

class LinkMutex {
public:
    void lock() {
        waiting_.fetch_add(1);
        mutex_.lock();
        waiting_.fetch_sub(1);
    }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }

    // For the poll thread: lets every queued caller go first.
    void lock_after_others() {
        while (waiting_.load() > 0) std::this_thread::yield();
        mutex_.lock();
    }

private:
    std::mutex mutex_;
    std::atomic<int> waiting_{0};
};

}  // namespace korv::boxlogger
