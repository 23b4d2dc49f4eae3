#include "player/core/csv_columns.h"

#include "common/core/channel_ids.h"

namespace korv::player {
namespace {

struct Item {
    const char* text;
    std::int32_t channel_id;
};

// "Coolant Temp" and "Water Temp" are the same quantity: both write the
// coolant temperature.
constexpr std::array<Item, kCsvItemCount> kItems{{
    {"Column ", -2},
    {"not used", -1},
    {"Rpms", channel_id::kEngineSpeed},
    {"Knock", channel_id::kKnockSum},
    {"O2 Voltage", channel_id::kO2Voltage},
    {"Tps", channel_id::kThrottlePosition},
    {"Timing", channel_id::kTiming},
    {"Water Temp", channel_id::kCoolantTemperature},
    {"Coolant Temp", channel_id::kCoolantTemperature},
    {"Pulse width", channel_id::kInjectorPulseWidth},
    {"Boost/Vac", 98},
    {"Time", 99},
}};

}  // namespace

std::string csv_item_text(int item, int column_number) {
    if (item < 0 || item >= kCsvItemCount) return {};
    if (item == kCsvColumnItem) return kItems[0].text + std::to_string(column_number);
    return kItems[static_cast<std::size_t>(item)].text;
}

std::int32_t csv_channel_id(int item) {
    if (item < 0 || item >= kCsvItemCount) return -1;
    return kItems[static_cast<std::size_t>(item)].channel_id;
}

bool csv_column_kept(int item) {
    const std::int32_t id = csv_channel_id(item);
    return item > kCsvNotUsedItem && id >= 0 && id <= 19;
}

}  // namespace korv::player
