#include "sim/core/vxm_box.h"

#include "platform/core/clock.h"
#include "sim/core/clock_wait.h"

#include <algorithm>

namespace korv::sim {

namespace {
// Actuator commands: clear codes, five solenoid and relay tests, six
// injector cut-outs.
constexpr std::array<std::uint8_t, 12> kActuatorCommands{0xCA, 0xF1, 0xF3, 0xF4, 0xF5, 0xF6,
                                                         0xFC, 0xFB, 0xFA, 0xF9, 0xF8, 0xF7};
}  // namespace

bool VxmBox::is_actuator_command(std::uint8_t byte) {
    return std::find(kActuatorCommands.begin(), kActuatorCommands.end(), byte) != kActuatorCommands.end();
}

VxmBox::VxmBox(Pacing pacing) : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}), pacing_(pacing) {
    // The tuning registers start neutral: gains and scales at 100 %, offsets 0.
    registers_.fill(0x80);
    registers_[0x5A - 0x55] = registers_[0x5B - 0x55] = registers_[0x5C - 0x55] = 0x00;
    // The box's own engine speed at the ECU's idle (812 rpm in 3.90625-rpm counts).
    wide_values_[0] = 208;
}

VxmBox::~VxmBox() { stop(); }

void VxmBox::set_register(std::uint8_t address, std::uint8_t value) {
    if (!is_register(address)) return;
    std::lock_guard lock(mutex_);
    registers_[address - 0x55] = value;
}

std::uint8_t VxmBox::register_value(std::uint8_t address) const {
    if (!is_register(address)) return 0;
    std::lock_guard lock(mutex_);
    return registers_[address - 0x55];
}

void VxmBox::set_wide_value(std::uint8_t address, std::uint16_t value) {
    if (!is_wide(address)) return;
    std::lock_guard lock(mutex_);
    wide_values_[address - 0xD0] = value;
}

std::uint16_t VxmBox::wide_value(std::uint8_t address) const {
    if (!is_wide(address)) return 0;
    std::lock_guard lock(mutex_);
    return wide_values_[address - 0xD0];
}

void VxmBox::on_byte(std::uint8_t byte) {
    if (state_ == BoxState::Silent) return;
    if (pacing_ == Pacing::Wire) wait_heard_byte(kBaud);
    const std::vector<std::uint8_t> answer = answer_to(byte, platform::clock().now_us());
    if (!answer.empty()) reply(answer);
}

std::vector<std::uint8_t> VxmBox::answer_to(std::uint8_t byte, std::int64_t now_us) {
    if (auto framed = frame_answer(byte, now_us)) return *framed;
    if (is_actuator_command(byte)) return command_answer(byte, now_us);
    // Any other request ends a command the PC stopped asking about.
    command_.reset();
    if (is_register(byte)) return {byte, register_value(byte)};
    if (is_wide(byte)) {
        const std::uint16_t v = wide_value(byte);
        return {byte, static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    }
    return ecu_answer(byte);
}

std::optional<std::vector<std::uint8_t>> VxmBox::frame_answer(std::uint8_t byte, std::int64_t now_us) {
    if (frame_step_ != FrameStep::None && now_us - frame_last_us_ > kFrameGapUs) frame_step_ = FrameStep::None;
    switch (frame_step_) {
    case FrameStep::None:
        if (byte != kFrameStart) return std::nullopt;
        command_.reset();
        frame_step_ = FrameStep::A;
        break;
    case FrameStep::A:
        frame_a_ = byte;
        frame_step_ = FrameStep::B;
        break;
    case FrameStep::B:
        frame_b_ = byte;
        frame_step_ = FrameStep::End;
        break;
    case FrameStep::End:
        frame_step_ = FrameStep::None;
        // A broken frame: the byte is a request of its own, or a new frame.
        if (byte != kFrameEnd) return frame_answer(byte, now_us);
        set_register(frame_a_, frame_b_);
        ++frames_written_;
        return std::vector<std::uint8_t>{byte, byte};
    }
    frame_last_us_ = now_us;
    return std::vector<std::uint8_t>{byte, byte};
}

std::vector<std::uint8_t> VxmBox::command_answer(std::uint8_t byte, std::int64_t now_us) {
    if (state_ != BoxState::Working) return {byte};  // nobody to run it
    if (refuse_commands_) {
        command_.reset();
        return {byte, kCommandRefused};
    }
    if (!command_ || command_->byte != byte) {
        command_ = RunningCommand{byte, now_us};
        return {byte};
    }
    if (now_us - command_->started_us < kCommandRunUs) return {byte};
    command_.reset();
    if (byte == 0xCA) ecu_.set_trouble_codes(0);
    return {byte, kCommandDone};
}

std::vector<std::uint8_t> VxmBox::ecu_answer(std::uint8_t byte) const {
    if (state_ != BoxState::Working) return {byte};
    if (auto own = ecu_.own_answer(byte)) return *own;
    // The box asks the ECU for the byte's value, identification bytes too.
    return {byte, ecu_.value(byte)};
}

}  // namespace korv::sim
