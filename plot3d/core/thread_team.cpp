#include "plot3d/core/thread_team.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace korv::plot3d {

ThreadTeam::ThreadTeam(unsigned threads)
    : size_(threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency())) {}

ThreadTeam::~ThreadTeam() {
    {
        const std::lock_guard guard(lock_);
        closing_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : helpers_) t.join();
}

void ThreadTeam::start_helpers() {
    helpers_.reserve(size_ - 1);
    try {
        for (unsigned w = 1; w < size_; ++w) helpers_.emplace_back([this, w] { help(w); });
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the job is shared among those there are.
    }
    size_ = static_cast<unsigned>(helpers_.size()) + 1;
}

void ThreadTeam::run(std::size_t tasks, const Task& task) {
    if (size_ > 1 && helpers_.empty()) start_helpers();
    {
        const std::lock_guard guard(lock_);
        task_ = &task;
        tasks_ = tasks;
        next_ = 0;
        failure_ = nullptr;
        busy_ = static_cast<unsigned>(helpers_.size());
        ++job_;
    }
    wake_.notify_all();
    work(0);
    std::unique_lock guard(lock_);
    finished_.wait(guard, [this] { return busy_ == 0; });
    task_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void ThreadTeam::help(unsigned worker) {
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock guard(lock_);
            wake_.wait(guard, [&] { return closing_ || job_ != seen; });
            if (closing_) return;
            seen = job_;
        }
        work(worker);
        {
            const std::lock_guard guard(lock_);
            --busy_;
        }
        finished_.notify_one();
    }
}

void ThreadTeam::work(unsigned worker) {
    for (;;) {
        std::size_t i = 0;
        {
            const std::lock_guard guard(lock_);
            if (next_ >= tasks_ || failure_) return;
            i = next_++;
        }
        try {
            (*task_)(i, worker);
        } catch (...) {
            const std::lock_guard guard(lock_);
            if (!failure_) failure_ = std::current_exception();
        }
    }
}

}  // namespace korv::plot3d
