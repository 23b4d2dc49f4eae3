#pragma once
// A first-generation DSM engine computer as the actuator tests see it: it
// echoes each actuator command byte, optionally after some zero bytes.
#include "sim/core/peer.h"

namespace korv::sim {

class DiagPeer final : public Peer {
public:
    static constexpr long kBaud = 1953;

    explicit DiagPeer(Pacing pacing = Pacing::Instant);
    ~DiagPeer() override;

    // Zero bytes sent before each echo; they are not part of the answer, so
    // Fault::Short leaves zeros followed by silence.
    void set_leading_zeros(int count) { leading_zeros_ = count; }

    static bool is_command(std::uint8_t byte);

protected:
    void on_byte(std::uint8_t byte) override;

private:
    std::atomic<int> leading_zeros_{0};
};

}  // namespace korv::sim
