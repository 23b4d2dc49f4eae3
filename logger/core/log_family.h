#pragma once

#include <array>
#include <string_view>

#include "nativeio/include/korvio_files.h"

// The logger's three interface families. Each has its own button, settings
// frame, logging thread, stop flag, sample dump and log type.
namespace korv::logger {

enum class LogFamily { obd = 0, dsm = 1, pms = 2 };

inline constexpr std::array<LogFamily, 3> kFamilies = {LogFamily::obd, LogFamily::dsm, LogFamily::pms};
// Stop and close walk the families in this order.
inline constexpr std::array<LogFamily, 3> kStopOrder = {LogFamily::obd, LogFamily::pms, LogFamily::dsm};

// The log type the logging thread hands to the save step.
enum class LogType { obd = 1, dsm = 2, pms = 3 };

struct FamilyTraits {
    LogType type;
    std::string_view button_text;
    std::string_view tool_tip;
    std::string_view frame_title;
    int preset_cable_choice;     // cable choice index the frame locks; 0 = the user chooses
    std::string_view dump_name;  // in the working directory
    int value_bytes;             // bytes after each sample's code byte
    std::string_view extension;  // lower case, with the dot
    std::string_view fallback_name;
};

constexpr int index_of(LogFamily family) { return static_cast<int>(family); }

inline constexpr std::array<FamilyTraits, 3> kFamilyTraits = {{
    {LogType::obd, "OBD-II", "Log OBD-II data (most 95/96 and later cars)", "OBD-II (ISO 9141) - Data logger settings",
     0, korvio_files::kObdDump.name, korvio_files::kObdDump.value_bytes, ".db1", "temp.db1"},
    {LogType::dsm, "DRB", "Log 1st generation DSM data", "1st Generation DSM - Data logger settings", 5,
     korvio_files::kDsmDump.name, korvio_files::kDsmDump.value_bytes, ".db2", "temp.db2"},
    {LogType::pms, "PMS", "Log EFI Systems PMS data", "EFI Systems PMS - Data logger settings", 6, "kvt3.tmp", 1,
     ".db3", "temp.db3"},
}};

constexpr const FamilyTraits& traits_of(LogFamily family) { return kFamilyTraits[index_of(family)]; }
constexpr const FamilyTraits& traits_of(LogType type) { return kFamilyTraits[static_cast<int>(type) - 1]; }

// Item slots of a settings frame: slot 0 the link probe's item, 1-14 logged
// items; the chart windows are indexed the same way.
inline constexpr int kItemSlots = 20;
using ItemList = std::array<int, kItemSlots>;

}  // namespace korv::logger
