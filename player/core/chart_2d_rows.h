#pragma once

#include <cstdint>
#include <string>

#include "player/core/pms_record.h"

// What the player adds to the 2-D chart's two tables for each record it
// collects, and the tables' column headers per log type.
namespace korv::player {

inline constexpr int kChart2dMaxRows = 1000;

inline constexpr const char* kPmsBoostHeaders = "Boost,Knock,Timing,ECU Timing,TPS/4";
inline constexpr const char* kPmsO2Headers = "O2v,Pulsewidth,ECU Pulsewidth,Hz";
inline constexpr const char* kVxmBoostHeaders = "Boost,Knock,Timing";
inline constexpr const char* kVxmO2Headers = "O2v,Pulsewidth";

// The lower chart: pressure, knock, timing; a PMS log (pms not null) adds
// the ECU timing and the throttle / 4.
std::string boost_chart_row(float pressure, std::int8_t knock, std::int8_t timing, const PmsRecord* pms);
// The upper chart: O2 volts, pulse width / 10; a PMS log adds the ECU
// pulse width / 10 and the air-flow frequency / 2000.
std::string o2_chart_row(float o2, float pulse_width, const PmsRecord* pms);

}  // namespace korv::player
