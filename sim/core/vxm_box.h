#pragma once
// The data-logger box of VXMlog on its 1953-baud serial line, with a
// first-generation DSM engine computer behind it.
//
// Each request byte is answered with its echo and one data byte; a byte of
// D0-DF with its echo and two (high, low): the box's own 16-bit readings.
// The box's tuning registers 55-5F are read like addresses and written by
// the frame E0 a b E1, every frame byte answered by its echo and itself
// (D0-DF too); any a and b are taken, and a register is set when a names
// one. The actuator commands (CA and F1-FC, without F2) are echoed alone
// while the ECU runs them, 3 s on the process clock, and answered with
// data 00 when asked again after that; refused ones get data FF at once.
// Clearing the codes (CA) clears the ECU's code word when done.
//
// A box without power answers nothing; one without an ECU echoes what it
// would ask the ECU and answers only for itself. The faults of Peer shape
// every answer.
#include "sim/core/dsm_ecu_data.h"
#include "sim/core/peer.h"

#include <array>
#include <atomic>
#include <optional>

namespace korv::sim {

enum class BoxState {
    Silent,    // no power or no box: nothing is answered
    EchoOnly,  // powered, no ECU behind it
    Working,
};

class VxmBox final : public Peer {
public:
    static constexpr long kBaud = 1953;
    static constexpr std::int64_t kCommandRunUs = 3'000'000;
    // A frame byte that comes later than this after the previous one starts
    // the frame over: the PC gave up on the last attempt.
    static constexpr std::int64_t kFrameGapUs = 100'000;
    static constexpr std::uint8_t kFrameStart = 0xE0;
    static constexpr std::uint8_t kFrameEnd = 0xE1;
    static constexpr std::uint8_t kCommandDone = 0x00;
    static constexpr std::uint8_t kCommandRefused = 0xFF;

    explicit VxmBox(Pacing pacing = Pacing::Instant);
    ~VxmBox() override;

    DsmEcuData& ecu() { return ecu_; }

    void set_state(BoxState state) { state_ = state; }
    BoxState state() const { return state_; }

    // 55-5F only; others are ignored (and read 0).
    void set_register(std::uint8_t address, std::uint8_t value);
    std::uint8_t register_value(std::uint8_t address) const;
    // D0-DF only.
    void set_wide_value(std::uint8_t address, std::uint16_t value);
    std::uint16_t wide_value(std::uint8_t address) const;

    void refuse_commands(bool refuse) { refuse_commands_ = refuse; }
    // Frames taken whole so far.
    int frames_written() const { return frames_written_; }

    static bool is_register(std::uint8_t byte) { return byte >= 0x55 && byte <= 0x5F; }
    static bool is_wide(std::uint8_t byte) { return (byte & 0xF0) == 0xD0; }
    static bool is_actuator_command(std::uint8_t byte);

protected:
    void on_byte(std::uint8_t byte) override;

private:
    enum class FrameStep { None, A, B, End };
    struct RunningCommand {
        std::uint8_t byte;
        std::int64_t started_us;
    };

    std::vector<std::uint8_t> answer_to(std::uint8_t byte, std::int64_t now_us);
    std::optional<std::vector<std::uint8_t>> frame_answer(std::uint8_t byte, std::int64_t now_us);
    std::vector<std::uint8_t> command_answer(std::uint8_t byte, std::int64_t now_us);
    std::vector<std::uint8_t> ecu_answer(std::uint8_t byte) const;

    const Pacing pacing_;
    DsmEcuData ecu_;
    std::atomic<BoxState> state_{BoxState::Working};
    std::atomic<bool> refuse_commands_{false};
    std::atomic<int> frames_written_{0};

    mutable std::mutex mutex_;  // the box's own values
    std::array<std::uint8_t, 11> registers_{};
    std::array<std::uint16_t, 16> wide_values_{};

    // Peer thread only.
    FrameStep frame_step_ = FrameStep::None;
    std::uint8_t frame_a_ = 0;
    std::uint8_t frame_b_ = 0;
    std::int64_t frame_last_us_ = 0;
    std::optional<RunningCommand> command_;
};

}  // namespace korv::sim
