#pragma once
// Whether a dump's channel ids fit a log: the player keeps ids 0..98 only,
// so a log naming any other id is one it refuses to open.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/core/channel_ids.h"

namespace korv {

// The first id of the list that no log can hold, if any.
inline std::optional<int> first_unstorable_id(std::span<const std::uint8_t> ids) {
    for (const std::uint8_t id : ids) {
        if (!player_accepts_id(id)) return id;
    }
    return std::nullopt;
}

// Told before the save dialog; nothing is written.
inline std::string unstorable_channel_message(int id) {
    return "Channel id " + std::to_string(id) + " cannot be stored in a log";
}

}  // namespace korv
