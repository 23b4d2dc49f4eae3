#pragma once
// A peer whose behaviour is a function, for tests that need a device of their
// own without writing a class. The handlers run on the peer thread; send()
// and reply() may also be called from the test thread to push bytes.
#include "sim/core/peer.h"

#include <functional>

namespace korv::sim {

class ScriptedPeer final : public Peer {
public:
    using ByteHandler = std::function<void(ScriptedPeer&, std::uint8_t)>;
    using LineHandler = std::function<void(ScriptedPeer&, const platform::serial::LineChange&)>;

    // No handler: a device that hears and never answers.
    explicit ScriptedPeer(PeerOptions options = {}, ByteHandler on_byte = {}, LineHandler on_line = {});
    ~ScriptedPeer() override;

    using Peer::reply;
    using Peer::send;

protected:
    void on_byte(std::uint8_t byte) override;
    void on_line_change(const platform::serial::LineChange& change) override;

private:
    const ByteHandler on_byte_;
    const LineHandler on_line_;
};

}  // namespace korv::sim
