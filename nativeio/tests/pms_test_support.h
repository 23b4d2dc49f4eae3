#pragma once
// The PMS download's tests: the dump a unit's memory must give, and getPMS
// run in lockstep with the simulated unit, so every wait and pause of the
// download is exact on the test clock however loaded the machine is.
#include "nativeio/include/korvio.h"

#include "nativeio/tests/slot_fixture.h"
#include "sim/core/pms_peer.h"

#include <cstdio>
#include <string>

namespace korv::korvio::testing {

inline constexpr int kPmsBlocks = 512;

// What temp.bcf must hold for a memory: per block its address and its 16
// bytes in hex, upper case, nothing between.
inline std::string expected_dump(const std::array<std::uint8_t, sim::PmsPeer::kMemorySize>& memory,
                                 int blocks = kPmsBlocks) {
    std::string text;
    char digits[12];
    for (int block = 0; block < blocks; ++block) {
        std::snprintf(digits, sizeof digits, "%04X", 0xA000 + block * 16);
        text += digits;
        for (int i = 0; i < 16; ++i) {
            std::snprintf(digits, sizeof digits, "%02X", memory[static_cast<std::size_t>(block * 16 + i)]);
            text += digits;
        }
    }
    return text;
}

class PmsTest : public LockstepSlotTest {
protected:
    int get_pms(const sim::PmsPeer& unit, int port, int mode) {
        return run_with(unit, [port, mode] { return getPMS(port, mode, 0, 0); });
    }
};

}  // namespace korv::korvio::testing
