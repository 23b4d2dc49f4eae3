#include "player/core/record_text.h"

#include <cstring>
#include <string_view>

#include "common/core/decimal_digits.h"
#include "common/core/java_numbers.h"

namespace korv::player {

// The text of one record, written straight into the buffer it is shown
// from. Inlined and kept apart from the buffer, the end of the text stays
// in a register from piece to piece instead of going through memory around
// each call; the buffer's room covers the longest text, so no piece checks
// for room.
class RecordTextWriter {
public:
    explicit RecordTextWriter(RecordTextBuffer& buffer) : buffer_(buffer), end_(buffer.chars_) {}

    [[gnu::always_inline]] void add(std::int64_t v) { end_ = put_decimal(end_, v); }
    [[gnu::always_inline]] void add(std::int32_t v) { end_ = put_decimal(end_, v); }
    [[gnu::always_inline]] void add(float v) { end_ = java_float_to_chars(end_, v); }
    // Literal words, their length known here.
    template <std::size_t N>
    [[gnu::always_inline]] void add(const char (&text)[N]) {
        std::memcpy(end_, text, N - 1);
        end_ += N - 1;
    }

    std::string_view finish() {
        buffer_.size_ = static_cast<std::size_t>(end_ - buffer_.chars_);
        return buffer_.text();
    }

private:
    RecordTextBuffer& buffer_;
    char* end_;
};

namespace {

template <typename... Pieces>
[[gnu::always_inline]] inline void put(RecordTextWriter& out, const Pieces&... pieces) {
    (out.add(pieces), ...);
}

// A field as the whole number it prints as; a sum of two is taken wider.
std::int32_t as_int(std::int32_t v) { return v; }
std::int32_t as_int(std::int8_t v) { return v; }
std::int64_t wide(std::int32_t v) { return v; }

}  // namespace

PmsSimulation unsimulated(const PmsRecord& record) {
    PmsSimulation sim;
    sim.adjust_fuel_pw = record.pms_pulsewidth;
    return sim;
}

VxmAnimation unanimated(const VxmPlayerModel& record) {
    VxmAnimation a;
    a.timing = record.vxm_timing;
    a.pulse_width = record.vxm_pulsewidth;
    a.o2 = record.vxm_o2voltage;
    return a;
}

std::string pms_record_text(std::int64_t cursor, const PmsRecord& record, const PmsSimulation& sim) {
    RecordTextBuffer buffer;
    return std::string(pms_record_text(buffer, cursor, record, sim));
}

std::string_view pms_record_text(RecordTextBuffer& out, std::int64_t cursor, const PmsRecord& r,
                                 const PmsSimulation& sim) {
    RecordTextWriter t(out);
    put(t, "{", cursor, "}", " Rpms: ", as_int(r.pms_ecu_rpms), "  Prs/Vac ", r.pms_pressure);

    put(t, "\nTPS: ", as_int(r.pms_tps));
    if (r.pms_airtemp != 0) put(t, "  Air: ", as_int(r.pms_airtemp));
    if (r.pms_watertemp != 0) put(t, "  Clt: ", as_int(r.pms_watertemp));
    put(t, "  O2: ", r.pms_o2voltage);

    put(t, "\nTiming ", as_int(r.pms_ecu_timing));
    if (r.pms_timingaddition != 0) put(t, "/", as_int(r.pms_timing), "(", as_int(r.pms_timingaddition), ")");
    put(t, " Dc:", duty_cycle(r.pms_pulsewidth, r.pms_ecu_rpms), "%");
    if (r.pms_acc != 0) put(t, " NOS");

    put(t, "\nFuel(pw) ", r.pms_ecu_pulsewidth);
    if (r.pms_fueladdition != 0 || sim.cell_locked) {
        put(t, "/", trim_decimals(sim.adjust_fuel_pw), "(", wide(r.pms_fueladdition) + sim.adjust_fuel_pcnt, "%)");
    }
    if (sim.adjust_fuel_pcnt != 0) put(t, "(", trim_decimals(sim.adjust_fuel_o2), ")");
    put(t, " Hz:", as_int(r.pms_hz));
    return t.finish();
}

std::string vxm_record_text(std::int64_t cursor, const VxmPlayerModel& record, const VxmTextExtras& extras) {
    RecordTextBuffer buffer;
    return std::string(vxm_record_text(buffer, cursor, record, extras));
}

std::string_view vxm_record_text(RecordTextBuffer& out, std::int64_t cursor, const VxmPlayerModel& r,
                                 const VxmTextExtras& x) {
    RecordTextWriter t(out);
    put(t, "{", cursor, "}", " Rpms: ", as_int(r.vxm_rpms), "  Prs/Vac ", r.vxm_pressure, " O2: ", r.vxm_o2voltage);
    if (r.vxm_o2 != 0.0f) put(t, "/", r.vxm_o2);

    put(t, "\nTPS: ", as_int(r.vxm_tps));
    if (r.vxm_airtemp != 0) put(t, "  Air: ", as_int(r.vxm_airtemp));
    if (r.vxm_watertemp != 0) put(t, "  Clt: ", as_int(r.vxm_watertemp));
    put(t, " Dc:", duty_cycle(r.vxm_pulsewidth, r.vxm_rpms), "%\nTiming ", as_int(r.vxm_timing));
    if (x.itc_adjustment && *x.itc_adjustment != 0) {
        put(t, "/", wide(r.vxm_timing) + *x.itc_adjustment, "(", as_int(*x.itc_adjustment), ")");
    }
    put(t, "  Knock: ", as_int(r.vxm_knock));

    put(t, "\nFuel(pw) ", r.vxm_pulsewidth);
    if (x.afc_old_percentage && *x.afc_old_percentage != 0) put(t, "(", *x.afc_old_percentage, ")");
    if (x.afc_new_percentage && *x.afc_new_percentage != 0) put(t, "(", *x.afc_new_percentage, ")");
    if (x.simulator) {
        const VxmSimulatorPiece& s = *x.simulator;
        put(t, "/", s.pulse_width_in_full ? s.pulse_width : trim_decimals(s.pulse_width), "(", as_int(s.delta), ")",
            "|", trim_decimals(s.o2));
    }

    put(t, " Hz:", r.vxm_afhz, " MPH:", as_int(r.vxm_mph));

    if (r.vxm_mph != 0 || r.vxm_map != 0 || r.vxm_load != 0) {
        put(t, "\n");
        if (r.vxm_mph != 0) put(t, "MPH: ", as_int(r.vxm_mph), " ");
        if (r.vxm_map != 0) put(t, "MAP: ", as_int(r.vxm_map), " ");
        if (r.vxm_load != 0) put(t, "Load: ", as_int(r.vxm_load), " ");
    }

    if (r.vxm_s1 != 0 || r.vxm_l1 != 0 || r.vxm_s2 != 0 || r.vxm_l2 != 0) put(t, "\n");
    if (r.vxm_s1 != 0 || r.vxm_s2 != 0 || r.vxm_o2trim != 0) put(t, "STrim ");
    if (r.vxm_s1 != 0) put(t, "1: ", as_int(r.vxm_s1), " ");
    if (r.vxm_s2 != 0) put(t, "2: ", as_int(r.vxm_s2), " ");
    if (r.vxm_l1 != 0 || r.vxm_l2 != 0) put(t, "LTrim ");
    if (r.vxm_l1 != 0) put(t, "1: ", as_int(r.vxm_l1), " ");
    if (r.vxm_l2 != 0) put(t, "2: ", as_int(r.vxm_l2), " ");
    if (r.vxm_o2trim != 0) put(t, "O2 Trim: ", as_int(r.vxm_o2trim), " ");
    return t.finish();
}

}  // namespace korv::player
