#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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

// A document's samples, oldest first, each a time and width() values. Kept
// in two flat arrays so that a long capture costs in memory what it takes on
// disk: a vector per sample would cost 32 bytes for the 4 of a sample
// without channels.
class VxmSampleTable {
public:
    VxmSampleTable() = default;
    explicit VxmSampleTable(std::size_t width) : width_(width) {}

    std::size_t width() const { return width_; }
    std::size_t size() const { return times_.size(); }
    bool empty() const { return times_.empty(); }

    float time(std::size_t i) const { return times_[i]; }
    float& time(std::size_t i) { return times_[i]; }
    std::span<const float> values(std::size_t i) const { return {values_.data() + i * width_, width_}; }
    std::span<float> values(std::size_t i) { return {values_.data() + i * width_, width_}; }

    // Extra values are dropped, missing ones read 0.
    void append(float time, std::span<const float> values);
    void append(const VxmSample& sample) { append(sample.time, sample.values); }
    // New samples have time -1 and values 0.
    void resize(std::size_t count);
    void reserve(std::size_t count);
    void clear();  // the width stays
    void reset(std::size_t width);
    // The values of every sample, sample after sample.
    std::span<const float> all_values() const { return values_; }

private:
    std::size_t width_ = 0;
    std::vector<float> times_;
    std::vector<float> values_;
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

// The stored form, all little-endian: version, title, channel count, a
// descriptor per channel (precision, kind, units, trace width, id, min, max,
// label, colour), sample count, then the records. Texts are counted strings
// (common/core/counted_string.h); every other field is 4 bytes. Version 1
// lacks precision and kind, version 0 also the title, units and trace width.
inline constexpr std::uint32_t kVxmNewestVersion = 2;  // the one written
inline constexpr std::uint64_t kVxmFieldBytes = 4;
// A version-2 descriptor's fixed fields around its texts: precision and
// kind before the units; the trace width before the id; min and max between
// the id and the label; the colour after the label.
inline constexpr std::uint64_t kVxmFieldsBeforeUnits = 2;
inline constexpr std::uint64_t kVxmFieldsBeforeId = 1;
inline constexpr std::uint64_t kVxmFieldsBeforeLabel = 2;
inline constexpr std::uint64_t kVxmFieldsAfterLabel = 1;
// A version-2 descriptor with both texts empty (a one-byte count each), and
// where its id lies in it: the minimal-header logs are written this way.
inline constexpr std::uint64_t kVxmEmptyDescriptorBytes =
    (kVxmFieldsBeforeUnits + kVxmFieldsBeforeId + 1 + kVxmFieldsBeforeLabel + kVxmFieldsAfterLabel) * kVxmFieldBytes +
    2;
inline constexpr std::uint64_t kVxmIdOffsetInEmptyDescriptor =
    kVxmFieldsBeforeUnits * kVxmFieldBytes + 1 + kVxmFieldsBeforeId * kVxmFieldBytes;
// A record: the time and one float per channel.
constexpr std::uint64_t vxm_record_bytes(std::uint64_t channel_count) { return (channel_count + 1) * kVxmFieldBytes; }

struct VxmDocument {
    std::uint32_t version = kVxmNewestVersion;  // as read; the writer always writes the newest
    std::string title;
    std::vector<VxmChannel> channels;
    VxmSampleTable samples;                   // as wide as channels
    unsigned absent_fields = kVxmAbsentNone;  // VxmAbsentField bits
};

}  // namespace korv
