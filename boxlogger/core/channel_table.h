#pragma once
// VXMlog's channel table: one row per channel the box program can log, with
// its label, kind, chart scale, units, display precision and trace colour.
//
// The table is process-wide and belongs to the GUI thread: it is reset at
// start-up, edited in place by the dialogs and the chart, and freed at exit.
// Documents copy rows into their own attributes, so later edits do not reach
// an open document. Texts are Windows-1252 bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korv::boxlogger {

// What a channel holds; decides how its values read as text.
enum ChannelKind : std::int32_t {
    kKindTdcSensor = -2,
    kKindSwitch = -1,
    kKindValue = 0,
    kKindFaultCodes = 1,
    kKindSoftwareVersion = 2,
    kKindModuleId = 3,
    kKindEcuId = 4,
    kKindTrigger = 5,
};

struct ChannelRow {
    std::int32_t id = -1;
    std::string label;
    std::int32_t kind = kKindValue;
    float min = 0.0f;
    float max = 0.0f;
    std::optional<std::string> units;  // none differs from the empty text when saved
    std::int32_t precision = 0;        // decimals; -1 automatic; a trigger's number for kind 5
    std::uint32_t colour = 0;          // 0x00BBGGRR

    bool operator==(const ChannelRow&) const = default;
};

inline constexpr int kChannelRowCount = 47;
// A channel id list as passed between the document, Data Select, the quick
// selects and the DRB II and tuning pages ends with this value.
inline constexpr std::int32_t kChannelListEnd = 59;
inline constexpr char kDegreeSign[] = "\xB0";

// The 47 built-in rows in table order; never changed.
std::span<const ChannelRow> BuiltInChannelRows();

// Replaces the current table by a fresh copy of the built-in rows.
void ResetChannelTable();
// Drops the table; lookups find nothing until the next reset.
void FreeChannelTable();
// The current rows in table order (empty while the table is absent). Before
// the first reset these are the built-in rows.
std::span<ChannelRow> ChannelRows();

// Rows are edited in place through these; a pointer stays valid until the
// next reset or free.
ChannelRow* FindChannelById(int id);
// Letter case is ignored (ASCII only, as the labels are).
ChannelRow* FindChannelByLabel(std::string_view label);

std::optional<std::string> GetChannelLabel(int id);
int GetChannelIdByLabel(std::string_view label);  // -1 when unknown
// The trace colour, or -1 when the id has no row.
std::int64_t GetChannelAttribute(int id);
void SetChannelAttribute(int id, std::uint32_t colour);  // unknown ids are ignored

// A label to its id, accepting the older names "RPM", "Oxy Trim" and
// "Acceleration Enrichment"; -1 when unknown.
int ResolveChannelLabel(std::string_view label);

// The tabs of the channel choosers, in tab order, and the group of each
// channel that is offered in them.
struct ChannelGroup {
    const char* tab;
    std::uint32_t bit;
};
struct ChannelGroupEntry {
    std::int32_t id;
    std::uint32_t mask;
};
std::span<const ChannelGroup> ChannelGroups();
std::span<const ChannelGroupEntry> ChannelGroupTable();
// 0 for a channel in no group.
std::uint32_t ChannelGroupMask(int id);

}  // namespace korv::boxlogger
