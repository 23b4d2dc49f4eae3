#pragma once
// The handheld transfer behind getPNKORV (run_handheld_transfer in
// engines.h). The handheld leads: a start byte when its transfer button is
// pressed, then the value width W and the channel count M, the M channel ids
// (each sent back), then records of an id and W value bytes, each
// acknowledged with its first byte. kvt1.tmp gets W, M, the ids and every
// record whose id is not FF (the handheld dump of korvio_files.h).
//
// A handheld ends by falling silent between records. A record cut by a
// time-out, or one under an id the handheld never announced (a byte lost or
// added on the line shifts every record after it), fails the transfer with
// kHandheldRecordSpoilt and leaves kvt1.tmp empty: nothing of it may pass
// for a log.
#include "nativeio/include/korvio_files.h"

#include <cstdint>

namespace korv::korvio::handheld {

inline constexpr int kBaud = 19200;

inline constexpr int kButtonWaitSeconds = 30;
inline constexpr int kByteWaitSeconds = 5;

inline constexpr std::uint8_t kStartByte = 0xFF;
inline constexpr std::uint8_t kGoByte = 0x00;
inline constexpr std::uint8_t kNotStored = 0xFF;  // a record id that is acknowledged, not kept

// What the receive buffers hold: wider values or a longer channel list are
// refused with kHandheldAnnouncementRefused (result_codes.h).
inline constexpr int kMaxWidth = 11;
inline constexpr int kMaxChannels = korvio_files::kMaxHandheldChannels;

}  // namespace korv::korvio::handheld
