#include "common/gui/job_worker.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/gui/queued_call.h"

namespace korv {
namespace {
std::atomic<int> live_threads{0};

// What RefuseThreads sets; empty: threads start.
std::mutex refusal_lock;
std::string refusal;

void start_thread(std::function<void()> body) {
    {
        const std::lock_guard guard(refusal_lock);
        if (!refusal.empty()) throw std::runtime_error(refusal);
    }
    std::thread(std::move(body)).detach();
}
}  // namespace

JobWorker::RefuseThreads::RefuseThreads(std::string reason) {
    const std::lock_guard guard(refusal_lock);
    refusal = std::move(reason);
}

JobWorker::RefuseThreads::~RefuseThreads() {
    const std::lock_guard guard(refusal_lock);
    refusal.clear();
}

struct JobWorker::Post::State {
    struct Job {
        std::function<void()> work;
        std::function<void()> done;
    };

    std::mutex lock;
    std::condition_variable idle;
    std::deque<Job> jobs;
    bool thread_running = false;
    bool closed = false;
    // Where GUI-thread steps are queued; null once the worker is gone.
    QObject* context = nullptr;
    JobWorker* owner = nullptr;

    // Under `lock`, so the context cannot go while a step is queued on it.
    void post_locked(std::function<void()> step) {
        if (context != nullptr) platform::post_queued(context, std::move(step));
    }
};

void JobWorker::Post::operator()(std::function<void()> step) const {
    const std::lock_guard guard(state_->lock);
    state_->post_locked(std::move(step));
}

void JobWorker::work_through(const std::shared_ptr<State>& state) {
    for (;;) {
        State::Job job;
        {
            std::lock_guard guard(state->lock);
            if (state->closed || state->jobs.empty()) {
                state->thread_running = false;
                // Counted down before the waiter wakes, so a program that
                // sees no job under way sees no thread counted either.
                --live_threads;
                state->idle.notify_all();
                return;
            }
            job = std::move(state->jobs.front());
            state->jobs.pop_front();
        }
        try {
            job.work();
        } catch (...) {
            // The job's done step reports what it found; a failure must not
            // take the program down.
        }
        // What the job holds goes here, before its done step is handed over:
        // a result it shares with that step is then let go last on the GUI
        // thread, never on this one while the step still reads it.
        job.work = nullptr;
        const std::lock_guard guard(state->lock);
        JobWorker* owner = state->owner;
        // Runs only while the context lives, that is while the owner does.
        state->post_locked([owner, done = std::move(job.done)] { owner->finished(done); });
    }
}

JobWorker::JobWorker() : state_(std::make_shared<State>()), context_(std::make_unique<QObject>()) {
    state_->context = context_.get();
    state_->owner = this;
}

JobWorker::~JobWorker() { close(); }

int JobWorker::running() { return live_threads.load(); }

std::optional<std::string> JobWorker::run(std::function<void()> job, std::function<void()> on_done) {
    bool start = false;
    {
        const std::lock_guard guard(state_->lock);
        if (state_->closed) return std::string("The work was refused: its worker has stopped.");
        state_->jobs.push_back({std::move(job), std::move(on_done)});
        start = !state_->thread_running;
        if (start) {
            state_->thread_running = true;
            ++live_threads;
        }
    }
    if (start) {
        try {
            start_thread([state = state_] { work_through(state); });
        } catch (const std::exception& failure) {
            const std::lock_guard guard(state_->lock);
            state_->thread_running = false;
            --live_threads;
            state_->jobs.clear();
            return "No thread could be started for the work: " + std::string(failure.what()) + ".";
        }
    }
    if (pending_++ == 0 && busy_changed_) busy_changed_(true);
    return std::nullopt;
}

void JobWorker::finished(const std::function<void()>& on_done) {
    if (on_done) on_done();
    if (--pending_ == 0 && busy_changed_) busy_changed_(false);
}

void JobWorker::close() {
    std::deque<State::Job> dropped;
    {
        const std::lock_guard guard(state_->lock);
        state_->closed = true;
        state_->context = nullptr;
        dropped.swap(state_->jobs);
    }
    // Steps still queued for the GUI thread die with their context.
    context_.reset();
    pending_ = 0;
}

void JobWorker::stop() {
    close();
    std::unique_lock guard(state_->lock);
    state_->idle.wait(guard, [this] { return !state_->thread_running; });
}

}  // namespace korv
