#pragma once
// korvio result codes: 0 is done, a negative code names the failing step.
// Entry points add step offsets to some of them; callers treat any result
// other than the operation's own success value as a failure.
namespace korv::korvio {

inline constexpr int kDone = 0;
inline constexpr int kBadPort = -1;      // slot index outside 0-127
inline constexpr int kTimeOut = -1;      // a wait ran out
inline constexpr int kReplyRanOut = -2;  // reply bytes ran out before the expected byte
inline constexpr int kPortClosed = -3;
inline constexpr int kNothingWaiting = -100;    // single-byte read found no byte
inline constexpr int kBadArgument = -101;       // bad letter or argument, missing callback
inline constexpr int kSystemCallFailed = -103;  // the error is kept for SioWinError
inline constexpr int kQueueSizesRefused = -105;
inline constexpr int kEventThreadFailed = -106;
inline constexpr int kEchoMismatch = -151;
// The handheld transfer's own failures.
inline constexpr int kHandheldAnnouncementRefused = -104;  // a value width or channel list past the buffers
inline constexpr int kHandheldRecordSpoilt = -107;         // a record cut by a time-out, or under an id never announced
inline constexpr int kStopFlagMissing = -199;

// Entry points whose engines this build does not carry answer this.
inline constexpr int kNotAvailable = kBadArgument;

// SioReset offsets: open of the given port, flow set-up and open of port 0.
inline constexpr int kOpenOffset = 500;
inline constexpr int kPort0FlowOffset = 600;
inline constexpr int kPort0OpenOffset = 700;

// The demonstration port: a null device with fixed answers.
inline constexpr int kDemoPort = 4;

inline constexpr int kVersion = 6;

}  // namespace korv::korvio
