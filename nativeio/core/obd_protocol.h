#pragma once
// The protocol state of the cable-1 interface box: which bus protocol the
// box found the car on, the reply id that goes with it and when the last
// reply byte came. Kept for the process (runs and the trouble-code routines
// share it); locked.
#include <cstdint>
#include <vector>

namespace korv::korvio {

// Protocol numbers: 0 not found yet; 1 and 10 the K-line (10 when the ECU
// reported a keyword of 0x37 or more), 2 and 3 the other two buses.
inline constexpr int kNoProtocol = 0;

inline constexpr int kBoxFrameLength = 15;
inline constexpr int kBoxReplyLength = 14;
// First reply byte that means the car sent nothing for the request.
inline constexpr std::uint8_t kBoxNoData = 0x80;

// Past this since the last reply the box must bring the K-line up again.
inline constexpr int kBoxLinkIdleMs = 5000;

struct ObdProtocolState {
    int protocol = kNoProtocol;
    std::uint8_t reply_id = 0;
};

ObdProtocolState obd_protocol_state();
// Back to the state of a fresh process: no protocol, no reply seen.
void reset_obd_protocol_state();
void set_obd_protocol(int protocol);  // also sets the reply id

// A reply byte came now.
void note_obd_reply();
// The last reply byte came less than ms ago (never: false).
bool obd_reply_within(int ms);

// Tries the three buses in turn and stores what answered (0: none). The
// demonstration port: protocol 1 at once, nothing sent.
int probe_obd_protocol(int port);

// Sends a box frame: probes first while no protocol is known (none found:
// nothing is sent, result 0), then sets the frame's link bytes and check
// in place and writes it (the demonstration port: written nowhere).
// 0, or the write's failure.
int obd_protocol_send(int port, std::vector<std::uint8_t>& frame);

}  // namespace korv::korvio
