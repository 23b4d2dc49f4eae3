#pragma once
// The underhood actuator tests: one command code per button; the library
// turns each code into its command byte.
#include <array>
#include <string_view>

namespace korv::logger {

inline constexpr int kStopAllTests = 99;
// Button slots of the dialog, indexed by actuator code.
inline constexpr int kActuatorSlots = 20;

struct ActuatorButton {
    int code;
    std::string_view text;
    std::string_view tool_tip;  // empty: none
};

inline constexpr std::array<ActuatorButton, 5> kSolenoidTests = {{
    {0, "Fuel Pump Relay", "Run fuel pump relay test"},
    {1, "Fuel Pressure Solenoid", "Run fuel pressure solenoid test."},
    {2, "Boost Control solenoid", "Run boost control solenoid test."},
    {3, "EGR Solenoid", "Run EGR solenoid test."},
    {4, "Purge Solenoid", "Run purge solenoid test."},
}};

inline constexpr std::array<ActuatorButton, 6> kInjectorTests = {{
    {5, "#1", ""},
    {6, "#2", ""},
    {7, "#3", ""},
    {8, "#4", ""},
    {9, "#5", ""},
    {10, "#6", ""},
}};

inline constexpr const char* kActuatorTitle = "Underhood actuators";
inline constexpr const char* kActuatorHeading = "Click a button to start/stop a test.";
inline constexpr const char* kInjectorHeading = "Fuel Injector Tests";
inline constexpr const char* kDoneText = "Done";
inline constexpr const char* kDoneTip = "Stop all tests and close the panel";

}  // namespace korv::logger
