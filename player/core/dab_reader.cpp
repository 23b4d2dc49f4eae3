#include "player/core/dab_reader.h"

#include <cstdlib>

#include "common/core/byte_order.h"
#include "common/core/java_numbers.h"

namespace korv::player {
namespace {

constexpr float kPulseWidthPerCount = 0.1388f;  // ms per count, as the logger stores it

std::int8_t s8(const std::uint8_t* p) { return static_cast<std::int8_t>(*p); }

}  // namespace

float decode_pms_pressure(std::int8_t lo, std::int8_t hi) {
    // Both bytes sign-extended before they are combined, so a negative low
    // byte covers the high one.
    const std::int32_t v = (static_cast<std::int32_t>(hi) << 8) | static_cast<std::int32_t>(lo);
    float p = static_cast<float>(v) * 0.1f;
    if ((hi == 0 || hi == -2) && lo < 0) p = p + 25.5f;
    if (hi == -2 && p > 0.0f) p = -p;
    return trim_decimals(p);
}

void decode_pms_record(const std::uint8_t* r, std::size_t available, PmsRecord& out) {
    // Each step needs the bytes up to its field's last one.
    auto has = [available](std::size_t last_offset) { return last_offset < available; };

    if (!has(6)) return;
    out.pms_ecu_rpms = load_u16_le(r + 5) * 10;
    if (!has(7)) return;
    out.pms_ecu_timing = s8(r + 7);
    if (!has(8)) return;
    out.pms_timing = s8(r + 8);
    if (!has(12)) return;
    out.pms_ecu_pulsewidth = trim_decimals(static_cast<float>(load_u16_le(r + 11)) * kPulseWidthPerCount);
    if (!has(14)) return;
    out.pms_pulsewidth = trim_decimals(static_cast<float>(load_u16_le(r + 13)) * kPulseWidthPerCount);
    if (!has(16)) return;
    const std::int32_t t = s8(r + 16);
    out.pms_watertemp = 269 - 3 * (t >= 0 ? t : t - 1);
    if (!has(19)) return;
    const float o2 = static_cast<float>(s8(r + 19)) * 0.02f - 0.02f;
    out.o2_target = o2;
    out.pms_o2voltage = trim_decimals(o2);
    if (!has(22)) return;
    out.pms_airtemp = 201 - std::abs(static_cast<std::int32_t>(s8(r + 22)));
    if (!has(25)) return;
    out.pms_tps = s8(r + 25);
    if (!has(30)) return;
    out.pms_pressure = decode_pms_pressure(s8(r + 29), s8(r + 30));
    if (!has(32)) return;
    out.pms_hz = load_u16_le(r + 31);
    if (!has(37)) return;
    out.pms_fueladdition = s8(r + 37);
    if (!has(43)) return;
    out.pms_timingaddition = s8(r + 43);
    if (!has(51)) return;
    out.pms_acc = (r[51] & 1) != 0 ? 1 : 0;
}

std::optional<std::string> DabReader::open(const std::string& path) {
    close();
    if (!file_.open(path)) return file_.last_error();
    return std::nullopt;
}

void DabReader::close() {
    file_.close();
    log_records_ = 0;
}

std::optional<std::string> DabReader::dab_header() {
    log_records_ = 0;
    if (!file_.update_size()) return "3) Unable to open file: " + file_.last_error();
    const std::int64_t body = file_.size() - kDabHeaderBytes;
    log_records_ = body > 0 ? body / kDabRecordBytes : 0;
    return std::nullopt;
}

void DabReader::seek_record(std::int64_t n) { file_.seek(kDabHeaderBytes + n * kDabRecordBytes); }

bool DabReader::read_pms_record() {
    const std::int64_t start = file_.position();
    if (const std::uint8_t* p = file_.take(static_cast<std::size_t>(kDabRecordBytes))) {
        decode_pms_record(p, static_cast<std::size_t>(kDabRecordBytes), record_);
        return true;
    }
    // Cut short (the file shrank, or an I/O error): decode what can be had.
    file_.seek(start);
    std::uint8_t bytes[kDabRecordBytes];
    std::size_t got = 0;
    while (got < sizeof bytes && file_.read(bytes + got, 1)) ++got;
    decode_pms_record(bytes, got, record_);
    return got > 0;
}

}  // namespace korv::player
