// The one worker for jobs off the GUI thread: order, results, busy state,
// and what happens to a job under way when its owner goes.
#include "common/gui/job_worker.h"
#include "testsupport/event_wait.h"
#include "testsupport/standin_gate.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace korv {
namespace {

using namespace std::chrono_literals;

// Jobs here finish at once or at the gate: ten seconds is plenty.
bool run_events_until(const std::function<bool()>& done) { return testsupport::run_events_until(done, 10s); }

// A job that waits at the gate until the test lets it go.
struct GatedJobs : ::testing::Test {
    testsupport::StandinGate gate;

    std::function<void()> held_job(std::atomic<bool>* finished = nullptr) {
        return [this, finished] {
            std::unique_lock held(gate.lock);
            gate.pass(held);
            if (finished) finished->store(true);
        };
    }
    void TearDown() override {
        gate.hold(false);
        // No thread of a test outlives it.
        EXPECT_TRUE(run_events_until([] { return JobWorker::running() == 0; }));
    }
};

TEST_F(GatedJobs, JobsRunOffTheGuiThreadInOrderAndTheirStepsComeBackOnItInOrder) {
    const std::thread::id gui = std::this_thread::get_id();
    std::vector<std::string> seen;  // GUI thread only
    std::vector<int> ran;           // the worker only, read after the last step
    std::atomic<bool> off_gui{true};
    JobWorker worker;
    gate.hold(true);
    for (int i = 0; i < 3; ++i) {
        ASSERT_FALSE(worker.run(
            [&, i] {
                if (i == 0) held_job()();
                off_gui.store(off_gui.load() && std::this_thread::get_id() != gui);
                ran.push_back(i);
                worker.post([&, i] { seen.push_back("step " + std::to_string(i)); });
            },
            [&, i] {
                EXPECT_EQ(std::this_thread::get_id(), gui);
                seen.push_back("done " + std::to_string(i));
            }));
    }
    EXPECT_TRUE(worker.busy());
    EXPECT_TRUE(seen.empty()) << "the GUI thread does not wait for the jobs";
    gate.hold(false);
    ASSERT_TRUE(run_events_until([&] { return !worker.busy(); }));
    EXPECT_TRUE(off_gui.load());
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(seen, (std::vector<std::string>{"step 0", "done 0", "step 1", "done 1", "step 2", "done 2"}));
}

TEST_F(GatedJobs, ResultsReachTheDoneStepAndAThrowingJobStillFinishes) {
    JobWorker worker;
    std::vector<int> results;
    bool void_done = false;
    EXPECT_FALSE(worker.run([] { return 42; }, [&](int result) { results.push_back(result); }));
    EXPECT_FALSE(worker.run([]() -> int { throw std::runtime_error("no box"); },
                            [&](int result) { results.push_back(result); }));
    EXPECT_FALSE(worker.run([] { throw std::runtime_error("no library"); }, [&] { void_done = true; }));
    ASSERT_TRUE(run_events_until([&] { return !worker.busy(); }));
    EXPECT_EQ(results, (std::vector<int>{42, 0})) << "a job that throws hands on a value-initialised result";
    EXPECT_TRUE(void_done);
}

// What a job holds is let go before its done step runs, so a result the two
// share is never freed on the worker while the GUI thread still reads it (the
// thread build reports that race when the job's hold outlives the step).
TEST_F(GatedJobs, AJobLetsGoOfWhatItHoldsBeforeItsDoneStepRuns) {
    JobWorker worker;
    std::atomic<bool> done_ran{false};
    std::atomic<bool> let_go_after_done{false};
    // Its destructor waits a while for the done step: long enough, when the
    // job is let go late, for the step to read the result first.
    struct Hold {
        std::atomic<bool>* done_ran;
        std::atomic<bool>* late;
        ~Hold() {
            if (!done_ran) return;
            const auto until = std::chrono::steady_clock::now() + 300ms;
            while (!done_ran->load() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
            late->store(done_ran->load());
        }
    };
    auto hold = std::make_shared<Hold>(Hold{&done_ran, &let_go_after_done});
    EXPECT_FALSE(worker.run([hold = std::move(hold)] { return std::vector<int>(1000, 7); },
                            [&](std::vector<int> result) {
                                EXPECT_EQ(result.size(), 1000u);
                                done_ran.store(true);
                            }));
    ASSERT_TRUE(run_events_until([&] { return !worker.busy(); }));
    ASSERT_TRUE(run_events_until([] { return JobWorker::running() == 0; }));
    EXPECT_FALSE(let_go_after_done.load()) << "the job was let go only after its done step had run";
}

TEST_F(GatedJobs, BusyIsToldOnceForABatchAndEndsAfterTheLastDoneStep) {
    JobWorker worker;
    std::vector<bool> told;
    worker.set_busy_changed([&](bool busy) { told.push_back(busy); });
    gate.hold(true);
    EXPECT_FALSE(worker.run(held_job(), nullptr));
    EXPECT_FALSE(worker.run([] {}, [&] { EXPECT_TRUE(worker.busy()) << "still busy inside the last done step"; }));
    EXPECT_EQ(told, std::vector<bool>{true});
    gate.hold(false);
    ASSERT_TRUE(run_events_until([&] { return told.size() == 2; }));
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

TEST_F(GatedJobs, AnOwnerThatGoesLeavesTheJobUnderWayAloneAndHearsNothingMore) {
    std::atomic<bool> finished{false};
    std::atomic<bool> second_ran{false};
    bool told = false;
    auto worker = std::make_unique<JobWorker>();
    const JobWorker::Post post = worker->poster();
    gate.hold(true);
    EXPECT_FALSE(worker->run(held_job(&finished), [&] { told = true; }));
    EXPECT_FALSE(worker->run([&] { second_ran = true; }, [&] { told = true; }));
    ASSERT_TRUE(run_events_until([&] { return gate.waiting(); }));
    EXPECT_EQ(JobWorker::running(), 1);

    worker.reset();  // does not wait for the gate
    post([&] { told = true; });
    EXPECT_EQ(JobWorker::running(), 1) << "counted while inside its job";
    gate.hold(false);
    ASSERT_TRUE(run_events_until([] { return JobWorker::running() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(finished.load());
    EXPECT_FALSE(second_ran.load()) << "jobs not begun are dropped";
    EXPECT_FALSE(told) << "no step reaches an owner that is gone";
}

TEST_F(GatedJobs, StopWaitsForTheJobUnderWayAndDropsTheRest) {
    std::atomic<bool> finished{false};
    std::atomic<bool> second_ran{false};
    bool told = false;
    JobWorker worker;
    gate.hold(true);
    EXPECT_FALSE(worker.run(held_job(&finished), [&] { told = true; }));
    EXPECT_FALSE(worker.run([&] { second_ran = true; }, nullptr));
    ASSERT_TRUE(run_events_until([&] { return gate.waiting(); }));
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        gate.hold(false);
    });
    worker.stop();
    opener.join();
    EXPECT_TRUE(finished.load()) << "stop returns once the job under way has ended";
    EXPECT_FALSE(worker.busy());
    EXPECT_TRUE(worker.run([&] { second_ran = true; }, nullptr).has_value()) << "nothing starts after a stop";
    QCoreApplication::processEvents();
    EXPECT_FALSE(second_ran.load());
    EXPECT_FALSE(told);
}

// A worker whose thread cannot start runs nothing, its done step included,
// and says why in a sentence; the next run after the cause is gone works.
TEST(JobWorkerRefusal, ARefusedJobRunsNothingAndTheReasonIsASentence) {
    ASSERT_TRUE(run_events_until([] { return JobWorker::running() == 0; }));
    JobWorker worker;
    bool ran = false, told = false;
    {
        const JobWorker::RefuseThreads refuse("Resource temporarily unavailable");
        const std::optional<std::string> refused = worker.run([&] { ran = true; }, [&] { told = true; });
        ASSERT_TRUE(refused.has_value());
        EXPECT_EQ(*refused, "No thread could be started for the work: Resource temporarily unavailable.");
        EXPECT_FALSE(worker.busy());
        EXPECT_EQ(JobWorker::running(), 0);
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(told);
    ASSERT_FALSE(worker.run([&] { ran = true; }, [&] { told = true; }));
    EXPECT_TRUE(run_events_until([&] { return told; }));
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace korv
