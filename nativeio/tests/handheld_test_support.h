#pragma once
// The handheld transfer's tests: the caller's side of getPNKORV, and the
// transfer run in lockstep with the simulated handheld, so every wait of
// the transfer is exact on the test clock however loaded the machine is.
#include "nativeio/include/korvio.h"

#include "nativeio/tests/slot_fixture.h"
#include "sim/core/handheld_peer.h"

#include <numeric>
#include <vector>

namespace korv::korvio::testing {

// It adds up the progress, and the person holding the handheld presses its
// button once the transfer waits for it.
struct Caller {
    explicit Caller(sim::HandheldPeer* presses = nullptr) : handheld(presses) {}

    sim::HandheldPeer* handheld;
    std::vector<int> progress;
    korvio_host host{this, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &Caller::update_pnkorv};

    int total() const { return std::accumulate(progress.begin(), progress.end(), 0); }

    static void update_pnkorv(void* object, int n) {
        auto* caller = static_cast<Caller*>(object);
        caller->progress.push_back(n);
        if (caller->total() == 1 && caller->handheld) caller->handheld->press_button();
    }
};

class HandheldTest : public LockstepSlotTest {
protected:
    int transfer(const sim::HandheldPeer& handheld, Caller& caller, int port) {
        return run_with(handheld, [&caller, port] { return getPNKORV(&caller.host, port); });
    }
};

}  // namespace korv::korvio::testing
