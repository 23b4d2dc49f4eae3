#pragma once
// An engine-management unit of the PMS kind at 9600 baud, as the memory
// download sees it. It answers the wake-up CR and framed commands (SOH,
// length, ASCII payload, check byte, CR; frames with a wrong check byte are
// ignored). Every answer is a frame of the same kind followed by LF and its
// '>' prompt; a memory read "D" + start + end (4 hex digits each, at most 16
// bytes) is answered with "D", the start address and the bytes in hex, so a
// 16-byte read is 43 bytes long.
//
// Faults for the download: a read of a given address can be answered with a
// bad check byte, all zeros, a sound reply for the block before it, or not
// at all, a given number of times or for ever.
#include "sim/core/peer.h"

#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace korv::sim {

class PmsPeer final : public Peer {
public:
    static constexpr long kBaud = 9600;
    static constexpr unsigned kMemoryStart = 0xA000;
    static constexpr unsigned kMemorySize = 0x2000;
    static constexpr int kForever = -1;

    enum class ReadFault { BadSum, AllZero, PreviousBlock, Silent };

    explicit PmsPeer(Pacing pacing = Pacing::Instant);
    ~PmsPeer() override;

    // The memory a fresh unit holds: a pattern that differs from block to block.
    static std::array<std::uint8_t, kMemorySize> sample_memory();

    void set_memory(const std::array<std::uint8_t, kMemorySize>& memory);
    // The next `times` reads starting at address get the fault.
    void fail_reads(unsigned address, ReadFault fault, int times);

    // The payloads of the sound frames heard so far, in order.
    std::vector<std::string> commands() const;

    static std::vector<std::uint8_t> frame(const std::string& payload);

protected:
    void on_byte(std::uint8_t byte) override;

private:
    void on_command(const std::string& payload);
    std::vector<std::uint8_t> read_reply(unsigned start, unsigned end);
    std::vector<std::uint8_t> answer(const std::string& payload) const;
    std::optional<ReadFault> take_fault(unsigned address);

    // Frame being heard; touched on the peer thread only.
    std::vector<std::uint8_t> heard_;

    mutable std::mutex mutex_;
    std::array<std::uint8_t, kMemorySize> memory_;
    std::map<unsigned, std::pair<ReadFault, int>> faults_;
    std::vector<std::string> commands_;
};

}  // namespace korv::sim
