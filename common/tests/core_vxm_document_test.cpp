// VXMlog's documents: writer, reader, and how the player sees them.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"
#include "common/core/counted_string.h"
#include "common/core/vxm_document_reader.h"
#include "common/core/vxm_document_writer.h"
#include "common/core/vxm_player_reader.h"

namespace korv {
namespace {

using testsupport::Bytes;
using testsupport::hex;
using testsupport::read_bytes;
using testsupport::TempFolder;
using testsupport::write_bytes;
using testsupport::operator+;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

VxmSampleTable samples_of(std::size_t width, const std::vector<VxmSample>& samples) {
    VxmSampleTable table(width);
    for (const VxmSample& sample : samples) table.append(sample);
    return table;
}

std::vector<float> values_at(const VxmSampleTable& table, std::size_t i) {
    const auto values = table.values(i);
    return std::vector<float>(values.begin(), values.end());
}

VxmDocument rpm_document() {
    VxmDocument doc;
    doc.title = "abc";
    VxmChannel rpm;
    rpm.units = "rpm";
    rpm.id = 9;
    rpm.max = 8000.0f;
    rpm.label = "RPM";
    rpm.colour = 0x000000FF;
    doc.channels = {rpm};
    doc.samples = samples_of(1, {{0.5f, {3000.0f}}});
    return doc;
}

// The same document, laid out by hand.
const Bytes kRpmDocumentBytes = hex("02 00 00 00") + hex("03") + text("abc") + hex("01 00 00 00")  // version, title, N
                                + hex("00 00 00 00  00 00 00 00")                                  // precision, kind
                                + hex("03") + text("rpm")                                          // units
                                + hex("02 00 00 00  09 00 00 00")   // trace width, id (byte 28)
                                + hex("00 00 00 00  00 00 FA 45")   // min, max
                                + hex("03") + text("RPM")           // label
                                + hex("FF 00 00 00")                // colour
                                + hex("01 00 00 00")                // S
                                + hex("00 00 00 3F  00 80 3B 45");  // 0.5 s, 3000

class VxmDocumentFiles : public ::testing::Test {
protected:
    TempFolder dir_;
    std::string path_ = dir_.file("capture.vxg");
};

TEST_F(VxmDocumentFiles, WriterGoldenBytes) {
    ASSERT_EQ(write_vxm_document(path_, rpm_document()), std::nullopt);
    const Bytes bytes = read_bytes(path_);
    EXPECT_EQ(bytes, kRpmDocumentBytes);
    ASSERT_GT(bytes.size(), 28u);
    EXPECT_EQ(bytes[28], 9);
}

TEST_F(VxmDocumentFiles, PlayerReadsTheDocumentsIdAndRecords) {
    write_bytes(path_, kRpmDocumentBytes);
    VxmPlayerReader reader;
    ASSERT_EQ(reader.open(path_, FloatOrder::little), std::nullopt);
    EXPECT_EQ(reader.model().vxm_type[1], 10);
    EXPECT_EQ(reader.model().first_record, static_cast<std::int64_t>(kRpmDocumentBytes.size()) - 8);
    EXPECT_EQ(reader.model().log_records, 1);
    ASSERT_EQ(reader.read_vxm_record(), std::nullopt);
    EXPECT_EQ(reader.model().vxm_data_fields[0], 0.5f);
    EXPECT_EQ(reader.model().vxm_rpms, 3000);
}

TEST_F(VxmDocumentFiles, EmptyStringDocumentStartsRecordsWhereTheMinimalLogDoes) {
    VxmDocument doc;
    doc.channels.resize(2);
    doc.channels[0].id = 9;
    doc.channels[1].id = 7;
    ASSERT_EQ(write_vxm_document(path_, doc), std::nullopt);
    VxmPlayerReader reader;
    ASSERT_EQ(reader.open(path_, FloatOrder::little), std::nullopt);
    EXPECT_EQ(reader.model().first_record, 13 + 30 * 2);
    EXPECT_EQ(reader.model().vxm_type[1], 10);
    EXPECT_EQ(reader.model().vxm_type[2], 8);
    // Where the minimal writer puts the ids, by the layout both take from
    // vxm_document.h: after the version, the empty title and the count.
    const Bytes bytes = read_bytes(path_);
    const std::size_t first = 4 + 1 + 4;
    ASSERT_EQ(bytes.size(), first + 2 * kVxmEmptyDescriptorBytes + 4);
    EXPECT_EQ(bytes[first + kVxmIdOffsetInEmptyDescriptor], 9);
    EXPECT_EQ(bytes[first + kVxmEmptyDescriptorBytes + kVxmIdOffsetInEmptyDescriptor], 7);
}

TEST(CountedString, PrefixFormsAtTheirBoundaries) {
    std::uint8_t b[kMaxCountedStringPrefix];
    auto prefix = [&](std::uint64_t length) { return Bytes(b, b + encode_counted_string_length(length, b)); };
    EXPECT_EQ(prefix(0), hex("00"));
    EXPECT_EQ(prefix(254), hex("FE"));
    EXPECT_EQ(prefix(255), hex("FF FF 00"));
    EXPECT_EQ(prefix(0xFFFD), hex("FF FD FF"));
    EXPECT_EQ(prefix(0xFFFE), hex("FF FF FF FE FF 00 00"));
    EXPECT_EQ(prefix(70000), hex("FF FF FF 70 11 01 00"));
}

TEST_F(VxmDocumentFiles, RoundTripKeepsEveryField) {
    VxmDocument doc;
    doc.title = std::string(300, 'T');
    VxmChannel a;
    a.precision = -1;
    a.kind = 5;
    a.units = "\xB0";  // the degree sign, as the file stores it
    a.trace_width = 0;
    a.id = 1;
    a.min = -40.0f;
    a.max = 150.0f;
    a.label = std::string(70000, 'L');
    a.colour = 0x00123456;
    VxmChannel b;
    b.id = -5;
    b.label = "Throttle";
    doc.channels = {a, b};
    const float odd_nan = std::bit_cast<float>(0x7FA00001u);
    const std::vector<VxmSample> samples = {{0.0f, {90.5f, 12.25f}}, {0.25f, {odd_nan, -0.0f}}, {-1.0f, {1e30f, 3.0f}}};
    doc.samples = samples_of(2, samples);

    ASSERT_EQ(write_vxm_document(path_, doc), std::nullopt);
    const Bytes bytes = read_bytes(path_);
    ASSERT_GT(bytes.size(), 7u);
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 7), hex("FF 2C 01"));

