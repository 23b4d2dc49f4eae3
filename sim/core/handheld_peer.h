#pragma once
// A handheld logger with its transfer program, at 19200 baud. It leads:
// when its transfer button is pressed it sends FF, waits for 00, announces
// the value width and the channel count, sends the channel ids one at a time
// (each must come back before the next), then sends its records one at a
// time, each to be acknowledged with the record's first byte. A wrong
// answer makes it give up; after its last record it falls silent.
#include "sim/core/peer.h"

#include <mutex>
#include <vector>

namespace korv::sim {

struct HandheldLog {
    std::uint8_t width = 1;                          // as announced; records hold this many value bytes
    std::vector<std::uint8_t> ids;                   // the channel list as announced
    std::vector<std::vector<std::uint8_t>> records;  // id then the value bytes
};

class HandheldPeer final : public Peer {
public:
    static constexpr long kBaud = 19200;
    static constexpr std::uint8_t kStartByte = 0xFF;

    explicit HandheldPeer(HandheldLog log, Pacing pacing = Pacing::Instant);
    ~HandheldPeer() override;

    // A short drive over four channels: engine speed, throttle, coolant and
    // O2, with one-byte (width 1) or two-byte (width 2) values.
    static HandheldLog sample_log(int width);

    // A handheld whose program is not the transfer program sends another byte.
    void set_start_byte(std::uint8_t byte);
    // The handheld stops after sending this many ids.
    void stop_after_ids(int count);

    // Starts the transfer; a press during a transfer changes nothing. Any thread.
    void press_button();
    // Every record was sent and acknowledged.
    bool finished() const;

protected:
    void on_byte(std::uint8_t byte) override;

private:
    enum class Stage { Idle, AwaitGo, AwaitIdEcho, AwaitAck, Done, GaveUp };

    // Stage changes with what to send next; called with the mutex held.
    std::vector<std::uint8_t> next_id_or_records();
    std::vector<std::uint8_t> next_record();

    const HandheldLog log_;
    mutable std::mutex mutex_;
    Stage stage_ = Stage::Idle;
    std::uint8_t start_byte_ = kStartByte;
    int id_limit_;
    std::size_t next_id_ = 0;
    std::size_t next_record_ = 0;
};

}  // namespace korv::sim
