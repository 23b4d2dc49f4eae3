#include "boxlogger/core/request_table.h"

#include "boxlogger/core/serial_port.h"
#include "platform/core/clock.h"

#include <algorithm>

namespace korv::boxlogger {

CRequestTable::CRequestTable(CSerialPort& port, bool duplicates) : port_(port), duplicates_(duplicates) {
    entries_.reserve(kMaxEntries);
}

int CRequestTable::find(int code) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->code == static_cast<std::uint8_t>(code)) return static_cast<int>(i);
    return -1;
}

const ValueSlot* CRequestTable::AddCode(int code) {
    std::lock_guard lock(mutex_);
    if (!duplicates_) {
        if (const int i = find(code); i >= 0) {
            ++entries_[i]->use_count;
            return &entries_[i]->value;
        }
    }
    if (static_cast<int>(entries_.size()) >= kMaxEntries) return nullptr;
    auto entry = std::make_unique<Entry>();
    entry->code = static_cast<std::uint8_t>(code);
    entry->use_count = 1;
    entries_.push_back(std::move(entry));
    return &entries_.back()->value;
}

void CRequestTable::RemoveCode(int code) {
    std::lock_guard lock(mutex_);
    const int i = find(code);
    if (i < 0) return;
    if (--entries_[i]->use_count > 0) return;
    entries_.erase(entries_.begin() + i);
    const int count = static_cast<int>(entries_.size());
    if (position_ >= count) position_ = count == 0 ? 0 : count - 1;
}

void CRequestTable::ResetPosition() {
    std::lock_guard lock(mutex_);
    position_ = 0;
}

int CRequestTable::PollNext() {
    std::lock_guard lock(mutex_);
    // Nothing to ask: no exchange, and no cycle to complete.
    if (entries_.empty()) return kNoReply;
    if (position_ == 0) cycle_start_ = platform::clock().now_us();
    Entry& entry = *entries_[position_];
    const int expected = duplicates_ ? 2 : reply_length(entry.code);

    port_.SettleInput();
    if (!port_.WriteByte(entry.code)) return kWriteFailed;
    std::uint8_t reply[3] = {};
    const int got =
        expected == 3 ? port_.ReadReply3(&reply[0], &reply[1], &reply[2]) : port_.ReadReply2(&reply[0], &reply[1]);
    // The rest of a failed answer may still come: the next request waits
    // for a quiet line first.
    if (got <= 0) {
        port_.ExchangeFailed();
        return kNoReply;
    }
    if (reply[0] != entry.code) {
        port_.ExchangeFailed();
        return kEchoMismatch;
    }
    if (got < expected) {
        port_.ExchangeFailed();
        return kShortReply;
    }

    entry.value.store(expected == 3 ? static_cast<std::uint16_t>(reply[1] * 256 + reply[2]) : reply[1]);
    if (++position_ < static_cast<int>(entries_.size())) return kValueStored;
    const std::int64_t now = platform::clock().now_us();
    cycle_time_.store(cycle_start_ + (now - cycle_start_) / 2);
    position_ = 0;
    return kCycleComplete;
}

int CRequestTable::count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

int CRequestTable::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

int CRequestTable::use_count(int code) const {
    std::lock_guard lock(mutex_);
    const int i = find(code);
    return i < 0 ? 0 : entries_[i]->use_count;
}

std::vector<std::uint8_t> CRequestTable::codes() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> out;
    for (const auto& entry : entries_) out.push_back(entry->code);
    return out;
}

}  // namespace korv::boxlogger
