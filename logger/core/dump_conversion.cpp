#include "logger/core/dump_conversion.h"

#include <array>
#include <vector>

#include "common/core/buffered_file_reader.h"
#include "common/core/byte_order.h"
#include "common/core/channel_ids.h"
#include "common/core/dump_records.h"
#include "common/core/storable_channels.h"
#include "common/core/vxm_minimal_writer.h"
#include "nativeio/include/korvio_files.h"

namespace korv::logger {
namespace {

namespace id = korv::channel_id;

// What the type-1 scaling of a code reads (the first value byte, the second,
// or the word of both; a constant counts as reading the second) and how: a
// word is multiplied by its factor, a byte goes through scale.
struct ObdScaling {
    ColumnScaler::ValueInput input;
    float (*scale)(float a, float b);
    float word_factor = 0;
};

ObdScaling obd_scaling(int code) {
    using Input = ColumnScaler::ValueInput;
    switch (code) {
    case id::kTiming: return {Input::second, [](float, float b) { return (b - 128.0f) * 0.5f; }};
    case id::kCoolantTemperature:
    case id::kIntakeAirTemperature: return {Input::second, [](float, float b) { return (b - 40.0f) * 1.8f + 32.0f; }};
    case id::kO2Voltage: return {Input::second, [](float, float b) { return b * 0.005f; }};
    case id::kThrottlePosition: return {Input::second, [](float, float b) { return b / 255.0f * 100.0f; }};
    case id::kEngineSpeed: return {Input::word, nullptr, 0.25f};  // a quarter, exactly
    case id::kInjectorPulseWidth: return {Input::first, [](float a, float) { return a * 0.256f; }};
    case id::kShortTermFuelTrim:
    case id::kLongTermFuelTrim:
    case 14: return {Input::second, [](float, float b) { return b / 128.0f * 100.0f - 100.0f; }};
    case id::kKnockSum: return {Input::first, [](float a, float) { return a; }};
    case id::kAirFlow: return {Input::word, nullptr, 0.132275f};
    case id::kSpeed: return {Input::second, [](float, float b) { return b * 0.6214f; }};
    default: return {Input::second, [](float, float) { return 0.0f; }};
    }
}

float convert_obd(int code, float a, float b, float w) {
    const ObdScaling scaling = obd_scaling(code);
    return scaling.input == ColumnScaler::ValueInput::word ? w * scaling.word_factor : scaling.scale(a, b);
}

float convert_dsm(int code, int a) {
    const float v = static_cast<float>(a);
    switch (code) {
    case id::kTiming: return v - 10.0f;
    case id::kCoolantTemperature: return static_cast<float>(198 - a);
    case id::kO2Voltage: return v * 0.02f;
    case id::kThrottlePosition: return v / 2.55f;
    case id::kEngineSpeed: return v * 31.37f;
    case id::kInjectorPulseWidth: return v * 0.256f;
    case id::kIntakeAirTemperature: return static_cast<float>(211 - a);
    case id::kShortTermFuelTrim:
    case id::kLongTermFuelTrim:
    case 14:
    // The high trim is logged by the DSM frame and scaled live like the
    // other two trims; a log must not hold it as 0.0.
    case id::kHighFuelTrim: return v * 1.27f;
    case id::kKnockSum: return v;
    case id::kAirFlow: return v * 6.2745f;
    default: return 0.0f;
    }
}

}  // namespace

float convert_sample(LogType type, int code, std::uint8_t a, std::uint8_t b) {
    switch (type) {
    case LogType::obd:
        return convert_obd(code, static_cast<float>(a), static_cast<float>(b), static_cast<float>(build_int(a, b)));
    case LogType::dsm: return convert_dsm(code, a);
    case LogType::pms: return 0.0f;
    }
    return 0.0f;
}

ColumnScaler::ColumnScaler(LogType type, std::uint8_t code)
    : type_(type),
      code_(code),
      // One-byte types read the first byte only.
      input_(type == LogType::obd ? obd_scaling(code).input : ValueInput::first),
      word_factor_(type == LogType::obd ? obd_scaling(code).word_factor : 0.0f) {
    if (input_ == ValueInput::word) return;
    for (int v = 0; v < 256; ++v) {
        const auto byte = static_cast<std::uint8_t>(v);
        table_[static_cast<std::size_t>(v)] = convert_sample(type, code, byte, byte);
    }
}

void ColumnScaler::scale_column(const std::uint8_t* in, std::size_t in_stride, std::size_t count,
                                std::size_t value_bytes, std::uint8_t* out, std::size_t out_stride) const {
    // Locals, so the byte stores cannot make the loops read them again.
    const LogType type = type_;
    const std::uint8_t code = code_;
    const float factor = word_factor_;
    const float* const table = table_.data();
    const bool two_bytes = value_bytes > 1;
    auto other = [type, two_bytes](const std::uint8_t* s) {
        return convert_sample(type, s[0], s[1], two_bytes ? s[2] : std::uint8_t{0});
    };
    switch (input_) {
    case ValueInput::first:
        for (std::size_t r = 0; r < count; ++r, in += in_stride, out += out_stride)
            store_f32_be(out, in[0] == code ? table[in[1]] : other(in));
        break;
    case ValueInput::second:
        for (std::size_t r = 0; r < count; ++r, in += in_stride, out += out_stride)
            store_f32_be(out, in[0] == code ? table[in[2]] : other(in));
        break;
    case ValueInput::word:
        for (std::size_t r = 0; r < count; ++r, in += in_stride, out += out_stride)
            store_f32_be(out, in[0] == code ? static_cast<float>(build_int(in[1], in[2])) * factor : other(in));
        break;
    }
}

namespace {

// The save's converter: each column scaled by its own scaler, a column of
// many records at a time.
struct DumpColumns {
    const ColumnScaler* scalers;
    float operator()(std::size_t channel, std::uint8_t code, std::uint8_t a, std::uint8_t b) const {
        return scalers[channel](code, a, b);
    }
    void scale_column(std::size_t channel, const std::uint8_t* in, std::size_t in_stride, std::size_t count,
                      std::size_t value_bytes, std::uint8_t* out, std::size_t out_stride) const {
        scalers[channel].scale_column(in, in_stride, count, value_bytes, out, out_stride);
    }
};

enum class DumpHead { read, cut_in_count, cut_in_codes };

// The dump's head as the conversion reads it: the low byte of the count,
// three bytes skipped, then one code per channel.
DumpHead read_dump_head(BufferedFileReader& dump, std::vector<std::uint8_t>& codes) {
    std::uint8_t count = 0;
    if (!dump.read_u8(count) || !dump.skip(korvio_files::kLoggerDumpCountBytes - 1)) return DumpHead::cut_in_count;
    codes.resize(count);
    if (count > 0 && !dump.read(codes.data(), count)) return DumpHead::cut_in_codes;
    return DumpHead::read;
}

}  // namespace

DumpCheck check_dump(LogType type, const std::string& dump_path) {
    DumpCheck check;
    BufferedFileReader dump(4096);
    if (!dump.open(dump_path)) {
        check.outcome = DumpCheck::Outcome::unreadable;
        check.error = dump.last_error();
        return check;
    }
    std::vector<std::uint8_t> codes;
    if (read_dump_head(dump, codes) != DumpHead::read || codes.empty()) return check;
    if (const auto id = first_unstorable_id(codes)) {
        check.outcome = DumpCheck::Outcome::unstorable_id;
        check.channel_id = *id;
        return check;
    }
    const std::int64_t record_bytes = static_cast<std::int64_t>(codes.size()) * (1 + traits_of(type).value_bytes);
    // A run that stored no whole record has nothing to save; a log of its
    // header alone would pass for an empty session.
    if (dump.remaining() >= record_bytes) check.outcome = DumpCheck::Outcome::ready;
    return check;
}

DumpConversion convert_dump(LogType type, const std::string& dump_path, const std::string& log_path) {
    DumpConversion result;
    BufferedFileReader dump;
    if (!dump.open(dump_path)) {
        result.error = dump.last_error();
        return result;
    }
    if (dump.size() == 0) {
        result.empty_dump = true;
        return result;
    }

    std::vector<std::uint8_t> codes;
    switch (read_dump_head(dump, codes)) {
    case DumpHead::read: break;
    case DumpHead::cut_in_count: result.error = dump_path + " ends inside its header"; return result;
    case DumpHead::cut_in_codes: result.error = dump_path + " ends inside its channel list"; return result;
    }
    const std::size_t channels = codes.size();
    if (const auto id = first_unstorable_id(codes)) {
        result.error = unstorable_channel_message(*id);
        return result;
    }

    VxmMinimalWriter log;
    if (auto error = log.open(log_path, codes)) {
        result.error = *error;
        return result;
    }

    std::vector<ColumnScaler> scalers;
    scalers.reserve(channels);
    for (const std::uint8_t code : codes) scalers.emplace_back(type, code);
    const DumpRecordsOutcome outcome =
        write_dump_records(dump, dump_path, log, channels, static_cast<std::size_t>(traits_of(type).value_bytes),
                           DumpColumns{scalers.data()});
    result.written = outcome.written;
    result.records = outcome.records;
    result.error = outcome.error;
    return result;
}

}  // namespace korv::logger
