// Threads of every kind start and end in a program that links Qt. In a thread
// build this is where a wrong start breaks: a thread the checker was not told
// of crashes the checker at its first access, whoever started it.
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

struct ThreadStart {
    const char* who;
    std::function<void(const std::function<void()>&)> run_and_wait;
};

TEST(QtLinkedProgram, ThreadsStartedByQtAndByUsRunToTheirEnd) {
    const ThreadStart starts[] = {
        {"QThread",
         [](const std::function<void()>& work) {
             const std::unique_ptr<QThread> thread(QThread::create(work));
             thread->start();
             thread->wait();
         }},
        {"QThreadPool",
         [](const std::function<void()>& work) {
             QThreadPool pool;
             pool.start(work);
             pool.waitForDone();
         }},
        {"std::thread", [](const std::function<void()>& work) { std::thread(work).join(); }},
    };
    for (const ThreadStart& start : starts) {
        std::atomic<bool> ran{false};
        start.run_and_wait([&ran] { ran = true; });
        EXPECT_TRUE(ran) << start.who;
    }
}

}  // namespace
