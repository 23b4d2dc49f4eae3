#include "common/core/vxm_document_writer.h"

#include <cstdint>
#include <limits>

#include "common/core/atomic_file_writer.h"
#include "common/core/byte_order.h"
#include "common/core/counted_string.h"

namespace korv {
namespace {

constexpr std::uint32_t kWrittenVersion = 2;

std::optional<std::string> check_document(const VxmDocument& doc) {
    constexpr std::uint64_t max_count = std::numeric_limits<std::uint32_t>::max();
    if (doc.channels.size() > max_count) return std::string("too many channels to store");
    if (doc.samples.size() > max_count) return std::string("too many samples to store");
    if (doc.title.size() > kMaxCountedStringLength) return std::string("the title is too long to store");
    for (const VxmChannel& ch : doc.channels) {
        if (ch.units.size() > kMaxCountedStringLength || ch.label.size() > kMaxCountedStringLength) {
            return "a text of channel " + std::to_string(ch.id) + " is too long to store";
        }
    }
    const std::size_t n = doc.channels.size();
    for (std::size_t i = 0; i < doc.samples.size(); ++i) {
        if (doc.samples[i].values.size() < n) {
            return "sample " + std::to_string(i + 1) + " has " + std::to_string(doc.samples[i].values.size()) +
                   " values for " + std::to_string(n) + " channels";
        }
    }
    return std::nullopt;
}

class LittleEndianOut {
public:
    explicit LittleEndianOut(AtomicFileWriter& out) : out_(out) {}
    void u32(std::uint32_t v) {
        std::uint8_t b[4];
        store_u32_le(b, v);
        out_.write(b, 4);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint8_t b[4];
        store_f32_le(b, v);
        out_.write(b, 4);
    }
    void text(const std::string& s) {
        std::uint8_t prefix[kMaxCountedStringPrefix];
        out_.write(prefix, encode_counted_string_length(s.size(), prefix));
        out_.write(s.data(), s.size());
    }

private:
    AtomicFileWriter& out_;
};

}  // namespace

std::optional<std::string> write_vxm_document(const std::string& path, const VxmDocument& document) {
    if (auto error = check_document(document)) return "cannot write " + path + ": " + *error;

    AtomicFileWriter file;
    if (auto error = file.open(path)) return "cannot write " + path + ": " + *error;
    LittleEndianOut out(file);

    out.u32(kWrittenVersion);
    out.text(document.title);
    out.u32(static_cast<std::uint32_t>(document.channels.size()));
    for (const VxmChannel& ch : document.channels) {
        out.i32(ch.precision);
        out.i32(ch.kind);
        out.text(ch.units);
        out.i32(ch.trace_width);
        out.i32(ch.id);
        out.f32(ch.min);
        out.f32(ch.max);
        out.text(ch.label);
        out.u32(ch.colour);
    }

    const std::size_t n = document.channels.size();
    out.u32(static_cast<std::uint32_t>(document.samples.size()));
    for (const VxmSample& sample : document.samples) {
        out.f32(sample.time);
        for (std::size_t i = 0; i < n; ++i) out.f32(sample.values[i]);
    }
    return file.commit();
}

}  // namespace korv
