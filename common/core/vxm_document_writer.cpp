#include "common/core/vxm_document_writer.h"

#include <cstdint>
#include <limits>

#include "common/core/atomic_file_writer.h"
#include "common/core/byte_order.h"
#include "common/core/count_text.h"
#include "common/core/counted_string.h"

namespace korv {
namespace {

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
    if (!doc.samples.empty() && doc.samples.width() != doc.channels.size()) {
        return "the samples have " + counted(doc.samples.width(), "value", "values") + " for " +
               counted(doc.channels.size(), "channel", "channels");
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
    if (auto error = check_document(document)) return "Cannot write " + path + ": " + *error;

    AtomicFileWriter file;
    if (auto error = file.open(path)) return error;
    LittleEndianOut out(file);

    out.u32(kVxmNewestVersion);
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

    const VxmSampleTable& samples = document.samples;
    out.u32(static_cast<std::uint32_t>(samples.size()));
    for (std::size_t s = 0; s < samples.size(); ++s) {
        out.f32(samples.time(s));
        for (float v : samples.values(s)) out.f32(v);
    }
    return file.commit();
}

}  // namespace korv
