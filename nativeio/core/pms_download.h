#pragma once
// The PMS session behind getPMS (run_pms_session in engines.h): the opening
// command sequence at 9600 baud and, in mode 1, the memory download into
// temp.bcf (each block's address and hex text) and stream.bcf (every
// accepted reply as it came).
#include "nativeio/core/pms_frame.h"

#include <array>
#include <string_view>

namespace korv::korvio::pms {

inline constexpr int kBaud = 9600;
inline constexpr int kModeDownload = 1;

// Tries a block gets before the download gives up: a unit that stops
// answering costs about a minute, not for ever.
inline constexpr int kBlockAttempts = 10;

struct OpeningCommand {
    std::string_view payload;
    int reply_size;  // bytes awaited; what they say is not used
};

// Sent after the wake-up CR, in this order.
inline constexpr std::array<OpeningCommand, 7> kOpeningCommands{{
    {"IO", 15},
    {kIdentification, 7},
    {"Q", 27},
    {"DA7E0A7EF", 43},
    {"DA7F0A7FF", 43},
    {"DBFF2BFFD", 35},
    {"L1", 7},
}};

inline constexpr int kWakeReplySize = 5;

}  // namespace korv::korvio::pms