    const VxmDocumentReadResult read = read_vxm_document(path_);
    ASSERT_TRUE(read.document) << read.error;
    const VxmDocument& back = *read.document;
    EXPECT_EQ(back.version, 2u);
    EXPECT_EQ(back.absent_fields, kVxmAbsentNone);
    EXPECT_EQ(back.title, doc.title);
    ASSERT_EQ(back.channels.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const VxmChannel& x = doc.channels[i];
        const VxmChannel& y = back.channels[i];
        EXPECT_EQ(y.precision, x.precision);
        EXPECT_EQ(y.kind, x.kind);
        EXPECT_EQ(y.units, x.units);
        EXPECT_EQ(y.trace_width, x.trace_width);
        EXPECT_EQ(y.id, x.id);
        EXPECT_EQ(y.min, x.min);
        EXPECT_EQ(y.max, x.max);
        EXPECT_EQ(y.label, x.label);
        EXPECT_EQ(y.colour, x.colour);
    }
    ASSERT_EQ(back.samples.size(), 3u);
    for (std::size_t s = 0; s < 3; ++s) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(back.samples.time(s)), std::bit_cast<std::uint32_t>(samples[s].time));
        ASSERT_EQ(back.samples.values(s).size(), 2u);
        for (std::size_t v = 0; v < 2; ++v) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(back.samples.values(s)[v]),
                      std::bit_cast<std::uint32_t>(samples[s].values[v]));
        }
    }
}

