#include "sim/core/pms_peer.h"

#include <cstdio>
#include <numeric>

namespace korv::sim {
namespace {

constexpr std::uint8_t kSoh = 0x01;
constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kPrompt = '>';
constexpr unsigned kMaxReadBytes = 16;

// What the unit says when it is woken with a bare CR.
const std::vector<std::uint8_t> kWakeReply{kCr, kLf, 'O', 'K', kPrompt};
// The identification text the unit waits for before it talks.
const std::string kIdentification = "KORVIO-PMS";

std::uint8_t check_byte(const std::vector<std::uint8_t>& bytes) {
    const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
    return static_cast<std::uint8_t>(-static_cast<int>(sum & 0xFF));
}

std::optional<unsigned> hex4(const std::string& text, std::size_t at) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        if (i >= text.size()) return std::nullopt;
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::vector<std::uint8_t> with_prompt(std::vector<std::uint8_t> frame) {
    frame.push_back(kLf);
    frame.push_back(kPrompt);
    return frame;
}

}  // namespace

PmsPeer::PmsPeer(Pacing pacing) : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}), memory_(sample_memory()) {}

PmsPeer::~PmsPeer() { stop(); }

std::array<std::uint8_t, PmsPeer::kMemorySize> PmsPeer::sample_memory() {
    std::array<std::uint8_t, kMemorySize> memory{};
    for (unsigned i = 0; i < kMemorySize; ++i) memory[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) * 13);
    return memory;
}

void PmsPeer::set_memory(const std::array<std::uint8_t, kMemorySize>& memory) {
    std::lock_guard lock(mutex_);
    memory_ = memory;
}

void PmsPeer::fail_reads(unsigned address, ReadFault fault, int times) {
    std::lock_guard lock(mutex_);
    faults_[address] = {fault, times};
}

std::vector<std::string> PmsPeer::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::uint8_t> PmsPeer::frame(const std::string& payload) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(payload.size() + 6);  // room for the LF and prompt that follow
    bytes.push_back(kSoh);
    bytes.push_back(static_cast<std::uint8_t>(payload.size()));
    for (char c : payload) bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(check_byte(bytes));
    bytes.push_back(kCr);
    return bytes;
}

void PmsPeer::on_byte(std::uint8_t byte) {
    if (heard_.empty()) {
        if (byte == kCr) reply(kWakeReply);
        if (byte == kSoh) heard_.push_back(byte);
        return;  // anything else between frames is line noise
    }
    heard_.push_back(byte);
    const std::size_t total = std::size_t{heard_[1]} + 4;  // SOH, length, payload, check, CR
    if (heard_.size() < total) return;
    std::vector<std::uint8_t> frame_bytes;
    frame_bytes.swap(heard_);
    const unsigned sum = std::accumulate(frame_bytes.begin(), frame_bytes.end() - 1, 0u);
    if (frame_bytes.back() != kCr || (sum & 0xFF) != 0) return;  // spoilt frames get no answer
    on_command(std::string(frame_bytes.begin() + 2, frame_bytes.end() - 2));
}

void PmsPeer::on_command(const std::string& payload) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(payload);
    }
    if (payload.size() == 9 && payload[0] == 'D') {
        const auto start = hex4(payload, 1);
        const auto end = hex4(payload, 5);
        if (start && end && *end >= *start && *end - *start < kMaxReadBytes) {
            if (auto answer = read_reply(*start, *end); !answer.empty()) reply(std::move(answer));
            return;
        }
    }
    reply(answer(payload));
}

std::vector<std::uint8_t> PmsPeer::answer(const std::string& payload) const {
    if (payload == "IO") return with_prompt(frame("IOPMS-3.1"));
    if (payload == kIdentification) return with_prompt(frame("K"));
    if (payload == "Q") return with_prompt(frame("QSN00012345 FW3.10 OK"));
    if (payload == "L1") return with_prompt(frame("L"));
    return with_prompt(frame("?"));
}

std::optional<PmsPeer::ReadFault> PmsPeer::take_fault(unsigned address) {
    std::lock_guard lock(mutex_);
    const auto found = faults_.find(address);
    if (found == faults_.end()) return std::nullopt;
    auto& [fault, times] = found->second;
    const ReadFault taken = fault;
    if (times != kForever && --times <= 0) faults_.erase(found);
    return taken;
}

// Empty when the read is to go unanswered.
std::vector<std::uint8_t> PmsPeer::read_reply(unsigned start, unsigned end) {
    const auto fault = take_fault(start);
    if (fault == ReadFault::Silent) return {};
    if (fault == ReadFault::PreviousBlock) {
        const unsigned length = end - start + 1;
        start -= length;
        end -= length;
    }
    char text[8];
    std::snprintf(text, sizeof text, "D%04X", start & 0xFFFF);
    std::string payload = text;
    {
        std::lock_guard lock(mutex_);
        for (unsigned address = start; address <= end; ++address) {
            const unsigned at = address - kMemoryStart;
            const std::uint8_t value = at < kMemorySize ? memory_[at] : 0xFF;
            std::snprintf(text, sizeof text, "%02X", value);
            payload += text;
        }
    }
    std::vector<std::uint8_t> bytes = with_prompt(frame(payload));
    if (fault == ReadFault::AllZero) return std::vector<std::uint8_t>(bytes.size(), 0x00);
    if (fault == ReadFault::BadSum) ++bytes[bytes.size() - 4];  // the check byte, before CR LF '>'
    return bytes;
}

}  // namespace korv::sim
