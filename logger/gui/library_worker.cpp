#include "logger/gui/library_worker.h"

namespace korv::logger {

LibraryWorker::LibraryWorker() : context_(std::make_unique<QObject>()) {}

LibraryWorker::~LibraryWorker() { stop(); }

void LibraryWorker::stop() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    // Steps still queued for the GUI thread die with their context.
    context_.reset();
}

void LibraryWorker::run(std::function<void()> work, std::function<void()> done) {
    if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
    if (pending_++ == 0 && busy_changed_) busy_changed_(true);
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(work), std::move(done)});
    }
    wake_.notify_one();
}

void LibraryWorker::post(std::function<void()> step) {
    QMetaObject::invokeMethod(context_.get(), std::move(step), Qt::QueuedConnection);
}

void LibraryWorker::loop() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
            if (quit_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        try {
            job.work();
        } catch (...) {
            // The job's own done step reports what it found; a failure must
            // not take the program down.
        }
        post([this, done = std::move(job.done)] { finished(done); });
    }
}

void LibraryWorker::finished(const std::function<void()>& done) {
    if (done) done();
    if (--pending_ == 0 && busy_changed_) busy_changed_(false);
}

}  // namespace korv::logger
