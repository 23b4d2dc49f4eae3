#pragma once
// An engine computer on a direct ISO 9141-2 K-line. The line is a single
// wire: every byte the program sends comes back to it as its own echo.
//
// Initialisation: the address 0x33 at 5 baud (a byte written at 5 baud, or
// drawn with break by a device that cannot run that slow); W1 later the ECU
// sends 55 at 10400 baud, then the key bytes 08 08, W3 apart; when the
// program returns the inverted key F7 25-50 ms after the second key byte
// (W4) it confirms with the inverted address CC. An F7 sooner, later or
// before the second key byte gets no answer.
// Then it answers mode-01 requests (68 6A F1 01 PID check) P2 after they
// end, ignores one that starts sooner than P3 after the last byte any ECU
// sent, and drops the link when no request came for 5 s. A second ECU on
// the line, when there is one, answers each request 25-50 ms after the
// first one's answer; it takes no part in the initialisation.
#include "sim/core/obd_car.h"
#include "sim/core/peer.h"
#include "sim/core/slave_speed_probe.h"

#include <mutex>
#include <optional>
#include <vector>

namespace korv::sim {

struct KLineTiming {
    std::int64_t w1_us = 60'000;  // address end to 55
    std::int64_t w2_us = 10'000;  // 55 to the first key byte
    std::int64_t w3_us = 2'000;   // between the key bytes: 0 to 20 ms
    std::int64_t w4_us = 30'000;  // inverted key to inverted address
    // Second key byte to the inverted key, accepted.
    std::int64_t w4_min_us = 25'000;
    std::int64_t w4_max_us = 50'000;
    std::int64_t p2_us = 25'000;  // request end to answer
    std::int64_t p3_min_us = 55'000;
    std::int64_t p3_max_us = 5'000'000;
};

struct SecondEcu {
    std::uint8_t address = 0x18;           // in its answers' third byte
    std::int64_t after_first_us = 40'000;  // first answer's end to its own: 25 to 50 ms
};

class Iso9141Ecu final : public Peer {
public:
    static constexpr long kBaud = 10400;
    static constexpr long kAddressBaud = 5;
    static constexpr std::uint8_t kAddress = 0x33;

    explicit Iso9141Ecu(Pacing pacing = Pacing::Instant, KLineTiming timing = {},
                        std::optional<SecondEcu> second = std::nullopt);
    ~Iso9141Ecu() override;

    ObdCar& car() { return car_; }
    const KLineTiming& timing() const { return timing_; }

    // Addresses recognised (at 5 baud or drawn with break), initialisations
    // completed, requests answered.
    int addresses_heard() const { return addresses_.load(); }
    int inits_completed() const { return inits_.load(); }
    int answers() const { return answers_.load(); }
    // Answers of the second ECU.
    int second_answers() const { return second_answers_.load(); }
    // Inverted keys refused: before the second key byte or outside W4.
    int inverted_keys_refused() const { return refused_keys_.load(); }
    // Process-clock time the last address was heard.
    std::int64_t address_heard_at_us() const { return address_at_us_.load(); }

    // Bytes put on the line by somebody else (another tester, a late node):
    // the program hears them, the ECUs do not answer them.
    void put_on_line(const std::vector<std::uint8_t>& bytes) { send(bytes); }
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
    void hear_inverted_key(std::uint8_t byte);
    void send_answer(const std::vector<std::uint8_t>& bytes);
    std::int64_t wire_us_per_byte() const;
    void decode_break_address();

    const Pacing pacing_;
    const KLineTiming timing_;
    const std::optional<SecondEcu> second_;
    SlaveSpeedProbe speed_;
    ObdCar car_;

    mutable std::mutex mutex_;  // state_ and requests_, read by tests
    State state_ = State::Idle;
    std::vector<std::vector<std::uint8_t>> requests_;

    std::int64_t answered_at_us_ = 0;    // end of the last answer of either ECU (or of the CC)
    std::int64_t second_key_at_us_ = 0;  // end of the second key byte
    // Bytes that came before the second key byte went out, still to be heard.
    int early_bytes_ = 0;
    std::vector<std::uint8_t> request_;
    bool request_too_early_ = false;
    std::vector<platform::serial::LineChange> break_edges_;
    std::atomic<int> addresses_{0};
    std::atomic<int> inits_{0};
    std::atomic<int> answers_{0};
    std::atomic<int> second_answers_{0};
    std::atomic<int> refused_keys_{0};
    std::atomic<std::int64_t> address_at_us_{0};
};

// The byte that garbled() turned into `byte`.
std::uint8_t ungarbled(std::uint8_t byte);

}  // namespace korv::sim
