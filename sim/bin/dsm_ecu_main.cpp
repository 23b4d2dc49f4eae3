// A first-generation DSM engine computer at 1953 baud: logging addresses,
// trouble codes (O2 sensor and engine coolant stored) and actuator tests.
#include "sim/bin/peer_program.h"
#include "sim/core/dsm_ecu.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-dsm");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::DsmEcu peer(*pacing);
        peer.set_trouble_codes(0x0021);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-dsm: %s\n", e.what());
        return 1;
    }
}
