#pragma once

#include <cstdint>

// One decoded record of a PMS log (.dab), in the units the player shows.
namespace korv::player {

struct PmsRecord {
    std::int32_t pms_ecu_rpms = 0;    // engine speed
    std::int8_t pms_ecu_timing = 0;   // degrees, as the ECU asked
    std::int8_t pms_timing = 0;       // degrees, as fired
    float pms_ecu_pulsewidth = 0.0f;  // ms, two decimals
    float pms_pulsewidth = 0.0f;      // ms, two decimals
    std::int32_t pms_watertemp = 0;   // coolant
    float pms_o2voltage = 0.0f;       // volts, two decimals
    float o2_target = 0.0f;           // the same volts before truncation (the simulator's target)
    std::int32_t pms_airtemp = 0;
    std::int8_t pms_tps = 0;             // percent
    float pms_pressure = 0.0f;           // boost positive, vacuum negative, two decimals
    std::int32_t pms_hz = 0;             // air-flow meter frequency
    std::int8_t pms_fueladdition = 0;    // percent
    std::int8_t pms_timingaddition = 0;  // degrees
    std::int32_t pms_acc = 0;            // 1 while the accessory (nitrous) output is on
};

}  // namespace korv::player
