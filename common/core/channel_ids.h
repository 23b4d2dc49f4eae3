#pragma once

#include <cstdint>

// System-wide channel ids and the player's slot table.
//
// Every program of the suite names a measured quantity by the same channel
// id. The player keeps the values of the current record in a 100-entry table
// indexed by slot = id + 1; entry 0 holds the record's time slot, so ids
// 0..98 map to slots 1..99.
namespace korv {

namespace channel_id {
inline constexpr std::int32_t kTiming = 0;
inline constexpr std::int32_t kCoolantTemperature = 1;
inline constexpr std::int32_t kO2Voltage = 3;
inline constexpr std::int32_t kThrottlePosition = 7;
inline constexpr std::int32_t kEngineSpeed = 9;
inline constexpr std::int32_t kInjectorPulseWidth = 10;
inline constexpr std::int32_t kIntakeAirTemperature = 11;
inline constexpr std::int32_t kShortTermFuelTrim = 12;
inline constexpr std::int32_t kLongTermFuelTrim = 13;
inline constexpr std::int32_t kO2FeedbackTrim = 15;
inline constexpr std::int32_t kKnockSum = 17;
inline constexpr std::int32_t kAirFlow = 18;
inline constexpr std::int32_t kSpeed = 20;
inline constexpr std::int32_t kHighFuelTrim = 48;
}  // namespace channel_id

inline constexpr int kPlayerSlots = 100;
inline constexpr int kPlayerTimeSlot = 0;
inline constexpr int kPlayerFirstChannelSlot = 1;
inline constexpr int kPlayerLastChannelSlot = 99;
inline constexpr std::int64_t kPlayerMinChannelId = 0;
inline constexpr std::int64_t kPlayerMaxChannelId = 98;
// Entry 0 is the time slot, so at most 99 channels fit the table.
inline constexpr std::int64_t kPlayerMaxChannels = 99;

constexpr int player_slot_of_id(std::int32_t id) { return id + 1; }
constexpr bool player_accepts_id(std::int64_t id) { return id >= kPlayerMinChannelId && id <= kPlayerMaxChannelId; }

// Slots the player reads into named fields (slot = id + 1).
namespace player_slot {
inline constexpr int kTiming = 1;
inline constexpr int kWaterTemp = 2;
inline constexpr int kO2Voltage = 4;
inline constexpr int kTps = 8;
inline constexpr int kRpms = 10;
inline constexpr int kPulseWidth = 11;
inline constexpr int kAirTemp = 12;
inline constexpr int kS1 = 13;
inline constexpr int kL1 = 14;
inline constexpr int kO2Trim = 16;
inline constexpr int kKnock = 18;
inline constexpr int kAfHz = 19;
inline constexpr int kMTrim = 49;
inline constexpr int kMph = 91;
inline constexpr int kMap = 92;
inline constexpr int kS2 = 93;
inline constexpr int kL2 = 94;
inline constexpr int kLoad = 95;
inline constexpr int kO2 = 96;
inline constexpr int kTicks = 97;
}  // namespace player_slot

}  // namespace korv
