#pragma once
// The text form of handheld records: 2-byte records of a channel id and a
// one-byte value, one line per record with the value scaled for people
// ("Rpm: 2008 "). On the demonstration port (kDemoPort) a fixed value per
// channel stands in for the record's value byte. Numbers are printed the
// same whatever the process locale.
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

namespace korv::korvio {

// One record's item, without the line end.
std::string handheld_record_item(std::uint8_t id, std::uint8_t value, int port);

// The items of the first `count` records of `records` (id, value, id,
// value, ...), each followed by a line end. Only whole records the span
// holds are written, whatever the count says.
void write_handheld_record_text(std::span<const std::uint8_t> records, int count, int port, std::ostream& out);

}  // namespace korv::korvio
