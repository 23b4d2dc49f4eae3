#pragma once
// Value descriptors: one channel id tied to the request byte(s) that fetch it
// from the box, turning the raw reply into an engineering value and text.
#include "boxlogger/core/data_attributes.h"
#include "boxlogger/core/request_table.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korv::boxlogger {

class CVariableList;

class CVariable {
public:
    CVariable(int channel_id, int request_byte, float scale = 1.0f, float offset = 0.0f, const float* lookup = nullptr,
              bool is_signed = false);
    // Removes its request byte from the table it attached to.
    virtual ~CVariable();
    CVariable(const CVariable&) = delete;
    CVariable& operator=(const CVariable&) = delete;

    virtual void Attach(CVariableList& list);
    // The value's text without units (of Value() when none is given).
    virtual std::string Text(std::optional<float> value = std::nullopt) const;
    virtual float Parse(std::string_view text) const;
    // Voltage sensors show their voltage; the rest as Text.
    virtual std::string SensorText(std::optional<float> value = std::nullopt) const;
    virtual float Value() const;
    virtual int Raw() const;
    // The byte to send for a typed value; the lookup is not inverted.
    virtual std::uint8_t ToRaw(std::string_view text) const;

    int channel_id() const { return channel_id_; }
    int request_byte() const { return request_byte_; }
    const CDataAttributes& attributes() const { return *attributes_; }
    bool attached() const { return table_ != nullptr; }

    // Holders on the list that owns it.
    int use_count = 0;

protected:
    std::unique_ptr<CDataAttributes> attributes_;
    int channel_id_;
    int request_byte_;
    float offset_;
    float scale_;
    const ValueSlot* value_ = nullptr;
    const float* lookup_;
    bool signed_;
    CRequestTable* table_ = nullptr;
};

// An on/off bit of a status byte.
class CSwitchVariable : public CVariable {
public:
    CSwitchVariable(int channel_id, int request_byte, std::uint16_t xor_word, std::uint16_t mask);
    float Value() const override;
    int Raw() const override;

private:
    std::uint16_t xor_word_;
    std::uint16_t mask_;
};

// The 16-bit fault word read as two bytes, 0x3B low and 0x3C high.
class CFaultCodeVariable : public CVariable {
public:
    static constexpr int kHighByte = 0x3C;
    CFaultCodeVariable();
    ~CFaultCodeVariable() override;
    void Attach(CVariableList& list) override;
    int Raw() const override;

private:
    const ValueSlot* high_ = nullptr;
};

class CSoftwareVersionVariable : public CVariable {
public:
    CSoftwareVersionVariable();
    // 1990-1994 for the versions known, else 0.
    int ModelYear() const;
};

// Model year of a software version byte, 0 when unknown.
int ModelYearOf(int software_version);

// A new, unattached descriptor for the id, or none when the catalogue does
// not know it.
std::unique_ptr<CVariable> CreateVariable(int channel_id);

// Catalogue rows, each table ended by a row with a negative id.
struct ScaledRow {
    int id;
    int request_byte;
    float scale;
    float offset;
    const float* lookup;
    bool is_signed;
};
struct CommandRow {
    int id;
    int request_byte;
};
struct SwitchRow {
    int id;
    int request_byte;
    std::uint16_t mask;
    std::uint16_t xor_word;
};
const ScaledRow* ScaledTable();
const CommandRow* CommandTable();
const SwitchRow* SwitchTable();

}  // namespace korv::boxlogger
