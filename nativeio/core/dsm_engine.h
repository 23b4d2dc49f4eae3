#pragma once
// The first-generation DSM link at 1953 baud: the ECU answers an address
// byte with its echo and the value stored at that address. The logging
// engine (dsm_engine.cpp) polls one address per channel; the link pieces
// here are its handshake and one exchange.
#include <cstdint>
#include <optional>
#include <vector>

namespace korv::korvio {

inline constexpr std::uint8_t kDsmRpmAddress = 0x21;
// Where the rpm row turns once its address went unanswered.
inline constexpr std::uint8_t kDsmRpmFallbackAddress = 0xD0;
// The value of every sample on the demonstration port.
inline constexpr std::uint8_t kDsmDemoValue = 0xFF;

// The ECU address of a channel id; none for ids the engine does not log.
std::optional<std::uint8_t> dsm_address(int channel_id);

struct DsmRow {
    int id;
    std::uint8_t address;
};

// One row per id with an address, in list order.
std::vector<DsmRow> build_dsm_rows(const std::vector<int>& items);

// The start of a run: a carriage return, answered when the ECU echoes it
// (within 2 s, whatever else comes). 0, or the failing step's code plus its
// offset (7000 drain, 7100 write, 7200 wait: 7199 is the time-out). The
// demonstration port: 0 at once.
int dsm_handshake(int port);

// Asks one address: 0 and the value, or the failing step's code (purge,
// drain and write plus 1000, 2000 and 3000, the drain after a failed
// exchange waiting up to 5 s for a quiet line; a reply that never came, or
// stopped for kReplyGapUs, plus 4000, so 3999 for the 5-s time-out; -2 when
// no echo was among the bytes). The demonstration port: 0 and
// kDsmDemoValue, nothing sent.
//
// The link has no check byte, so an answer is judged by the exchange after
// it: bytes on the line before the next request, or ahead of its echo (the
// rest of the answer, after a byte was added inside it, or a stray byte),
// set earlier_spoilt whatever the result, and the value taken before must
// not be kept.
int dsm_exchange(int port, std::uint8_t address, std::uint8_t* value, bool after_failure, bool* earlier_spoilt);

// For the last answer of a run, or before a pause: whether a byte comes
// right behind its value.
bool dsm_answer_went_on(int port);

}  // namespace korv::korvio
