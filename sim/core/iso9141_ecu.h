#pragma once
// An engine computer on a direct ISO 9141-2 K-line. The line is a single
// wire: every byte the program sends comes back to it as its own echo.
//
// Initialisation: the address 0x33 at 5 baud (a byte written at 5 baud, or
// drawn with break by a device that cannot run that slow); W1 later the ECU
// sends 55 at 10400 baud, then the key bytes 08 08; when the program
// returns the inverted key F7 it confirms with the inverted address CC.
// Then it answers mode-01 requests (68 6A F1 01 PID check) P2 after they
// end, ignores one that starts sooner than P3 after its last answer, and
// drops the link when no request came for 5 s.
#include "sim/core/obd_car.h"
#include "sim/core/peer.h"
#include "sim/core/slave_speed_probe.h"

#include <mutex>
#include <vector>

namespace korv::sim {

struct KLineTiming {
    std::int64_t w1_us = 60'000;  // address end to 55
    std::int64_t w2_us = 10'000;  // 55 to the first key byte
    std::int64_t w3_us = 2'000;   // between the key bytes
    std::int64_t w4_us = 30'000;  // inverted key to inverted address
    std::int64_t p2_us = 25'000;  // request end to answer
    std::int64_t p3_min_us = 55'000;
    std::int64_t p3_max_us = 5'000'000;
};

class Iso9141Ecu final : public Peer {
public:
    static constexpr long kBaud = 10400;
    static constexpr long kAddressBaud = 5;
    static constexpr std::uint8_t kAddress = 0x33;

    explicit Iso9141Ecu(Pacing pacing = Pacing::Instant, KLineTiming timing = {});
    ~Iso9141Ecu() override;

    ObdCar& car() { return car_; }
    const KLineTiming& timing() const { return timing_; }

    // Addresses recognised (at 5 baud or drawn with break), initialisations
    // completed, requests answered.
    int addresses_heard() const { return addresses_.load(); }
    int inits_completed() const { return inits_.load(); }
    int answers() const { return answers_.load(); }
    bool linked() const;
    // Complete request frames heard, in order.
    std::vector<std::vector<std::uint8_t>> requests() const;

protected:
    void on_byte(std::uint8_t byte) override;
    void on_line_change(const platform::serial::LineChange& change) override;

private:
    enum class State { Idle, AwaitingInvertedKey, Linked };

    void echo(std::uint8_t byte, bool heard_at_link_speed);
    void start_link(std::int64_t address_end_us);
    void hear_link_byte(std::uint8_t byte);
    void take_request(const std::vector<std::uint8_t>& request);
    void send_answer(const std::vector<std::uint8_t>& bytes);
    void decode_break_address();

    const Pacing pacing_;
    const KLineTiming timing_;
    SlaveSpeedProbe speed_;
    ObdCar car_;

    mutable std::mutex mutex_;  // state_ and requests_, read by tests
    State state_ = State::Idle;
    std::vector<std::vector<std::uint8_t>> requests_;

    std::int64_t answered_at_us_ = 0;  // end of the last answer (or of the CC)
    std::vector<std::uint8_t> request_;
    bool request_too_early_ = false;
    std::vector<platform::serial::LineChange> break_edges_;
    std::atomic<int> addresses_{0};
    std::atomic<int> inits_{0};
    std::atomic<int> answers_{0};
};

// The byte that garbled() turned into `byte`.
std::uint8_t ungarbled(std::uint8_t byte);

}  // namespace korv::sim
