#include "nativeio/core/obd_channels.h"

#include <numeric>

namespace korv::korvio {
namespace {

// Mode 01 request header of the K-line: target 6A from tester F1.
constexpr std::uint8_t kHeader[] = {0x68, 0x6A, 0xF1, 0x01};
constexpr std::uint8_t kPidFallback = 0x01;

ChannelRow row_for(int cable, int id, std::uint8_t pid) {
    ChannelRow row{id, pid, {}, 0};
    switch (cable) {
    case 0:
        row.request = {pid};
        row.reply_length = 3;
        break;
    case 1:
        row.request = box_frame(pid);
        row.reply_length = 14;
        break;
    case 2:
        row.request.assign(std::begin(kHeader), std::end(kHeader));
        row.request.push_back(pid);
        row.request.push_back(byte_sum(row.request.data(), row.request.data() + row.request.size()));
        row.reply_length = is_two_byte_channel(id) ? 8 : 7;
        break;
    default:
        row.request = box3_frame(pid);
        // The O2 parameter answers with two bytes, of which one is used.
        row.reply_length = (id == 3 || is_two_byte_channel(id)) ? 9 : 8;
        break;
    }
    return row;
}

}  // namespace

std::optional<ObdParameter> obd_parameter(int channel_id) {
    switch (channel_id) {
    case 0: return ObdParameter{0x0E, 1};
    case 1: return ObdParameter{0x05, 1};
    case 3: return ObdParameter{0x14, 1};
    case 7: return ObdParameter{0x11, 1};
    case 9: return ObdParameter{0x0C, 2};
    case 11:
    case 49: return ObdParameter{0x0F, 1};
    case 12: return ObdParameter{0x06, 1};
    case 13: return ObdParameter{0x07, 1};
    case 18: return ObdParameter{0x10, 2};
    default: return std::nullopt;
    }
}

bool is_two_byte_channel(int channel_id) { return channel_id == 9 || channel_id == 18; }

std::uint8_t byte_sum(const std::uint8_t* first, const std::uint8_t* last) {
    return static_cast<std::uint8_t>(std::accumulate(first, last, 0u));
}

std::vector<std::uint8_t> box_frame(std::uint8_t pid) {
    std::vector<std::uint8_t> frame{0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x01, pid, 0, 0, 0, 0, 0, 0, 0};
    frame[14] = byte_sum(frame.data() + 1, frame.data() + 14);
    return frame;
}

std::vector<std::uint8_t> box3_frame(std::uint8_t pid) {
    std::vector<std::uint8_t> frame{0x06, 0x68, 0x6A, 0xF1, 0x01, pid, 0};
    frame[6] = byte_sum(frame.data() + 1, frame.data() + 6);
    return frame;
}

std::vector<ChannelRow> build_channel_rows(int cable, const std::vector<int>& items) {
    std::vector<ChannelRow> rows;
    for (int id : items) {
        const auto parameter = obd_parameter(id);
        if (parameter)
            rows.push_back(row_for(cable, id, parameter->pid));
        else if (cable == 1)
            rows.push_back(row_for(cable, id, kPidFallback));
    }
    return rows;
}

}  // namespace korv::korvio
