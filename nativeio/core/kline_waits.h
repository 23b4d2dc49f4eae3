#pragma once
// Waits of the single-wire K-line, where a byte sent while anybody talks is
// lost for both: the tester must hear the line quiet before it speaks, and
// answer a key byte inside its window. Any link waits for a quiet line too
// before it asks again after a failed or spoilt answer.
#include <cstdint>

namespace korv::korvio {

// Reads and drops every byte until none has come for quiet_us (counted from
// the call, then from each byte heard): 0; -1 when the line is still busy at
// give_up_us; or the slot's failure. `close` steps closely throughout.
int wait_for_quiet_line(int port, std::int64_t quiet_us, std::int64_t give_up_us, bool close);

}  // namespace korv::korvio