TEST_F(VxmDocumentFiles, ReadsVersionZero) {
    write_bytes(path_, hex("00 00 00 00  01 00 00 00")                     // version 0, no title, N = 1
                           + hex("09 00 00 00  00 00 00 00  00 00 FA 45")  // id, min, max
                           + hex("03") + text("RPM") + hex("00 FF 00 00")  // label, colour
                           + hex("01 00 00 00  00 00 80 3F  00 80 3B 45"));
    const VxmDocumentReadResult read = read_vxm_document(path_);
    ASSERT_TRUE(read.document) << read.error;
    const VxmDocument& doc = *read.document;
    EXPECT_EQ(doc.version, 0u);
    EXPECT_EQ(doc.absent_fields, unsigned{kVxmAbsentTitle | kVxmAbsentPrecision | kVxmAbsentKind | kVxmAbsentUnits |
                                          kVxmAbsentTraceWidth});
    ASSERT_EQ(doc.channels.size(), 1u);
    EXPECT_EQ(doc.channels[0].id, 9);
    EXPECT_EQ(doc.channels[0].max, 8000.0f);
    EXPECT_EQ(doc.channels[0].label, "RPM");
    EXPECT_EQ(doc.channels[0].colour, 0x0000FF00u);
    EXPECT_EQ(doc.channels[0].trace_width, 2);
    EXPECT_TRUE(doc.channels[0].units.empty());
    ASSERT_EQ(doc.samples.size(), 1u);
    EXPECT_EQ(doc.samples.time(0), 1.0f);
    EXPECT_EQ(values_at(doc.samples, 0), std::vector<float>{3000.0f});
}

TEST_F(VxmDocumentFiles, ReadsVersionOne) {
    write_bytes(path_, hex("01 00 00 00") + hex("01") + text("t") + hex("01 00 00 00") + hex("01") + text("%") +
                           hex("01 00 00 00  07 00 00 00")    // units, width, id
                           + hex("00 00 00 00  00 00 C8 42")  // 0 .. 100
                           + hex("08") + text("Throttle") + hex("00 00 FF 00") + hex("00 00 00 00"));
    const VxmDocumentReadResult read = read_vxm_document(path_);
    ASSERT_TRUE(read.document) << read.error;
    const VxmDocument& doc = *read.document;
    EXPECT_EQ(doc.version, 1u);
    EXPECT_EQ(doc.absent_fields, unsigned{kVxmAbsentPrecision | kVxmAbsentKind});
    EXPECT_EQ(doc.title, "t");
    ASSERT_EQ(doc.channels.size(), 1u);
    EXPECT_EQ(doc.channels[0].units, "%");
    EXPECT_EQ(doc.channels[0].trace_width, 1);
    EXPECT_EQ(doc.channels[0].id, 7);
    EXPECT_EQ(doc.channels[0].max, 100.0f);
    EXPECT_EQ(doc.channels[0].label, "Throttle");
    EXPECT_TRUE(doc.samples.empty());
}

void expect_refused(const std::string& path, const Bytes& bytes, const std::string& reason) {
    write_bytes(path, bytes);
    const VxmDocumentReadResult read = read_vxm_document(path);
    EXPECT_FALSE(read.document) << "accepted; expected: " << reason;
    EXPECT_NE(read.error.find(reason), std::string::npos) << read.error;
}

TEST_F(VxmDocumentFiles, RefusesNewerVersions) {
    expect_refused(path_, hex("03 00 00 00  00  00 00 00 00  00 00 00 00"), "version 3");
}

