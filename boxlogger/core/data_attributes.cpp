#include "boxlogger/core/data_attributes.h"

#include <algorithm>
#include <cmath>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/ecu_text.h"
#include "common/core/java_numbers.h"
#include "common/core/number_text.h"

namespace korv::boxlogger {
namespace {

// An integer value's low bits, as a C cast through int would give them.
std::uint32_t low_bits(float value) { return static_cast<std::uint32_t>(saturating_float_to_int32(value)); }

}  // namespace

std::string LongUnits(std::string_view units) {
    if (units == kDegreeSign) return "degrees";
    if (units == "V") return "volts";
    if (units == "%") return "percent";
    return std::string(units);
}

CDataAttributes::CDataAttributes(int channel_id, CVariable* live_variable) : id(channel_id), variable(live_variable) {
    const ChannelRow* row = FindChannelById(channel_id);
    if (row == nullptr) {
        label = kCommandLabel;
        return;
    }
    min = row->min;
    max = row->max;
    precision = row->precision;
    label = row->label;
    units = row->units.value_or(std::string());
    long_units = LongUnits(units);
    colour = row->colour;
    kind = row->kind;
}

int CDataAttributes::DecimalsFor(float value) const {
    if (precision >= 0) return precision;
    if (value == 0.0f) return 0;
    // NaN and infinities saturate and are then clamped like any other value.
    const double wanted = 2.999999 - std::log10(std::fabs(static_cast<double>(value)));
    return std::clamp(saturating_double_to_int32(wanted), 0, 5);
}

std::string CDataAttributes::FormatWithoutUnits(float value) const {
    switch (kind) {
    case kKindValue: return format_fixed(value, DecimalsFor(value));
    case kKindFaultCodes: return FormatFaultCodes(static_cast<std::uint16_t>(low_bits(value)));
    case kKindSoftwareVersion: return FormatModelYear(static_cast<std::uint8_t>(low_bits(value)));
    case kKindModuleId: return FormatModuleType(static_cast<std::uint8_t>(low_bits(value)));
    case kKindEcuId: return FormatEngineCode(static_cast<std::uint8_t>(low_bits(value)));
    case kKindTrigger: return value >= 0.5f ? "Triggered" : "Off";
    case kKindSwitch: return value >= 0.5f ? "On" : "Off";
    case kKindTdcSensor: return value >= 0.5f ? "High" : "Low";
    default: return format_fixed(value, DecimalsFor(value));
    }
}

std::string CDataAttributes::FormatValue(float value, bool long_units_wanted) const {
    std::string text = FormatWithoutUnits(value);
    if (kind == kKindValue) {
        text += ' ';
        text += long_units_wanted ? long_units : units;
    }
    return text;
}

float CDataAttributes::ValueAtFraction(float x) const {
    const float v = min + (max - min) * x;
    if (v >= max) return max;
    if (v <= min) return min;
    return v;
}

float CDataAttributes::ParseClamped(std::string_view text) const {
    // Read in double so that a huge entry clamps to max instead of reading as 0.
    const auto parsed = parse_double(text);
    const double v = parsed ? parsed->value : 0.0;
    if (v > static_cast<double>(max)) return max;
    if (v < static_cast<double>(min)) return min;
    return static_cast<float>(v);
}

}  // namespace korv::boxlogger
