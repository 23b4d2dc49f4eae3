#include "common/core/vxm_document_reader.h"

#include <cstdint>

#include "common/core/buffered_file_reader.h"
#include "common/core/byte_order.h"
#include "common/core/count_text.h"
#include "common/core/counted_string.h"

namespace korv {
namespace {

// Smallest stored descriptor per version (every string empty).
std::uint64_t min_descriptor_bytes(std::uint32_t version) {
    constexpr std::uint64_t common = 4 + 4 + 4 + 1 + 4;  // id, min, max, label, colour
    if (version == 0) return common;
    if (version == 1) return 1 + 4 + common;  // units, trace width
    return 4 + 4 + 1 + 4 + common;            // precision, kind, units, trace width
}

class DocumentParser {
public:
    DocumentParser(BufferedFileReader& in, std::uint32_t max_channels) : in_(in), max_channels_(max_channels) {}

    bool parse(VxmDocument& doc) {
        if (!u32(doc.version, "version")) return false;
        if (doc.version > kVxmNewestVersion) {
            return fail("version " + std::to_string(doc.version) + " is newer than this program reads (0 to " +
                        std::to_string(kVxmNewestVersion) + ")");
        }
        if (doc.version == 0) {
            doc.absent_fields =
                kVxmAbsentTitle | kVxmAbsentPrecision | kVxmAbsentKind | kVxmAbsentUnits | kVxmAbsentTraceWidth;
        } else if (doc.version == 1) {
            doc.absent_fields = kVxmAbsentPrecision | kVxmAbsentKind;
        }
        if (doc.version >= 1 && !text(doc.title, "title")) return false;

        std::uint32_t channel_count = 0;
        if (!u32(channel_count, "channel count")) return false;
        if (channel_count > max_channels_) {
            return fail("channel count " + std::to_string(channel_count) + " is more than the " +
                        std::to_string(max_channels_) + " channels there are");
        }
        if (channel_count > static_cast<std::uint64_t>(in_.remaining()) / min_descriptor_bytes(doc.version)) {
            return fail("channel count " + std::to_string(channel_count) + " exceeds what the file holds");
        }
        doc.channels.resize(channel_count);
        for (VxmChannel& ch : doc.channels) {
            if (!descriptor(ch, doc.version)) return false;
        }

        std::uint32_t sample_count = 0;
        if (!u32(sample_count, "sample count")) return false;
        const std::uint64_t record_bytes = vxm_record_bytes(channel_count);
        if (sample_count > static_cast<std::uint64_t>(in_.remaining()) / record_bytes) {
            return fail("sample count " + std::to_string(sample_count) + " exceeds what the file holds");
        }
        doc.samples.reset(channel_count);
        doc.samples.resize(sample_count);
        for (std::size_t s = 0; s < sample_count; ++s) {
            if (!record(doc.samples, s, record_bytes)) return false;
        }
        return true;
    }

    const std::string& error() const { return error_; }

private:
    bool descriptor(VxmChannel& ch, std::uint32_t version) {
        if (version >= 2) {
            if (!i32(ch.precision, "channel precision") || !i32(ch.kind, "channel kind")) return false;
        }
        if (version >= 1) {
            if (!text(ch.units, "channel units") || !i32(ch.trace_width, "channel trace width")) return false;
        }
        std::uint32_t colour = 0;
        if (!i32(ch.id, "channel id") || !f32(ch.min, "channel minimum") || !f32(ch.max, "channel maximum") ||
            !text(ch.label, "channel label") || !u32(colour, "channel colour")) {
            return false;
        }
        ch.colour = colour;
        return true;
    }

    // One sample: its time and values. A record that fits the reader's
    // buffer is taken whole, which keeps long files quick to load.
    bool record(VxmSampleTable& samples, std::size_t s, std::uint64_t record_bytes) {
        const std::span<float> values = samples.values(s);
        if (record_bytes > BufferedFileReader::kDefaultBufferSize) {
            if (!f32(samples.time(s), "sample time")) return false;
            for (float& v : values) {
                if (!f32(v, "sample value")) return false;
            }
            return true;
        }
        const std::uint8_t* p = in_.take(static_cast<std::size_t>(record_bytes));
        if (p == nullptr) return fail("sample " + std::to_string(s + 1) + ": " + in_.last_error());
        samples.time(s) = load_f32_le(p);
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = load_f32_le(p + 4 + 4 * i);
        return true;
    }

    bool u32(std::uint32_t& v, const char* what) {
        if (in_.read_u32_le(v)) return true;
        return fail(std::string(what) + ": " + in_.last_error());
    }
    bool i32(std::int32_t& v, const char* what) {
        std::uint32_t raw = 0;
        if (!u32(raw, what)) return false;
        v = static_cast<std::int32_t>(raw);
        return true;
    }
    bool f32(float& v, const char* what) {
        const std::uint8_t* p = in_.take(4);
        if (p == nullptr) return fail(std::string(what) + ": " + in_.last_error());
        v = load_f32_le(p);
        return true;
    }
    bool text(std::string& s, const char* what) {
        std::string reason;
        const auto length = read_counted_string_length(in_, reason);
        if (!length) return fail(std::string(what) + ": " + reason);
        if (*length > static_cast<std::uint64_t>(in_.remaining())) {
            return fail(std::string(what) + " of " + counted(*length, "byte", "bytes") +
                        " runs past the end of the file");
        }
        s.resize(*length);
        if (in_.read(s.data(), s.size())) return true;
        return fail(std::string(what) + ": " + in_.last_error());
    }
    bool fail(std::string reason) {
        error_ = std::move(reason);
        return false;
    }

    BufferedFileReader& in_;
    std::uint32_t max_channels_;
    std::string error_;
};

}  // namespace

VxmDocumentReadResult read_vxm_document(const std::string& path, std::uint32_t max_channels) {
    VxmDocumentReadResult result;
    BufferedFileReader in;
    if (!in.open(path)) {
        result.error = "Cannot read " + path + ": " + in.last_error();
        return result;
    }
    VxmDocument doc;
    DocumentParser parser(in, max_channels);
    if (!parser.parse(doc)) {
        result.error = "Cannot read " + path + ": " + parser.error();
        return result;
    }
    result.unread_bytes = static_cast<std::uint64_t>(in.remaining());
    result.document = std::move(doc);
    return result;
}

}  // namespace korv
