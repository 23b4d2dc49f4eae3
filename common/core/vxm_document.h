#pragma once

#include <cstdint>
#include <string>
#include <vector>

// VXMlog's capture document as stored in a ".vxg" file. Texts are the
// file's raw bytes (Windows-1252); conversion is the GUI's.
namespace korv {

struct VxmChannel {
    std::int32_t precision = 0;  // decimals shown, -1 automatic; a trigger channel's trigger number
    std::int32_t kind = 0;
    std::string units;
    std::int32_t trace_width = 2;  // 0 hidden, 1 thin, 2 thick
    std::int32_t id = 0;           // system-wide channel id
    float min = 0.0f;              // chart scale
    float max = 0.0f;
    std::string label;
    std::uint32_t colour = 0;  // 0x00BBGGRR
};

struct VxmSample {
    float time = 0.0f;          // seconds
    std::vector<float> values;  // one per channel, in channel order
};

// Fields older versions did not store. The reader leaves them at their
// defaults (trace width 2, the rest zero or empty) for the caller to take
// from its channel table by id, and its default title.
enum VxmAbsentField : unsigned {
    kVxmAbsentNone = 0,
    kVxmAbsentTitle = 1u << 0,       // version 0
    kVxmAbsentPrecision = 1u << 1,   // versions 0 and 1
    kVxmAbsentKind = 1u << 2,        // versions 0 and 1
    kVxmAbsentUnits = 1u << 3,       // version 0
    kVxmAbsentTraceWidth = 1u << 4,  // version 0
};

struct VxmDocument {
    std::uint32_t version = 2;  // as read; the writer always writes 2
    std::string title;
    std::vector<VxmChannel> channels;
    std::vector<VxmSample> samples;
    unsigned absent_fields = kVxmAbsentNone;  // VxmAbsentField bits
};

}  // namespace korv
