// An engine computer on a direct ISO 9141 K-line (cable 2).
#include "sim/bin/peer_program.h"
#include "sim/core/iso9141_ecu.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-iso9141");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::Iso9141Ecu peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-iso9141: %s\n", e.what());
        return 1;
    }
}
