// A PMS engine-management unit that answers the memory download.
#include "sim/bin/peer_program.h"
#include "sim/core/pms_peer.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-pms");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::PmsPeer peer(*pacing);
        return korv::sim::serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-pms: %s\n", e.what());
        return 1;
    }
}
