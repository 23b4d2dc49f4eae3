#pragma once
// The port table is process-wide: each test leaves it as it found it, with
// every slot it used closed and the open defaults back at 19200 8N1, lines off.
#include "nativeio/core/sio.h"
#include "platform/core/clock.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace korv::korvio::testing {

class SlotTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (int slot = 0; slot < 10; ++slot) SioClose(slot);
        SioBaud(kDefaults, 19200);
        SioParms(kDefaults, 0, 0, 8);
        SioOpen(kDefaults, 0, 0);
    }
};

// A call into the library in a working folder of its own, run in lockstep
// with one simulated device, so its every wait is exact on the test clock
// however loaded the machine is.
class LockstepSlotTest : public SlotTest {
protected:
    platform::TestClock clock_;
    platform::ScopedClock use_clock_{clock_};
    testsupport::WorkingFolder cwd_;

    // The clock when the call returned, before the device could move it on.
    std::int64_t ended_us_ = -1;

    template <typename Call>
    int run_with(const sim::Peer& device, Call call) {
        sim::Lockstep lockstep(clock_, {&device});
        return lockstep.run([this, call] {
            const int result = call();
            ended_us_ = clock_.now_us();
            return result;
        });
    }
};

// Hears bytes and answers nothing: the device end of most tests.
using ListeningPeer = sim::ScriptedPeer;

}  // namespace korv::korvio::testing
