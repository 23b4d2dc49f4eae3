#include "nativeio/core/pms_frame.h"

#include <cstdio>
#include <numeric>

namespace korv::korvio::pms {
namespace {

unsigned byte_sum(std::span<const std::uint8_t> bytes) { return std::accumulate(bytes.begin(), bytes.end(), 0u); }

}  // namespace

std::uint8_t check_byte(std::span<const std::uint8_t> bytes_before) {
    return static_cast<std::uint8_t>(0x100 - (byte_sum(bytes_before) & 0xFF));
}

std::vector<std::uint8_t> frame(std::string_view payload) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(payload.size() + 4);
    bytes.push_back(kSoh);
    bytes.push_back(static_cast<std::uint8_t>(payload.size()));
    for (char c : payload) bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(check_byte(bytes));
    bytes.push_back(kCr);
    return bytes;
}

std::string memory_read_payload(unsigned start, unsigned end) {
    char text[16];
    std::snprintf(text, sizeof text, "D%04X%04X", start & 0xFFFF, end & 0xFFFF);
    return text;
}

ReplyVerdict judge_read_reply(std::span<const std::uint8_t, kReadReplySize> reply, unsigned address) {
    const unsigned sum = byte_sum(reply.first(kSummedReplyBytes));
    if (sum == 0) return ReplyVerdict::AllZero;
    if ((sum & 0xFF) != 0) return ReplyVerdict::BadSum;
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", address & 0xFFFF);
    for (int i = 0; i < 4; ++i) {
        char digit = static_cast<char>(reply[kBlockTextOffset + i]);
        if (digit >= 'a' && digit <= 'f') digit = static_cast<char>(digit - 'a' + 'A');
        if (digit != expected[i]) return ReplyVerdict::OtherBlock;
    }
    return ReplyVerdict::Accepted;
}

}  // namespace korv::korvio::pms
