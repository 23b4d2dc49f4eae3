#pragma once
// A first-generation DSM engine computer on its 1953-baud diagnostic link:
// every byte heard is answered as DsmEcuData says (the actuator tests, and
// FE and FD around a trouble-code read, are command bytes).
//
// In wire pacing the byte heard takes its own time on the wire before the
// answer begins, so an exchange costs three bytes' time, as on the car.
#include "sim/core/dsm_ecu_data.h"
#include "sim/core/peer.h"

namespace korv::sim {

class DsmEcu final : public Peer, public DsmEcuData {
public:
    static constexpr long kBaud = 1953;

    explicit DsmEcu(Pacing pacing = Pacing::Instant);  // a warm engine at idle, no codes
    ~DsmEcu() override;

protected:
    void on_byte(std::uint8_t byte) override;

private:
    const Pacing pacing_;
};

}  // namespace korv::sim
