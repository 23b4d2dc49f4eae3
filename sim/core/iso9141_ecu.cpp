#include "sim/core/iso9141_ecu.h"

#include "platform/core/clock.h"
#include "platform/serial/line_settings.h"
#include "sim/core/clock_wait.h"

namespace korv::sim {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;

constexpr std::uint8_t kSync = 0x55;
constexpr std::uint8_t kKeyByte = 0x08;
constexpr std::uint8_t kInvertedKey = 0xF7;
constexpr std::uint8_t kInvertedAddress = 0xCC;
constexpr std::size_t kRequestLength = 6;
constexpr std::int64_t kBitUs = 200'000;  // one bit at 5 baud

std::int64_t now_us() { return platform::clock().now_us(); }

bool near(long speed, long wanted) { return platform::serial::speed_close_enough(wanted, speed); }

}  // namespace

std::uint8_t ungarbled(std::uint8_t byte) {
    const auto flipped = static_cast<std::uint8_t>(byte ^ 0xA4);
    return static_cast<std::uint8_t>((flipped >> 1) | (flipped << 7));
}

Iso9141Ecu::Iso9141Ecu(Pacing pacing, KLineTiming timing, std::optional<SecondEcu> second)
    : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}),
      pacing_(pacing),
      timing_(timing),
      second_(second),
      speed_(slave_path()) {}

Iso9141Ecu::~Iso9141Ecu() { stop(); }

bool Iso9141Ecu::linked() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Linked;
}

std::vector<std::vector<std::uint8_t>> Iso9141Ecu::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

// The echo is the wire itself, not this ECU's UART: it comes back as sent,
// whatever the speed. The base garbles what it sends at a speed other than
// ours, so a byte meant to pass unchanged is handed over pre-garbled.
void Iso9141Ecu::echo(std::uint8_t byte, bool heard_at_link_speed) {
    send({heard_at_link_speed ? byte : ungarbled(byte)});
}

void Iso9141Ecu::on_byte(std::uint8_t byte) {
    const long speed = speed_.speed();
    if (near(speed, kBaud)) {
        echo(byte, true);
        hear_link_byte(byte);
        return;
    }
    // Heard at a speed other than ours the base garbled it; the address
    // detector, which samples the line slowly, still sees the byte sent.
    const std::uint8_t sent = ungarbled(byte);
    echo(sent, false);
    if (near(speed, kAddressBaud) && sent == kAddress) {
        address_at_us_ = now_us();
        ++addresses_;
        start_link(now_us());  // the echo above took the byte's time on the wire
    }
}

void Iso9141Ecu::start_link(std::int64_t address_end_us) {
    {
        std::lock_guard lock(mutex_);
        state_ = State::Idle;
    }
    request_.clear();
    wait_for_clock(address_end_us + timing_.w1_us);
    reply({kSync});
    wait_for_clock(now_us() + timing_.w2_us);
    reply({kKeyByte});
    wait_for_clock(now_us() + timing_.w3_us);
    // What the program sent meanwhile came before the second key byte; this
    // thread hears it only now.
    early_bytes_ = bytes_waiting();
    // Taken before it goes, as in send_answer().
    second_key_at_us_ = now_us() + wire_us_per_byte();
    reply({kKeyByte});
    std::lock_guard lock(mutex_);
    state_ = State::AwaitingInvertedKey;
}

void Iso9141Ecu::hear_inverted_key(std::uint8_t byte) {
    const bool early = early_bytes_ > 0;
    if (early) --early_bytes_;
    if (byte != kInvertedKey) return;
    const std::int64_t after_key = now_us() - second_key_at_us_;
    if (early || after_key < timing_.w4_min_us || after_key > timing_.w4_max_us) {
        // It collided with the key byte or missed its window: no link.
        ++refused_keys_;
        std::lock_guard lock(mutex_);
        state_ = State::Idle;
        return;
    }
    wait_for_clock(now_us() + timing_.w4_us);
    {
        // Counted before the byte goes out: the program may look as soon as it has it.
        std::lock_guard lock(mutex_);
        state_ = State::Linked;
    }
    ++inits_;
    send_answer({kInvertedAddress});
}

void Iso9141Ecu::hear_link_byte(std::uint8_t byte) {
    State state;
    {
        std::lock_guard lock(mutex_);
        state = state_;
    }
    if (state == State::AwaitingInvertedKey) {
        hear_inverted_key(byte);
        return;
    }
    if (state != State::Linked) return;

    if (request_.empty()) {
        const std::int64_t quiet = now_us() - answered_at_us_;
        if (quiet > timing_.p3_max_us) {
            std::lock_guard lock(mutex_);
            state_ = State::Idle;  // no request for too long: the link is gone
            return;
        }
        if (byte != 0x68) return;
        request_too_early_ = quiet < timing_.p3_min_us;
    }
    request_.push_back(byte);
    if (request_.size() < kRequestLength) return;
    std::vector<std::uint8_t> request;
    request.swap(request_);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    if (!request_too_early_) take_request(request);
}

void Iso9141Ecu::take_request(const std::vector<std::uint8_t>& request) {
    if (request[1] != 0x6A || request[2] != 0xF1 || request[3] != 0x01) return;
    if (sum_of(request.data(), request.data() + 5) != request[5]) return;
    const auto answer = car_.kline_answer(request[4]);
    if (!answer) return;
    wait_for_clock(now_us() + timing_.p2_us);
    // Each answer is counted before it goes out: the program may look as
    // soon as it has it.
    ++answers_;
    send_answer(*answer);
    if (!second_) return;
    // The same data from another address, once the first has finished.
    std::vector<std::uint8_t> second = *answer;
    second[2] = second_->address;
    second.back() = sum_of(second.data(), second.data() + second.size() - 1);
    wait_for_clock(answered_at_us_ + second_->after_first_us);
    ++second_answers_;
    send_answer(second);
}

std::int64_t Iso9141Ecu::wire_us_per_byte() const { return pacing_ == Pacing::Wire ? 10'000'000 / kBaud : 0; }

void Iso9141Ecu::send_answer(const std::vector<std::uint8_t>& bytes) {
    // When it ends on the wire, taken before it goes: once the program has
    // it, the program may move the clock on before this thread runs again.
    answered_at_us_ = now_us() + static_cast<std::int64_t>(bytes.size()) * wire_us_per_byte();
    reply(bytes);
}

void Iso9141Ecu::on_line_change(const LineChange& change) {
    if (change.line != OutputLine::Break) return;
    // A new frame begins with break (the start bit) after a quiet line.
    if (change.on && (break_edges_.empty() || change.at_us - break_edges_.front().at_us > 10 * kBitUs))
        break_edges_.clear();
    if (break_edges_.empty() && !change.on) return;
    break_edges_.push_back(change);
    // The last edge of an address with its top bit clear ends the data bits.
    if (!change.on && change.at_us - break_edges_.front().at_us >= 9 * kBitUs - kBitUs / 2) decode_break_address();
}

void Iso9141Ecu::decode_break_address() {
    const std::int64_t start = break_edges_.front().at_us;
    const auto level_at = [&](std::int64_t t) {
        bool in_break = false;
        for (const LineChange& edge : break_edges_)
            if (edge.at_us <= t) in_break = edge.on;
        return in_break;
    };
    std::uint8_t byte = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (!level_at(start + (bit + 1) * kBitUs + kBitUs / 2)) byte |= static_cast<std::uint8_t>(1 << bit);
    break_edges_.clear();
    if (byte != kAddress) return;
    ++addresses_;
    start_link(start + 10 * kBitUs);  // after the stop bit
}

}  // namespace korv::sim
