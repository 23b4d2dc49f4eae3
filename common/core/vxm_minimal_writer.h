#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/core/atomic_file_writer.h"
#include "common/core/vxm_document.h"

// Writer of the minimal-header VXM logs (".db1", ".db2", ".db3", the CSV
// conversion's scratch log). The header is written byte by byte so that the
// channel count and ids sit where a little-endian reader expects them:
//   4 zero bytes (version 0), 0 (empty title), N, 0, 0,
//   per channel 30 bytes, all zero but byte 14 = the channel id,
//   5 zero bytes;
// records follow, each float 0.0 (the time slot) and the N values, all
// big-endian. The records begin at offset 13 + 30 * N. By position this is
// the version-2 layout of vxm_document.h with empty texts, which is how the
// player's reader reads both.
//
// The file replaces any earlier one of the name only on commit().
// Functions return nullopt on success, else a message for the user.
namespace korv {

class VxmMinimalWriter {
public:
    static constexpr std::size_t kMaxChannels = 255;  // N is one byte

    std::optional<std::string> open(const std::string& path, std::span<const std::uint8_t> channel_ids);
    // Exactly N values, in the channel order given to open().
    std::optional<std::string> append_record(std::span<const float> values);
    // Whole records back to back, N values each (N > 0): one call for many.
    std::optional<std::string> append_records(std::span<const float> values);
    std::optional<std::string> commit();
    void discard();

private:
    AtomicFileWriter out_;
    std::size_t channel_count_ = 0;
};

}  // namespace korv
