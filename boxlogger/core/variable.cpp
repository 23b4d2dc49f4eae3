#include "boxlogger/core/variable.h"

#include "boxlogger/core/trigger.h"

#include "boxlogger/core/lookup_curves.h"
#include "boxlogger/core/variable_list.h"
#include "common/core/java_numbers.h"
#include "common/core/number_text.h"

#include <cmath>

namespace korv::boxlogger {
namespace {

constexpr float kVoltsPerCount = 0.01953125f;  // 5/256 V

bool is_voltage_sensor(int request_byte) {
    switch (request_byte) {
    case 0x07:
    case 0x12:
    case 0x13:
    case 0x15:
    case 0x17:
    case 0x3A: return true;
    default: return false;
    }
}

int slot_value(const ValueSlot* slot) { return slot ? slot->load() : 0; }

// Indexes into the curves, filled on first use.
enum CurveId { kNoCurve, kCoolant, kEgr, kAir };

struct ScaledSpec {
    int id;
    int request_byte;
    float scale;
    float offset;
    CurveId curve;
    bool is_signed;
};

constexpr ScaledSpec kScaled[] = {
    {0, 0x06, 1.0f, -10.0f, kNoCurve, false},
    {1, 0x07, 1.0f, 0.0f, kCoolant, false},
    {2, 0x12, 1.0f, 0.0f, kEgr, false},
    {3, 0x13, 0.01953125f, 0.0f, kNoCurve, false},
    {4, 0x14, 0.07317073f, 0.0f, kNoCurve, false},
    {5, 0x15, 0.004878049f, 0.0f, kNoCurve, false},
    {6, 0x16, 1.0f, 0.0f, kNoCurve, false},
    {7, 0x17, 0.39215687f, 0.0f, kNoCurve, false},
    {8, 0x1A, 6.2980394f, 0.0f, kNoCurve, false},
    {9, 0x21, 31.25f, 0.0f, kNoCurve, false},
    {10, 0x29, 0.256f, 0.0f, kNoCurve, false},
    {11, 0x3A, 1.0f, 0.0f, kAir, false},
    {12, 0x0C, 0.78125f, 0.0f, kNoCurve, false},
    {13, 0x0D, 0.78125f, 0.0f, kNoCurve, false},
    {14, 0x0E, 0.78125f, 0.0f, kNoCurve, false},
    {15, 0x0F, 0.78125f, 0.0f, kNoCurve, false},
    {16, 0x1D, 0.390625f, 0.0f, kNoCurve, false},
    {17, 0x26, 1.0f, 0.0f, kNoCurve, false},
    {18, 0x2C, 1.0f, 0.0f, kNoCurve, false},
    {25, 0xD0, 3.90625f, 0.0f, kNoCurve, false},
    {26, 0x55, 0.78125f, 0.0f, kNoCurve, false},
    {27, 0x56, 0.78125f, 0.0f, kNoCurve, false},
    {28, 0x57, 0.78125f, 0.0f, kNoCurve, false},
    {29, 0x58, 0.78125f, 0.0f, kNoCurve, false},
    {30, 0x59, 0.78125f, 0.0f, kNoCurve, false},
    {31, 0x5A, 1.0f, 0.0f, kNoCurve, true},
    {32, 0x5B, 1.0f, 0.0f, kNoCurve, true},
    {33, 0x5C, 1.0f, 0.0f, kNoCurve, true},
    {34, 0x5D, 0.78125f, 0.0f, kNoCurve, false},
    {35, 0x5E, 0.78125f, 0.0f, kNoCurve, false},
    {36, 0x5F, 0.78125f, 0.0f, kNoCurve, false},
    {-1, 0, 0.0f, 0.0f, kNoCurve, false},
};

constexpr CommandRow kCommands[] = {
    {37, 0xCA}, {38, 0xF1}, {39, 0xF3}, {40, 0xF4}, {41, 0xF5}, {42, 0xF6}, {43, 0xFC},
    {44, 0xFB}, {45, 0xFA}, {46, 0xF9}, {47, 0xF8}, {48, 0xF7}, {-1, 0},
};

constexpr std::uint16_t kAllOnes = 0xFFFF;
constexpr SwitchRow kSwitches[] = {
    {19, 0x02, 0x10, kAllOnes},
    {20, 0x02, 0x08, 0},
    {21, 0x02, 0x80, kAllOnes},
    {22, 0x02, 0x20, kAllOnes},
    {23, 0x02, 0x04, kAllOnes},
    {24, 0x00, 0x20, kAllOnes},
    {-1, 0, 0, 0},
};

const float* curve_data(CurveId curve) {
    switch (curve) {
    case kCoolant: return CoolantCurve().data();
    case kEgr: return EgrCurve().data();
    case kAir: return AirCurve().data();
    default: return nullptr;
    }
}

constexpr int kModuleId = 49, kEcuId = 50, kFaultCodes = 51, kSoftwareVersion = 52;

}  // namespace

const ScaledRow* ScaledTable() {
    static const auto rows = [] {
        std::array<ScaledRow, std::size(kScaled)> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            const ScaledSpec& s = kScaled[i];
            out[i] = {s.id, s.request_byte, s.scale, s.offset, curve_data(s.curve), s.is_signed};
        }
        return out;
    }();
    return rows.data();
}

