#include "boxlogger/core/ecu_text.h"

#include <array>
#include <cstdio>
#include <utility>

namespace korv::boxlogger {
namespace {

using Named = std::pair<std::uint8_t, const char*>;

template <std::size_t N>
std::string lookup(const std::array<Named, N>& table, std::uint8_t b) {
    for (const auto& [code, text] : table) {
        if (code == b) return text;
    }
    char unknown[16];
    std::snprintf(unknown, sizeof unknown, "Unknown(%02X)", static_cast<unsigned>(b));
    return unknown;
}

}  // namespace

std::string FormatModuleType(std::uint8_t b) {
    // "Tranmission" is the text the box program has always shown.
    static constexpr std::array<Named, 2> kTypes{{{0xE0, "Engine"}, {0xF0, "Tranmission"}}};
    return lookup(kTypes, b);
}

std::string FormatEngineCode(std::uint8_t b) {
    static constexpr std::array<Named, 12> kEngines{{
        {0x18, "1.8 MPI California"},
        {0x19, "1.8 MPI Federal"},
        {0x20, "2.0 DOHC Federal"},
        {0x21, "2.0 DOHC California"},
        {0x22, "2.0 Turbo Federal"},
        {0x23, "2.0 Turbo California"},
        {0x4E, "3.0 DOHC California"},
        {0x4F, "3.0 DOHC Federal"},
        {0x50, "3.0 Turbo California"},
        {0x51, "3.0 Turbo Federal"},
        {0xC8, "2.0 DOHC"},
        {0xC9, "2.0 Turbo"},
    }};
    return lookup(kEngines, b);
}

std::string FormatModelYear(std::uint8_t b) {
    static constexpr std::array<Named, 6> kYears{{
        {0x25, "1994"},
        {0x36, "1990 Federal"},
        {0x37, "1990 California"},
        {0xA3, "1993"},
        {0xB5, "1991-1992"},
        {0xCB, "1991-1992 VR4"},
    }};
    return lookup(kYears, b);
}

std::string FormatFaultCodes(std::uint16_t mask) {
    static constexpr std::array<const char*, 16> kFaults{
        "11 Oxygen Sensor",           "12 Air Flow Sensor",
        "13 Air Temperature Sensor",  "14 Throttle Position Sensor",
        "15 ISC Position Sensor",     "21 Coolant Temperature Sensor",
        "22 Crank Angle Sensor",      "23 TDC Sensor",
        "24 Vehicle Speed Sensor",    "25 Barometric Pressure Sensor",
        "31 Detonation Sensor",       "41 Injector Circuit",
        "42 Fuel Pump Control Relay", "43 EGR System",
        "44 Ignition Coil",           "36 Ignition Circuit",
    };
    std::string text;
    for (unsigned bit = 0; bit < kFaults.size(); ++bit) {
        if ((mask & (1u << bit)) == 0) continue;
        if (!text.empty()) text += '\n';
        text += kFaults[bit];
    }
    return text;
}

}  // namespace korv::boxlogger
