#include "sim/core/diag_peer.h"

namespace korv::sim {

DiagPeer::DiagPeer(Pacing pacing) : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}) {}

DiagPeer::~DiagPeer() { stop(); }

bool DiagPeer::is_command(std::uint8_t byte) {
    // F1 and F3 to FC are the solenoid, relay and injector tests; FF the last.
    return byte == 0xF1 || (byte >= 0xF3 && byte <= 0xFC) || byte == 0xFF;
}

void DiagPeer::on_byte(std::uint8_t byte) {
    if (!is_command(byte)) return;
    if (const int zeros = leading_zeros_.load(); zeros > 0)
        send(std::vector<std::uint8_t>(static_cast<std::size_t>(zeros), 0x00));
    reply({byte});
}

}  // namespace korv::sim
