// The run buttons' rules and the stop flags' pause step.
#include <gtest/gtest.h>

#include <thread>

#include "logger/core/session_control.h"
#include "logger/core/stop_flags.h"

namespace korv::logger {
namespace {

TEST(LoggerSessionControl, StartWaitsForItemsAndForEveryRunToEnd) {
    SessionControl session;
    EXPECT_FALSE(session.start_enabled());
    session.request_start(true);
    EXPECT_TRUE(session.start_enabled());
    EXPECT_TRUE(session.can_close());

    session.run_started(LogFamily::obd);
    session.run_started(LogFamily::dsm);
    EXPECT_FALSE(session.start_enabled());
    EXPECT_FALSE(session.stop_enabled());  // not until an engine runs
    EXPECT_FALSE(session.can_close());

    session.run_logging(LogFamily::obd);
    session.run_logging(LogFamily::dsm);
    EXPECT_TRUE(session.stop_enabled());
    EXPECT_TRUE(session.pause_enabled());

    session.run_saving(LogFamily::obd);
    EXPECT_TRUE(session.stop_enabled());  // the DSM engine still runs
    session.run_saving(LogFamily::dsm);
    EXPECT_FALSE(session.stop_enabled());
    EXPECT_FALSE(session.pause_enabled());
    // Saving is running: no new run may overwrite the dumps, no close.
    EXPECT_FALSE(session.start_enabled());
    EXPECT_FALSE(session.can_close());

    session.run_finished(LogFamily::obd);
    EXPECT_FALSE(session.start_enabled());
    session.run_finished(LogFamily::dsm);
    EXPECT_TRUE(session.start_enabled());
    EXPECT_TRUE(session.can_close());
}

TEST(LoggerSessionControl, ARefusedRunEndsWithoutEverLogging) {
    SessionControl session;
    session.request_start(true);
    session.run_started(LogFamily::dsm);
    EXPECT_EQ(session.phase(LogFamily::dsm), RunPhase::starting);
    session.run_finished(LogFamily::dsm);
    EXPECT_TRUE(session.start_enabled());
    EXPECT_TRUE(session.can_close());
}

TEST(LoggerSessionControl, WithdrawnItemsDisableStart) {
    SessionControl session;
    session.request_start(true);
    session.request_start(false);
    EXPECT_FALSE(session.start_enabled());
}

TEST(LoggerStopFlags, PauseTogglesRunAndPauseButLeavesStopAlone) {
    int flag = kFlagRun;
    EXPECT_EQ(toggle_pause(flag), kFlagPause);
    EXPECT_EQ(load_flag(flag), kFlagPause);
    EXPECT_EQ(toggle_pause(flag), kFlagRun);
    EXPECT_EQ(load_flag(flag), kFlagRun);
    store_flag(flag, kFlagStop);
    EXPECT_EQ(toggle_pause(flag), kFlagStop);
    EXPECT_EQ(load_flag(flag), kFlagStop);
}

TEST(LoggerStopFlags, AStopWrittenDuringPausePressesIsNeverUndone) {
    // The engine's end (0) races with a stream of Pause presses.
    for (int round = 0; round < 200; ++round) {
        int flag = kFlagRun;
        std::thread presser([&] {
            for (int i = 0; i < 50; ++i) toggle_pause(flag);
        });
        std::thread ender([&] { store_flag(flag, kFlagStop); });
        ender.join();
        presser.join();
        ASSERT_EQ(load_flag(flag), kFlagStop);
    }
}

TEST(LoggerStopFlags, TheLibrarySeesTheValuesThroughItsAtomicLoads) {
    int flag = kFlagRun;
    std::atomic<bool> saw_pause{false};
    std::thread engine([&] {
        int now;
        while ((now = __atomic_load_n(&flag, __ATOMIC_ACQUIRE)) != kFlagStop) {
            if (now == kFlagPause) saw_pause = true;
            std::this_thread::yield();
        }
    });
    toggle_pause(flag);
    while (!saw_pause) std::this_thread::yield();
    store_flag(flag, kFlagStop);
    engine.join();
    EXPECT_TRUE(saw_pause);
}

}  // namespace
}  // namespace korv::logger
