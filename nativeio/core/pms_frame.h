#pragma once
// The PMS unit's framing and its memory-read replies.
//
// A command frame: SOH, payload length, the payload's ASCII characters, a
// check byte that makes every byte from the SOH to it sum to 0 modulo 256,
// then CR. A memory-read reply is 43 bytes; bytes 0-39 sum to 0 modulo 256
// and bytes 3-38 hold the block's 4-digit address and its 16 bytes as 32
// hexadecimal digits.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korv::korvio::pms {

inline constexpr std::uint8_t kSoh = 0x01;
inline constexpr std::uint8_t kCr = 0x0D;

// The text the unit expects before it talks: ours, 10 characters.
inline constexpr std::string_view kIdentification = "KORVIO-PMS";

// The unit's memory as the download reads it: 0xA000-0xBFFF, 16 bytes a block.
inline constexpr unsigned kFirstAddress = 0xA000;
inline constexpr unsigned kLastAddress = 0xBFFF;
inline constexpr unsigned kBlockBytes = 16;

inline constexpr int kReadReplySize = 43;
inline constexpr int kSummedReplyBytes = 40;
inline constexpr int kBlockTextOffset = 3;
inline constexpr int kBlockTextSize = 36;

std::uint8_t check_byte(std::span<const std::uint8_t> bytes_before);
std::vector<std::uint8_t> frame(std::string_view payload);

// "D" then start and end as 4 upper-case hexadecimal digits each.
std::string memory_read_payload(unsigned start, unsigned end);

enum class ReplyVerdict {
    Accepted,
    AllZero,  // nothing but zeros in the summed bytes: a line that only idles
    BadSum,
    OtherBlock,  // a sound reply for another address: a late answer to an earlier request
};

ReplyVerdict judge_read_reply(std::span<const std::uint8_t, kReadReplySize> reply, unsigned address);

}  // namespace korv::korvio::pms
