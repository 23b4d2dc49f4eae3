#pragma once
// A few threads of our own that share out the tasks of one job at a time:
// run() hands each task to whichever thread is free, the calling thread
// included, and returns when all are done. A frame of the 3-D plot is drawn
// this way on all the machine's cores.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace korv::plot3d {

class ThreadTeam {
public:
    // `threads` counts the calling thread; 0 takes one per core. The helpers
    // start with the first job.
    explicit ThreadTeam(unsigned threads = 0);
    ~ThreadTeam();
    ThreadTeam(const ThreadTeam&) = delete;
    ThreadTeam& operator=(const ThreadTeam&) = delete;

    unsigned size() const { return size_; }

    // task(i, worker) for every i in [0, tasks); `worker` (below size())
    // names the thread running it, for scratch of its own. One caller at a
    // time. The first exception a task throws is rethrown here, once every
    // task has ended.
    using Task = std::function<void(std::size_t task, unsigned worker)>;
    void run(std::size_t tasks, const Task& task);

private:
    void start_helpers();
    void help(unsigned worker);
    void work(unsigned worker);

    unsigned size_;
    std::vector<std::thread> helpers_;
    std::mutex lock_;
    std::condition_variable wake_, finished_;
    // The job under way, under lock_.
    const Task* task_ = nullptr;
    std::size_t tasks_ = 0;
    std::size_t next_ = 0;
    unsigned job_ = 0;   // counts jobs, so a helper takes each one once
    unsigned busy_ = 0;  // helpers still inside the job
    bool closing_ = false;
    std::exception_ptr failure_;
};

}  // namespace korv::plot3d
