#pragma once
// Request bytes polled in turn on the box link, each with its holders and
// the last value the box gave for it.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace korv::boxlogger {

class CSerialPort;

// Outcome of one exchange on the link.
enum PollResult : int {
    kWriteFailed = 1,    // the request byte could not be written
    kNoReply = 2,        // nothing came back in time (or nothing to ask)
    kEchoMismatch = 3,   // the first reply byte is not the request byte
    kShortReply = 4,     // echo right, data missing
    kValueStored = 5,    // value stored; the cycle goes on
    kCycleComplete = 6,  // value stored and the cycle is complete
};

inline bool exchange_completed(int result) { return result == kValueStored || result == kCycleComplete; }

// Requests 0xD0-0xDF are answered with two data bytes, every other with one.
inline int reply_length(int code) { return (code & 0xF0) == 0xD0 ? 3 : 2; }

using ValueSlot = std::atomic<std::uint16_t>;

class CRequestTable {
public:
    static constexpr int kMaxEntries = 256;

    // duplicates: every AddCode appends its own entry (command frames);
    // the box confirms each frame byte with its echo and one data byte.
    explicit CRequestTable(CSerialPort& port, bool duplicates = false);
    virtual ~CRequestTable() = default;
    CRequestTable(const CRequestTable&) = delete;
    CRequestTable& operator=(const CRequestTable&) = delete;

    // The entry's value slot. A slot stays put as long as its code has a
    // holder, whatever else is added or removed; null when the table is full.
    virtual const ValueSlot* AddCode(int code);
    // Drops one holder of the code; the entry goes with its last holder.
    void RemoveCode(int code);

    // One exchange for the entry at the position.
    int PollNext();

    // Back to the first entry (a command frame starts again).
    void ResetPosition();

    int count() const;
    int position() const;
    int use_count(int code) const;
    std::vector<std::uint8_t> codes() const;
    // Middle of the last complete cycle, in clock ticks (microseconds).
    std::int64_t cycle_time() const { return cycle_time_.load(); }

    static constexpr std::int64_t kTickFrequency = 1'000'000;

private:
    struct Entry {
        std::uint8_t code = 0;
        int use_count = 0;
        ValueSlot value{0};
    };

    int find(int code) const;

    CSerialPort& port_;
    const bool duplicates_;
    mutable std::mutex mutex_;
    std::int64_t cycle_start_ = 0;
    std::atomic<std::int64_t> cycle_time_{0};
    int position_ = 0;
    // Entries live on the heap so that removing one moves no other slot.
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace korv::boxlogger
