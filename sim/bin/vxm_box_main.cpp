// VXMlog's data-logger box at 1953 baud with a DSM ECU behind it: logging
// addresses, the box's tuning registers, actuator tests and trouble codes
// (O2 sensor and coolant sensor stored).
#include "sim/bin/peer_program.h"
#include "sim/core/vxm_box.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    const auto pacing = korv::sim::parse_pacing(argc, argv, "korv-sim-vxmbox");
    if (!pacing) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::VxmBox box(*pacing);
        box.ecu().set_trouble_codes(0x0021);
        return korv::sim::serve(box, "./VXMlog");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-vxmbox: %s\n", e.what());
        return 1;
    }
}
