// The cable-0 interface box (PID byte in, echo and two bytes out) on a car at idle.
#include "sim/bin/peer_program.h"
#include "sim/core/cable0_box.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-cable0");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::Cable0Box peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-cable0: %s\n", e.what());
        return 1;
    }
}
