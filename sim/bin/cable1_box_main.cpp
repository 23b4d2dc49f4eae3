// The cable-1 interface box (15-byte frames) on a car on the K-line.
#include "sim/bin/peer_program.h"
#include "sim/core/cable1_box.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-cable1");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::Cable1Box peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-cable1: %s\n", e.what());
        return 1;
    }
}