TEST_F(VxmDocumentFiles, RefusesCountsAndLengthsTheFileCannotHold) {
    const Bytes v2_empty_title = hex("02 00 00 00  00");
    expect_refused(path_, v2_empty_title + hex("FF FF FF FF") + Bytes(64, 0), "channel count 4294967295");
    expect_refused(path_, v2_empty_title + hex("03 00 00 00") + Bytes(89, 0), "channel count 3");
    expect_refused(path_, v2_empty_title + hex("00 00 00 00  FF FF FF 3F") + Bytes(64, 0), "sample count 1073741823");
    expect_refused(path_, v2_empty_title + hex("00 00 00 00  02 00 00 00") + Bytes(7, 0), "sample count 2");
    expect_refused(path_, hex("02 00 00 00  FF FF FF FF FF FF 7F") + Bytes(64, 0), "title of 2147483647 bytes");
    expect_refused(path_, hex("02 00 00 00  FF FE FF 01 41 00"), "UTF-16");
    expect_refused(path_, hex("02 00 00 00  FF FF FF FF FF FF FF") + Bytes(64, 0), "64-bit");
    // A huge label length inside an otherwise plausible descriptor.
    expect_refused(path_,
                   v2_empty_title + hex("01 00 00 00") + Bytes(8, 0) + hex("00") + Bytes(16, 0) +
                       hex("FF FF FF 00 00 00 10") + Bytes(64, 0),
                   "channel label of 268435456 bytes");
}

TEST_F(VxmDocumentFiles, CountsTheBytesAfterTheLastSample) {
    Bytes counted_short = kRpmDocumentBytes + hex("00 00 80 3F  00 C0 3B 45");  // a second record, counted out
    struct Case {
        Bytes bytes;
        std::uint64_t unread;
    } cases[] = {{kRpmDocumentBytes, 0}, {kRpmDocumentBytes + hex("00 01 02"), 3}, {counted_short, 8}};
    for (const Case& c : cases) {
        write_bytes(path_, c.bytes);
        const VxmDocumentReadResult read = read_vxm_document(path_);
        ASSERT_TRUE(read.document) << read.error;
        EXPECT_EQ(read.document->samples.size(), 1u);
        EXPECT_EQ(read.unread_bytes, c.unread);
    }
}

TEST_F(VxmDocumentFiles, RefusesMoreChannelsThanTheCallerKnows) {
    write_bytes(path_, kRpmDocumentBytes);
    EXPECT_TRUE(read_vxm_document(path_, 1).document);
    const VxmDocumentReadResult read = read_vxm_document(path_, 0);
    EXPECT_FALSE(read.document);
    EXPECT_NE(read.error.find("channel count 1 is more than the 0 channels there are"), std::string::npos)
        << read.error;
}

TEST_F(VxmDocumentFiles, RefusesEveryTruncation) {
    VxmDocument doc = rpm_document();
    doc.samples.append({1.0f, {3100.0f}});
    ASSERT_EQ(write_vxm_document(path_, doc), std::nullopt);
    const Bytes whole = read_bytes(path_);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        expect_refused(path_, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)), "");
    }
    write_bytes(path_, whole);
    EXPECT_TRUE(read_vxm_document(path_).document);
}

TEST_F(VxmDocumentFiles, WriterRefusesSamplesShortOfValuesAndKeepsTheOldFile) {
    write_bytes(path_, kRpmDocumentBytes);
    VxmDocument doc = rpm_document();
    doc.samples = samples_of(0, {{1.0f, {}}});
    const auto error = write_vxm_document(path_, doc);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->ends_with("0 values for 1 channel")) << *error;
    EXPECT_EQ(read_bytes(path_), kRpmDocumentBytes);
}

TEST(VxmSampleTable, AppendCutsOrFillsToItsWidthAndResizeMarksNewSamples) {
    VxmSampleTable table(2);
    table.append(0.5f, std::vector<float>{1.0f, 2.0f, 3.0f});
    table.append(1.0f, std::vector<float>{4.0f});
    table.resize(3);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(values_at(table, 0), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(values_at(table, 1), (std::vector<float>{4.0f, 0.0f}));
    EXPECT_EQ(table.time(2), -1.0f);
    EXPECT_EQ(values_at(table, 2), (std::vector<float>{0.0f, 0.0f}));
}

TEST_F(VxmDocumentFiles, ReportsAMissingFile) {
    const VxmDocumentReadResult read = read_vxm_document(dir_.file("absent.vxg"));
    EXPECT_FALSE(read.document);
    EXPECT_NE(read.error.find("absent.vxg"), std::string::npos) << read.error;
}

}  // namespace
}  // namespace korv
