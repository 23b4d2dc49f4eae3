#include "boxlogger/core/drb_pages.h"

#include "common/core/number_text.h"

#include <array>
#include <cstdio>

namespace korv::boxlogger {
namespace {

constexpr int kInfoIds[] = {kEcuIdChannel, kModuleIdChannel, kSoftwareVersionChannel, kChannelListEnd};
constexpr int kErrorIds[] = {kFaultCodesChannel, kSoftwareVersionChannel, kChannelListEnd};
constexpr int kSensorIds[] = {8, 5, 7, 10, 1, 11, 4, 6, 9, 0, kChannelListEnd};
constexpr int kEngineIoIds[] = {19, 20, 21, 22, 23, 24, kChannelListEnd};
constexpr int kFuelIds[] = {8, 4, 7, 1, 9, 5, 10, 3, kChannelListEnd};
constexpr int kTimingIds[] = {8, 21, 7, 1, 22, 5, 0, 9, kChannelListEnd};
constexpr int kRpmIds[] = {20, 22, 0, 21, 24, 1, 9, 6, kChannelListEnd};
constexpr int kAcIds[] = {22, 6, 19, 7, 24, 9, kChannelListEnd};
constexpr int kNoIds[] = {kChannelListEnd};
constexpr int kVars1Ids[] = {26, 27, 28, 29, 30, kChannelListEnd};
constexpr int kVars2Ids[] = {31, 32, 33, 34, 35, 36, kChannelListEnd};

constexpr std::array<DrbPageSpec, 9> kPages{{
    {DrbPageKind::ModuleInfo, 131, "ECU Info", kInfoIds},
    {DrbPageKind::Errors, 106, "ECU Errors", kErrorIds},
    {DrbPageKind::GeneralIo, 132, "Engine Sensors", kSensorIds},
    {DrbPageKind::GeneralIo, 132, "Engine I/O", kEngineIoIds},
    {DrbPageKind::GeneralIo, 132, "Fuel Control", kFuelIds},
    {DrbPageKind::GeneralIo, 132, "Timing Control", kTimingIds},
    {DrbPageKind::GeneralIo, 132, "RPM Control", kRpmIds},
    {DrbPageKind::GeneralIo, 132, "A/C Control", kAcIds},
    {DrbPageKind::Actuators, 133, "Actuators", kNoIds},
}};

constexpr std::array<DrbPageSpec, 2> kVarsPages{{
    {DrbPageKind::GeneralIo, 148, "VXM Vars 1", kVars1Ids},
    {DrbPageKind::GeneralIo, 148, "VXM Vars 2", kVars2Ids},
}};

constexpr char kInjectorRefusal[] = "Could not turn off injector.  Perhaps the car is in motion.";
constexpr char kSolenoidRefusal[] = "Could not turn on the solenoid.  Perhaps the engine is running.";
constexpr char kRelayRefusal[] = "Could not turn on the relay.  Perhaps the engine is running.";

constexpr std::array<ActuatorSpec, 11> kActuators{{
    {1041, "Disable #1", 43, "Injector #1 Off", kInjectorRefusal, true},
    {1042, "Disable #2", 44, "Injector #2 Off", kInjectorRefusal, true},
    {1043, "Disable #3", 45, "Injector #3 Off", kInjectorRefusal, true},
    {1044, "Disable #4", 46, "Injector #4 Off", kInjectorRefusal, true},
    {1045, "Disable #5", 47, "Injector #5 Off", kInjectorRefusal, true},
    {1046, "Disable #6", 48, "Injector #6 Off", kInjectorRefusal, true},
    {1049, "Boost On", 38, "Boost Control Solenoid On", kSolenoidRefusal, false},
    {1050, "EGR On", 39, "EGR Control Solenoid On", kSolenoidRefusal, false},
    {1048, "Fuel Pressure On", 40, "Fuel Pressure Control Solenoid On", kSolenoidRefusal, false},
    {1051, "Purge On", 41, "Charcoal Cannister Purge Solenoid On", kSolenoidRefusal, false},
    {1047, "Fuel Pump Relay", 42, "Fuel Pump Control Relay On", kRelayRefusal, false},
}};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::span<const DrbPageSpec> DrbPages() { return kPages; }
std::span<const DrbPageSpec> VxmVarsPages() { return kVarsPages; }
std::span<const ActuatorSpec> Actuators() { return kActuators; }

std::vector<int> IdsOf(const int* ids, std::size_t limit) {
    std::vector<int> out;
    for (; ids != nullptr && *ids != kChannelListEnd && out.size() < limit; ++ids) out.push_back(*ids);
    return out;
}

std::string ModuleIdText(int module_raw, int ecu_raw) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(module_raw * 256 + ecu_raw) & 0xFFFFFFFFu);
    return text;
}

std::vector<std::string> FaultLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
        lines.emplace_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

bool HasFourCylinders(std::string_view engine_text) {
    const auto litres = parse_double(engine_text);
    return litres && litres->value >= 1.8 && litres->value <= 2.0;
}

bool LooksLikeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && is_digit(text[i])) return true;
    return i + 1 < text.size() && text[i] == '.' && is_digit(text[i + 1]);
}

}  // namespace korv::boxlogger
