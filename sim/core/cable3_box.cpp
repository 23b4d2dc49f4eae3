#include "sim/core/cable3_box.h"

#include <algorithm>

namespace korv::sim {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;

constexpr std::size_t kCommandLength = 9;
constexpr std::size_t kFrameLength = 7;
constexpr std::uint8_t kFrameStart = 0x06;
constexpr std::uint8_t kCommandStart = 0x01;

}  // namespace

const std::array<std::array<std::uint8_t, 9>, 3> Cable3Box::kSetUpCommands = {{
    {0x01, 0x01, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0x17},
    {0x01, 0x00, 0x06, 0x61, 0x6A, 0xF1, 0x01, 0x00, 0x1A},
    {0x01, 0x02, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0xC4},
}};

Cable3Box::Cable3Box(Pacing pacing, std::int64_t turnaround_us) : InterfaceBox(pacing, turnaround_us) {}

Cable3Box::~Cable3Box() { stop(); }

void Cable3Box::follow_lines() {
    dtr_ = false;
    dtr_rises_ = 0;
    for (const LineChange& change : line_changes_so_far()) {
        if (change.line != OutputLine::Dtr) continue;
        if (change.on && !dtr_) ++dtr_rises_;
        dtr_ = change.on;
    }
    const bool command_begun = bytes_.size() >= 2 && bytes_.front() == kCommandStart;
    set_carrier(!carrier_fault_ && dtr_ && dtr_rises_ > commands_taken_ && command_begun);
}

void Cable3Box::on_line_change(const LineChange&) { follow_lines(); }

void Cable3Box::hear(std::uint8_t byte) {
    if (carrier_fault_) return;
    follow_lines();
    if (bytes_.empty() && byte != kCommandStart && !(set_up_ && byte == kFrameStart)) return;
    bytes_.push_back(byte);
    if (bytes_.front() == kCommandStart)
        take_command_bytes();
    else if (bytes_.size() == kFrameLength) {
        std::vector<std::uint8_t> frame;
        frame.swap(bytes_);
        note_frame(frame);
        take_frame(frame);
    }
    follow_lines();
}

void Cable3Box::take_command_bytes() {
    while (bytes_.size() >= kCommandLength) {
        const auto known = std::find_if(kSetUpCommands.begin(), kSetUpCommands.end(), [&](const auto& command) {
            return std::equal(command.begin(), command.end(), bytes_.begin());
        });
        if (known == kSetUpCommands.end() || dtr_rises_ <= commands_taken_) {
            // Not a command (or not asked for): look for one further on.
            bytes_.erase(bytes_.begin());
            while (!bytes_.empty() && bytes_.front() != kCommandStart) bytes_.erase(bytes_.begin());
            continue;
        }
        note_frame(std::vector<std::uint8_t>(bytes_.begin(), bytes_.begin() + kCommandLength));
        bytes_.erase(bytes_.begin(), bytes_.begin() + kCommandLength);
        ++commands_taken_;
        // The first command starts the set-up over; the others must follow in turn.
        const int n = static_cast<int>(known - kSetUpCommands.begin());
        if (n == 0)
            set_up_step_ = 1;
        else if (n == set_up_step_ && set_up_step_ < 3)
            ++set_up_step_;
        else
            set_up_step_ = 0;
        set_up_ = set_up_step_ == 3;
    }
}

void Cable3Box::take_frame(const std::vector<std::uint8_t>& frame) {
    if (sum_of(frame.data() + 1, frame.data() + 6) != frame[6]) return;
    if (frame[1] != 0x68 || frame[2] != 0x6A || frame[3] != 0xF1 || frame[4] != 0x01) return;
    const auto ecu = car().kline_answer(frame[5]);
    if (!ecu) return;
    std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(ecu->size())};
    reply.insert(reply.end(), ecu->begin(), ecu->end());
    answer(reply);
}

}  // namespace korv::sim
