#pragma once
// What the DRB II sheet and the tuning-variables sheet show: their pages,
// the rows of each page, the actuator buttons, their fixed texts, and the
// small decisions about what a reading or a typed text means. Texts are
// Windows-1252 bytes (all ASCII here).
#include "boxlogger/core/channel_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korv::boxlogger {

enum class DrbPageKind { ModuleInfo, Errors, GeneralIo, Actuators };

struct DrbPageSpec {
    DrbPageKind kind;
    int dialog;
    const char* caption;
    const int* ids;  // ended by kChannelListEnd
};

// The nine pages of the DRB II sheet, in sheet order.
std::span<const DrbPageSpec> DrbPages();
// The two pages of the tuning-variables sheet (dialog 148).
std::span<const DrbPageSpec> VxmVarsPages();

// The ids of a list ended by kChannelListEnd, at most `limit` of them.
std::vector<int> IdsOf(const int* ids, std::size_t limit = 64);

// Rows of a general I/O page: label 1016 + i, value 1028 + i; the tuning
// pages add new-value edit 1107 + i.
inline constexpr int kMaxGeneralIoRows = 12;
inline constexpr int kRowLabelId = 1016;
inline constexpr int kRowValueId = 1028;
inline constexpr int kVoltageToggleId = 1040;
inline constexpr int kNewValueEditId = 1107;
inline constexpr int kMaxTuningRows = 6;

struct ActuatorSpec {
    int button;
    const char* text;
    int channel_id;
    const char* notice;
    const char* refusal;
    bool injector;  // under "Injectors", else under "Solenoids"
};

// The eleven actuator buttons in the order they are laid out.
std::span<const ActuatorSpec> Actuators();
inline constexpr int kDisable5Button = 1045;
inline constexpr int kDisable6Button = 1046;

// Channel ids the pages use.
inline constexpr int kModuleIdChannel = 49;
inline constexpr int kEcuIdChannel = 50;
inline constexpr int kFaultCodesChannel = 51;
inline constexpr int kSoftwareVersionChannel = 52;
inline constexpr int kClearCodesCommand = 37;
inline constexpr int kVxmModuleId = 0x54;

namespace drb_text {
inline constexpr char kSheetTitle[] = "DRB II Data";
inline constexpr char kVarsSheetTitle[] = "VXM Variables";
inline constexpr char kLinkDown[] = "Could not send command - link is down";
inline constexpr char kManualReset1990[] = "The error codes in a 1990 ECU may only be cleared by a manual reset";
inline constexpr char kClearFailed[] = "Could not clear error codes.";
inline constexpr char kClearErrors[] = "&Clear Errors";
inline constexpr char kClearingNotice[] = "Clearing error codes";
inline constexpr char kViewVoltages[] = "View Sensor Voltages";
inline constexpr char kViewValues[] = "View Sensor Values";
inline constexpr char kVxmModified[] = "VXM Modified";
inline constexpr char kUpdateLinkDown[] = "Could not send update command - link is down";
inline constexpr char kUpdateFailed[] = "Problem updating variable";
inline constexpr char kUpdatingNotice[] = "Updating tuning variables";
inline constexpr char kCurrent[] = "Current";
inline constexpr char kWarning[] =
    "WARNING!  USE OF THESE VARIABLES COULD DESTROY YOUR ENGINE!  EXTREME CAUTION ADVISED!  BEST NOT TO MODIFY "
    "WHILE ENGINE IS RUNNING!";
inline constexpr char kCollecting[] = "Data collection already in progress";
}  // namespace drb_text

// "%04X" of module id x 256 + ECU id.
std::string ModuleIdText(int module_raw, int ecu_raw);
// The list lines of a fault-code text: each line, then the rest after the
// last line feed (so no codes is one empty line).
std::vector<std::string> FaultLines(std::string_view text);
// Engines from 1.8 to 2.0 litres have four cylinders: no #5 and #6. The
// description's leading number is read in double precision.
bool HasFourCylinders(std::string_view engine_text);
// After leading spaces and one sign, a digit or "." and a digit.
bool LooksLikeNumber(std::string_view text);

}  // namespace korv::boxlogger
