#include "common/core/vxm_player_reader.h"

#include <algorithm>

#include "common/core/byte_order.h"
#include "common/core/channel_ids.h"
#include "common/core/count_text.h"
#include "common/core/counted_string.h"
#include "common/core/java_numbers.h"
#include "common/core/vxm_record_decoder.h"

namespace korv {
namespace {

constexpr const char* kHeaderError = "4) Unable to open file: ";
constexpr const char* kRecordError = "6) Unable to open file: ";

float decode_float(const std::uint8_t* p, FloatOrder order) {
    return order == FloatOrder::big ? load_f32_be(p) : load_f32_le(p);
}

}  // namespace

std::optional<std::string> VxmPlayerReader::open(const std::string& path, FloatOrder order) {
    close();
    order_ = order;
    if (!file_.open(path)) return kHeaderError + file_.last_error();
    return vxg_header();
}

void VxmPlayerReader::close() {
    file_.close();
    model_ = VxmPlayerModel{};
    has_log_ = false;
}

std::optional<std::string> VxmPlayerReader::vxg_header() {
    model_ = VxmPlayerModel{};
    has_log_ = false;
    if (auto error = parse_header()) {
        model_ = VxmPlayerModel{};
        return kHeaderError + *error;
    }
    has_log_ = true;
    return std::nullopt;
}

// Walks the version-2 layout of vxm_document.h whatever the version: only
// the string lengths and the ids are looked at.
std::optional<std::string> VxmPlayerReader::parse_header() {
    if (!file_.is_open()) return std::string("no file is open");
    if (!file_.update_size()) return file_.last_error();

    std::string error;
    auto skip_string = [&](const char* what) -> bool {
        const auto length = read_counted_string_length(file_, error);
        if (!length) {
            error = std::string(what) + ": " + error;
            return false;
        }
        if (*length > static_cast<std::uint64_t>(file_.remaining())) {
            error = std::string(what) + " of " + counted(*length, "byte", "bytes") + " runs past the end of the file";
            return false;
        }
        return file_.skip(*length);
    };
    auto skip = [&](std::uint64_t n) -> bool {
        if (file_.skip(n)) return true;
        error = file_.last_error();
        return false;
    };

    file_.seek(kVxmFieldBytes);  // the version is not consulted
    if (!skip_string("title")) return error;

    std::uint32_t count = 0;
    if (!file_.read_u32_le(count)) return "channel count: " + file_.last_error();
    if (count > kPlayerMaxChannels) {
        return "channel count " + std::to_string(count) + " is over " + std::to_string(kPlayerMaxChannels);
    }

    for (std::uint32_t i = 0; i < count; ++i) {
        if (!skip(kVxmFieldsBeforeUnits * kVxmFieldBytes)) return error;
        if (!skip_string("units")) return error;
        if (!skip(kVxmFieldsBeforeId * kVxmFieldBytes)) return error;
        std::uint32_t id = 0;
        if (!file_.read_u32_le(id)) return "channel id: " + file_.last_error();
        if (!player_accepts_id(id)) {
            return "channel " + std::to_string(i + 1) + " has id " + std::to_string(id) + ", outside " +
                   std::to_string(kPlayerMinChannelId) + " to " + std::to_string(kPlayerMaxChannelId);
        }
        model_.vxm_type[i + 1] = player_slot_of_id(static_cast<std::int32_t>(id));
        if (!skip(kVxmFieldsBeforeLabel * kVxmFieldBytes)) return error;
        if (!skip_string("label")) return error;
        if (!skip(kVxmFieldsAfterLabel * kVxmFieldBytes)) return error;
    }
    // The stored sample count is not trusted: the file's length decides.
    if (!skip(kVxmFieldBytes)) return error;

    model_.vxm_parm_count = static_cast<std::int32_t>(count);
    model_.first_record = file_.position();
    model_.log_record_length = static_cast<std::int64_t>(vxm_record_bytes(count));
    model_.log_records = (file_.size() - model_.first_record) / model_.log_record_length;
    return std::nullopt;
}

std::string VxmPlayerReader::seek_refusal(std::int64_t n) const {
    if (!has_log_) return std::string(kRecordError) + "no log is open";
    if (n < 0) return kRecordError + std::string("record ") + std::to_string(n) + " does not exist";
    return kRecordError + std::string("record ") + std::to_string(n) + " lies beyond any file";
}

std::optional<std::string> VxmPlayerReader::read_vxm_record(NamedFields named) {
    if (!has_log_) return std::string(kRecordError) + "no log is open";
    const auto length = static_cast<std::size_t>(model_.log_record_length);
    const std::int64_t start = file_.position();
    const std::uint8_t* p = file_.take(length);
    if (p == nullptr) {
        file_.seek(start);
        return read_record_slowly();
    }

    // Whole record at once: decode into a local block, then scatter by slot.
    float values[kPlayerSlots];
    const int count = model_.vxm_parm_count;
    decode_trimmed_floats(p, order_, values, static_cast<std::size_t>(count) + 1);
    model_.vxm_data_fields[kPlayerTimeSlot] = values[0];
    for (int i = 1; i <= count; ++i) model_.vxm_data_fields[model_.vxm_type[i]] = values[i];
    if (named == NamedFields::fill) model_.fill_named_fields();
    return std::nullopt;
}

VxmRecordBlock VxmPlayerReader::read_vxm_records(std::span<float> out) {
    VxmRecordBlock block;
    if (!has_log_) {
        block.error = std::string(kRecordError) + "no log is open";
        return block;
    }
    const auto values_per_record = static_cast<std::size_t>(model_.vxm_parm_count) + 1;
    const auto length = static_cast<std::size_t>(model_.log_record_length);
    const std::int64_t whole_records = file_.remaining() / model_.log_record_length;
    std::int64_t wanted =
        std::min<std::int64_t>(static_cast<std::int64_t>(out.size() / values_per_record), whole_records);
    // As many records as the read buffer holds at a time, decoded straight from it.
    const auto per_take = static_cast<std::int64_t>(BufferedFileReader::kDefaultBufferSize / length);
    float* dst = out.data();
    while (wanted > 0) {
        const std::int64_t records = std::min(wanted, per_take);
        const std::uint8_t* p = file_.take(static_cast<std::size_t>(records) * length);
        if (p == nullptr) {
            block.error = kRecordError + file_.last_error();
            return block;
        }
        const std::size_t values = static_cast<std::size_t>(records) * values_per_record;
        decode_trimmed_floats(p, order_, dst, values);
        dst += values;
        block.records += records;
        wanted -= records;
    }
    return block;
}

// A record cut short by the end of the file (or an I/O error): float by
// float, so the values before the failure still arrive and the rest read 0.0.
std::optional<std::string> VxmPlayerReader::read_record_slowly() {
    std::optional<std::string> error;
    model_.vxm_data_fields[kPlayerTimeSlot] = getfloat(error);
    for (int i = 1; i <= model_.vxm_parm_count; ++i) {
        model_.vxm_data_fields[model_.vxm_type[i]] = getfloat(error);
    }
    model_.fill_named_fields();
    return error;
}

float VxmPlayerReader::getfloat(std::optional<std::string>& error) {
    std::uint8_t bytes[4];
    if (!file_.read(bytes, sizeof bytes)) {
        if (!error) error = kRecordError + file_.last_error();
        return 0.0f;
    }
    return trim_decimals(decode_float(bytes, order_));
}

}  // namespace korv
