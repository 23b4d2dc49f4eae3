#pragma once
// Work that must not hold up the GUI thread (a call into the library, an
// exchange on a serial link, a conversion): each job runs on a thread of the
// worker's own, one after another in the order given, and its last step comes
// back to the GUI thread.
//
// Worker threads are counted process-wide. A thread lives only while it has
// jobs, so the count says whether some job is still inside the library or on
// a line; the library offers no way to stop a transfer or a download, so a
// program that ends meanwhile leaves that thread alone instead of tearing
// down what it uses.
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace korv {

class JobWorker {
public:
    // Hands a step to the GUI thread. Copies of it may outlive the worker:
    // steps posted after the worker is gone are dropped.
    class Post {
    public:
        void operator()(std::function<void()> step) const;

    private:
        friend class JobWorker;
        struct State;
        explicit Post(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    // GUI thread.
    JobWorker();
    // Jobs not yet begun and steps not yet run are dropped; the job under way
    // is left to finish on its own, and the GUI thread does not wait for it.
    ~JobWorker();
    JobWorker(const JobWorker&) = delete;
    JobWorker& operator=(const JobWorker&) = delete;

    // Worker threads of any worker still running a job in this process.
    static int running();

    // GUI thread: job runs on the worker thread, then on_done (may be null)
    // on the GUI thread, in the order the jobs were given. An exception from
    // a job is swallowed; on_done still runs. When no thread can be started,
    // or the worker has stopped, nothing runs, on_done included, and the
    // result is the reason as a sentence for the user: the caller shows it
    // and gives back what it took away for the job.
    [[nodiscard]] std::optional<std::string> run(std::function<void()> job, std::function<void()> on_done);
    // As above for a job with a result, which on_done receives; a job that
    // throws hands on a value-initialised result.
    template <class Job, class Done>
    requires(!std::is_void_v<std::invoke_result_t<Job&>>)
        [[nodiscard]] std::optional<std::string> run(Job job, Done on_done) {
        using Result = std::invoke_result_t<Job&>;
        auto result = std::make_shared<Result>();
        return run([job = std::move(job), result]() mutable { *result = job(); },
                   [on_done = std::move(on_done), result]() mutable { on_done(std::move(*result)); });
    }

    // From a job: a step for the GUI thread (a status text, say).
    void post(std::function<void()> step) const { poster()(std::move(step)); }
    Post poster() const { return Post(state_); }

    // GUI thread: drops what is not begun, as the destructor does, and waits
    // for the job under way; run() starts nothing afterwards.
    void stop();

    // For tests: while one lives, every run() that has to start a thread
    // refuses as a failed start does, with the given reason.
    class RefuseThreads {
    public:
        explicit RefuseThreads(std::string reason);
        ~RefuseThreads();
        RefuseThreads(const RefuseThreads&) = delete;
        RefuseThreads& operator=(const RefuseThreads&) = delete;
    };

    // GUI thread: a job is queued or under way, its done step included.
    bool busy() const { return pending_ > 0; }
    // GUI thread: told when busy() changes.
    void set_busy_changed(std::function<void(bool busy)> listener) { busy_changed_ = std::move(listener); }

private:
    using State = Post::State;
    static void work_through(const std::shared_ptr<State>& state);
    void close();
    void finished(const std::function<void()>& on_done);

    std::shared_ptr<State> state_;
    // Steps for the GUI thread are queued on it; they die with it.
    std::unique_ptr<QObject> context_;
    std::function<void(bool)> busy_changed_;
    int pending_ = 0;
};

}  // namespace korv
