#pragma once
// The OBD-II parameters the logging engines ask for, and the per-cable
// request rows built from a caller's item list.
#include <cstdint>
#include <optional>
#include <vector>

namespace korv::korvio {

struct ObdParameter {
    std::uint8_t pid;
    int data_bytes;  // 1, or 2 for rpm and air flow
};

// The parameter behind a channel id; none for ids the engines do not know.
std::optional<ObdParameter> obd_parameter(int channel_id);

// Ids whose sample carries both data bytes (value = A x 256 + B).
bool is_two_byte_channel(int channel_id);

// One channel's request as a cable sends it.
struct ChannelRow {
    int id;
    std::uint8_t pid;
    std::vector<std::uint8_t> request;
    int reply_length;
};

// The rows of a cable (0-3) for the usable ids, in list order. Cables 0, 2
// and 3 skip ids without a parameter; cable 1 asks for PID 01 there.
std::vector<ChannelRow> build_channel_rows(int cable, const std::vector<int>& items);

// Sum modulo 256 of bytes [first, last).
std::uint8_t byte_sum(const std::uint8_t* first, const std::uint8_t* last);

// The 15-byte interface-box frame of cable 1 for a PID (before the protocol
// send fixes its link bytes and check).
std::vector<std::uint8_t> box_frame(std::uint8_t pid);

// The 7-byte frame of the cable-3 box for a PID.
std::vector<std::uint8_t> box3_frame(std::uint8_t pid);

}  // namespace korv::korvio
