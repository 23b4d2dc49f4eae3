#pragma once
// The unit's memory as the library's download leaves it (temp.bcf, records
// of a 4-digit hex address and 16 bytes in hex) turned into the PMS
// settings image tmp.e2p.
#include <cstdint>
#include <string>
#include <vector>

namespace korv::editors::pms {

inline constexpr int kImageBytes = 8191;  // 0xA000-0xBFFE
inline constexpr int kDumpBufferBytes = 10000;
inline constexpr const char* kDownloadImageName = "tmp.e2p";
inline constexpr const char* kDownloadIncomplete = "EEprom download incomplete!";
inline constexpr const char* kUnableToProcessDownload = "Unable to process eeprom download: ";

struct DumpParse {
    enum class Outcome { complete, incomplete, unreadable };
    Outcome outcome = Outcome::incomplete;
    std::vector<std::uint8_t> buffer;  // kDumpBufferBytes; index i is address 0xA000 + i
    std::string message;               // what the user is told unless complete
};

// A dump is complete only when every block address 0xA000..0xBFF0 occurs
// with good hex. A record whose address or data does not parse is skipped
// whole; a record cut by the end of the file makes the dump unreadable.
DumpParse parse_eeprom_dump(const std::vector<std::uint8_t>& dump);

// Reads the dump and, when complete, writes the image's first
// kImageBytes as a whole (temp + rename). Empty: done; else the message.
std::string convert_eeprom_dump(const std::string& dump_path, const std::string& image_path);

}  // namespace korv::editors::pms
