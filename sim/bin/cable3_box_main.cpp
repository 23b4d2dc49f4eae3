// The cable-3 interface box (set-up commands, 7-byte frames) on a car at idle.
#include "sim/bin/peer_program.h"
#include "sim/core/cable3_box.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-cable3");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::Cable3Box peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-cable3: %s\n", e.what());
        return 1;
    }
}
