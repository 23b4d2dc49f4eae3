#pragma once
// The port table is process-wide: each test leaves it as it found it, with
// every slot it used closed and the open defaults back at 19200 8N1, lines off.
#include "nativeio/core/sio.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/scripted_peer.h"

#include <gtest/gtest.h>

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

// Hears bytes and answers nothing: the device end of most tests.
using ListeningPeer = sim::ScriptedPeer;

}  // namespace korv::korvio::testing
