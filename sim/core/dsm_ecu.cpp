#include "sim/core/dsm_ecu.h"

#include "sim/core/clock_wait.h"

namespace korv::sim {

DsmEcu::DsmEcu(Pacing pacing) : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}), pacing_(pacing) {}

DsmEcu::~DsmEcu() { stop(); }

void DsmEcu::on_byte(std::uint8_t byte) {
    if (pacing_ == Pacing::Wire) wait_heard_byte(kBaud);
    const std::vector<std::uint8_t> answer = answer_to(byte);
    if (!answer.empty()) reply(answer);
}

}  // namespace korv::sim