const CommandRow* CommandTable() { return kCommands; }
const SwitchRow* SwitchTable() { return kSwitches; }

CVariable::CVariable(int channel_id, int request_byte, float scale, float offset, const float* lookup, bool is_signed)
    : attributes_(std::make_unique<CDataAttributes>(channel_id, this)),
      channel_id_(channel_id),
      request_byte_(request_byte),
      offset_(offset),
      scale_(scale),
      lookup_(lookup),
      signed_(is_signed) {}

CVariable::~CVariable() {
    if (table_) table_->RemoveCode(request_byte_);
}

void CVariable::Attach(CVariableList& list) {
    table_ = &list.table();
    value_ = table_->AddCode(request_byte_);
}

std::string CVariable::Text(std::optional<float> value) const {
    return attributes_->FormatWithoutUnits(value ? *value : Value());
}

float CVariable::Parse(std::string_view text) const { return attributes_->ParseClamped(text); }

std::string CVariable::SensorText(std::optional<float> value) const {
    if (!is_voltage_sensor(request_byte_)) return Text(value);
    const float volts = value ? *value : static_cast<float>(Raw()) * kVoltsPerCount;
    return format_fixed(volts, 2) + " V";
}

float CVariable::Value() const {
    int raw = Raw();
    if (signed_) raw = static_cast<std::int8_t>(static_cast<std::uint8_t>(raw & 0xFF));
    const float x = (lookup_ && raw >= 0 && raw < 256) ? lookup_[raw] : static_cast<float>(raw);
    return x * scale_ + offset_;
}

int CVariable::Raw() const { return slot_value(value_); }

std::uint8_t CVariable::ToRaw(std::string_view text) const {
    const float x = Parse(text);
    const float r = std::floor((x - offset_) / scale_ + 0.5f);
    const std::int32_t low = signed_ ? -128 : 0;
    const std::int32_t high = signed_ ? 127 : 255;
    std::int32_t n = saturating_float_to_int32(r);
    if (n > high) n = high;
    if (n < low) n = low;
    return static_cast<std::uint8_t>(n & 0xFF);
}

CSwitchVariable::CSwitchVariable(int channel_id, int request_byte, std::uint16_t xor_word, std::uint16_t mask)
    : CVariable(channel_id, request_byte), xor_word_(xor_word), mask_(mask) {}

float CSwitchVariable::Value() const { return Raw() != 0 ? 1.0f : 0.0f; }

int CSwitchVariable::Raw() const { return mask_ & (slot_value(value_) ^ xor_word_); }

CFaultCodeVariable::CFaultCodeVariable() : CVariable(kFaultCodes, 0x3B) {}

CFaultCodeVariable::~CFaultCodeVariable() {
    if (table_) table_->RemoveCode(kHighByte);
}

void CFaultCodeVariable::Attach(CVariableList& list) {
    CVariable::Attach(list);
    high_ = table_->AddCode(kHighByte);
}

int CFaultCodeVariable::Raw() const { return (slot_value(value_) | (slot_value(high_) << 8)) & 0xFFFF; }

CSoftwareVersionVariable::CSoftwareVersionVariable() : CVariable(kSoftwareVersion, 0xFD) {}

int CSoftwareVersionVariable::ModelYear() const { return ModelYearOf(Raw()); }

int ModelYearOf(int software_version) {
    switch (software_version) {
    case 37: return 1994;
    case 54:
    case 55: return 1990;
    case 163: return 1993;
    case 181:
    case 203: return 1991;
    default: return 0;
    }
}

std::unique_ptr<CVariable> CreateVariable(int channel_id) {
    switch (channel_id) {
    case kModuleId: return std::make_unique<CVariable>(kModuleId, 0xFE);
    case kEcuId: return std::make_unique<CVariable>(kEcuId, 0xFF);
    case kFaultCodes: return std::make_unique<CFaultCodeVariable>();
    case kSoftwareVersion: return std::make_unique<CSoftwareVersionVariable>();
    default: break;
    }
    for (const ScaledRow* row = ScaledTable(); row->id >= 0; ++row)
        if (row->id == channel_id)
            return std::make_unique<CVariable>(row->id, row->request_byte, row->scale, row->offset, row->lookup,
                                               row->is_signed);
    // Command ids: Value is always 0.
    for (const CommandRow* row = CommandTable(); row->id >= 0; ++row)
        if (row->id == channel_id) return std::make_unique<CVariable>(row->id, row->request_byte, 0.0f, 0.0f);
    for (const SwitchRow* row = SwitchTable(); row->id >= 0; ++row)
        if (row->id == channel_id)
            return std::make_unique<CSwitchVariable>(row->id, row->request_byte, row->xor_word, row->mask);
    if (const int trigger = TriggerNumberOfChannel(channel_id); trigger >= 0)
        return std::make_unique<CTriggerVariable>(trigger);
    return nullptr;
}

}  // namespace korv::boxlogger
