#pragma once
// Runs a settings frame's library calls one after another on a thread of
// their own, so the window stays live while a link is tested, trouble codes
// are read or actuators are driven. Each job's finishing step runs on the
// GUI thread, in the order the jobs were given.
#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace korv::logger {

class LibraryWorker {
public:
    // GUI thread.
    LibraryWorker();
    // Waits for the call under way (the library cannot be interrupted);
    // jobs not yet begun and steps not yet shown are dropped.
    ~LibraryWorker();
    LibraryWorker(const LibraryWorker&) = delete;
    LibraryWorker& operator=(const LibraryWorker&) = delete;

    // Waits for the call under way and drops the rest; run() is not to be
    // called afterwards. The destructor does the same.
    void stop();

    // GUI thread: work runs on the worker thread, then done on the GUI
    // thread. An exception from work is swallowed; done still runs.
    void run(std::function<void()> work, std::function<void()> done);
    // From work: hand a step (a status text, say) to the GUI thread.
    void post(std::function<void()> step);

    // GUI thread: a job is queued or under way, its done step included.
    bool busy() const { return pending_ > 0; }
    // GUI thread: told when busy() changes.
    void set_busy_changed(std::function<void(bool busy)> listener) { busy_changed_ = std::move(listener); }

private:
    struct Job {
        std::function<void()> work;
        std::function<void()> done;
    };
    void loop();
    void finished(const std::function<void()>& done);

    std::unique_ptr<QObject> context_;
    std::function<void(bool)> busy_changed_;
    int pending_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace korv::logger
