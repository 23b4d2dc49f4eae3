#include "player/core/handheld_dump.h"

#include "common/core/buffered_file_reader.h"
#include "common/core/dump_records.h"
#include "common/core/java_numbers.h"
#include "common/core/storable_channels.h"
#include "common/core/vxm_minimal_writer.h"
#include "nativeio/include/korvio_files.h"

#include <sys/stat.h>

#include <vector>

namespace korv::player {
namespace {

bool is_plain_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<HandheldLogKind> kind_of_width(int width) {
    if (width == 2) return HandheldLogKind::two_byte;
    if (width == 1) return HandheldLogKind::one_byte;
    return std::nullopt;
}

// The count is a signed byte on the handheld's side.
int channel_count(std::uint8_t byte) { return static_cast<std::int8_t>(byte); }

bool channel_count_fits(int channels) { return channels >= 1 && channels <= korvio_files::kMaxHandheldChannels; }

std::int64_t record_bytes(int channels, int width) { return std::int64_t{channels} * (width + 1); }

}  // namespace

std::string unsupported_width_message(int width) {
    return "The handheld log has an unsupported value width (" + std::to_string(width) +
           "); only one- and two-byte values can be saved. " + korvio_files::kHandheldDumpName + " is kept.";
}

HandheldDumpCheck check_handheld_dump(const std::string& dump_path) {
    HandheldDumpCheck check;
    if (!is_plain_file(dump_path)) return check;
    BufferedFileReader dump(4096);
    std::uint8_t head[korvio_files::kHandheldHeadBytes];
    if (!dump.open(dump_path) || !dump.read(head, 1)) return check;

    check.width = head[0];
    const auto kind = kind_of_width(check.width);
    if (!kind) {
        check.outcome = HandheldDumpCheck::Outcome::unsupported_width;
        return check;
    }
    check.kind = *kind;
    if (!dump.read(head + 1, 1)) return check;
    check.channels = channel_count(head[1]);
    if (!channel_count_fits(check.channels)) return check;
    std::vector<std::uint8_t> ids(static_cast<std::size_t>(check.channels));
    if (!dump.read(ids.data(), ids.size())) return check;
    // The player refuses a log naming such an id, so none is written.
    if (const auto id = first_unstorable_id(ids)) {
        check.outcome = HandheldDumpCheck::Outcome::unstorable_id;
        check.channel_id = *id;
        return check;
    }

    const std::int64_t after_header = dump.size() - korvio_files::kHandheldHeadBytes - check.channels;
    if (after_header <= 0) return check;
    check.whole_records = after_header / record_bytes(check.channels, check.width);
    if (check.whole_records > 0) check.outcome = HandheldDumpCheck::Outcome::ready;
    return check;
}

HandheldConversion convert_handheld_dump(const std::string& dump_path, const std::string& log_path,
                                         std::ostream& console) {
    HandheldConversion result;
    BufferedFileReader dump;
    if (!dump.open(dump_path)) {
        result.error = dump.last_error();
        return result;
    }
    std::uint8_t head[korvio_files::kHandheldHeadBytes];
    if (!dump.read(head, korvio_files::kHandheldHeadBytes)) {
        result.error = dump_path + " ends inside its header";
        return result;
    }
    const auto kind = kind_of_width(head[0]);
    const int channels = channel_count(head[1]);
    if (!kind) {
        result.error = unsupported_width_message(head[0]);
        return result;
    }
    if (!channel_count_fits(channels)) {
        result.error = dump_path + " announces " + std::to_string(channels) + " channels";
        return result;
    }
    std::vector<std::uint8_t> ids(static_cast<std::size_t>(channels));
    if (!dump.read(ids.data(), ids.size())) {
        result.error = dump_path + " ends inside its channel list";
        return result;
    }
    if (const auto id = first_unstorable_id(ids)) {
        result.error = unstorable_channel_message(*id);
        return result;
    }

    VxmMinimalWriter log;
    if (auto error = log.open(log_path, ids)) {
        result.error = *error;
        return result;
    }

    const DumpRecordsOutcome outcome =
        write_dump_records(dump, dump_path, log, ids.size(), static_cast<std::size_t>(value_width(*kind)),
                           [&](std::size_t, std::uint8_t code, std::uint8_t a, std::uint8_t b) {
                               const float value = convert_handheld_sample(*kind, code, a, b);
                               if (*kind == HandheldLogKind::two_byte && code == kHandheldAirFlowCode) {
                                   console << "mas: " << java_float_to_string(value) << '\n';
                               }
                               return value;
                           });
    result.written = outcome.written;
    result.records = static_cast<std::int64_t>(outcome.records);
    result.error = outcome.error;
    return result;
}

}  // namespace korv::player
