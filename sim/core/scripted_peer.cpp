#include "sim/core/scripted_peer.h"

namespace korv::sim {

ScriptedPeer::ScriptedPeer(PeerOptions options, ByteHandler on_byte, LineHandler on_line)
    : Peer(options), on_byte_(std::move(on_byte)), on_line_(std::move(on_line)) {}

ScriptedPeer::~ScriptedPeer() { stop(); }

void ScriptedPeer::on_byte(std::uint8_t byte) {
    if (on_byte_) on_byte_(*this, byte);
}

void ScriptedPeer::on_line_change(const platform::serial::LineChange& change) {
    if (on_line_) on_line_(*this, change);
}

}  // namespace korv::sim
