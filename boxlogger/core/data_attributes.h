#pragma once
// The display attributes of one channel chosen into a document: a copy of
// its channel-table row taken when the channel was chosen, plus the trace
// width and the live variable that feeds it during a capture.
#include <cstdint>
#include <string>
#include <string_view>

namespace korv::boxlogger {

class CVariable;

// The label of a channel without a table row (the command ids).
inline constexpr char kCommandLabel[] = "!CMD!";

class CDataAttributes {
public:
    // Copies the row of `channel_id`; an id without a row keeps the id and
    // gets the label "!CMD!".
    explicit CDataAttributes(int channel_id, CVariable* variable = nullptr);

    // The value's text by kind (Windows-1252 bytes). A value of kind 0 is
    // followed by a blank and the units, or the long units when asked for.
    std::string FormatValue(float value, bool long_units) const;
    // The same without units (and without the blank before them).
    std::string FormatWithoutUnits(float value) const;
    // min + (max - min) * x, kept within min..max (the chart's scale labels).
    float ValueAtFraction(float x) const;
    // The text's leading decimal number (0 when none), kept within min..max.
    float ParseClamped(std::string_view text) const;
    // Decimals a kind-0 value shows: the precision, or when that is negative
    // about three significant digits (0 to 5 decimals).
    int DecimalsFor(float value) const;

    std::int32_t id = 0;
    float min = 0.0f;
    float max = 0.0f;
    std::int32_t precision = 0;
    std::string label;
    std::string units;             // empty when the channel has none
    std::string long_units;        // "degrees", "volts", "percent", else the units
    std::int32_t trace_width = 2;  // 0 hidden, 1 thin, 2 thick
    std::uint32_t colour = 0;      // 0x00BBGGRR
    std::int32_t kind = 0;
    CVariable* variable = nullptr;  // not owned; none in a loaded document
};

// "degrees" for the degree sign, "volts" for "V", "percent" for "%", else
// the units themselves.
std::string LongUnits(std::string_view units);

}  // namespace korv::boxlogger
