#pragma once

#include <array>
#include <cstdint>
#include <string>

// The items each column control of the CSV conversion offers, and the
// channel id each item writes.
namespace korv::player {

inline constexpr int kCsvItemCount = 12;
inline constexpr int kCsvColumnItem = 0;   // "Column n": the column is ignored
inline constexpr int kCsvNotUsedItem = 1;  // "not used"

// Item 0 reads "Column " + the column's number from 1.
std::string csv_item_text(int item, int column_number);
// -2 and -1 for the two ignoring items; 98 and 99 for "Boost/Vac" and
// "Time", which have no player slot; -1 for an index outside the list.
std::int32_t csv_channel_id(int item);
// A column is converted when it was given a quantity with a channel id of
// 0..19.
bool csv_column_kept(int item);

}  // namespace korv::player
