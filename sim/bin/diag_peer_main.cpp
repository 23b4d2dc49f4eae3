// A first-generation DSM engine computer that answers actuator tests.
#include "sim/bin/peer_program.h"
#include "sim/core/diag_peer.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-diag");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::DiagPeer peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-diag: %s\n", e.what());
        return 1;
    }
}
