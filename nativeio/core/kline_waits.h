#pragma once
// Waits of the single-wire K-line, where a byte sent while anybody talks is
// lost for both: the tester must hear the line quiet before it speaks, and
// answer a key byte inside its window.
#include <cstdint>

namespace korv::korvio {

// How far one step of a close wait may move a clock that runs only when told
// (a test clock): about as fast as real time, so a device that answers
// within milliseconds is heard when it answers, not one long step later.
inline constexpr std::int64_t kCloseStepUs = 1000;

// Waits until a byte is queued: 0, -1 when deadline_us passes first, or the
// slot's failure. Steps closely while the clock is before close_until_us.
int wait_for_byte(int port, std::int64_t close_until_us, std::int64_t deadline_us);

// Reads and drops every byte until none has come for quiet_us (counted from
// the call, then from each byte heard): 0; -1 when the line is still busy at
// give_up_us; or the slot's failure. `close` steps closely throughout.
int wait_for_quiet_line(int port, std::int64_t quiet_us, std::int64_t give_up_us, bool close);

}  // namespace korv::korvio
