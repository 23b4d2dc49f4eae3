// The peak memory of loading a review document, counted by the test
// toolbox's allocation functions for the loading thread.
#include <gtest/gtest.h>

#include <filesystem>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "common/core/vxm_document_writer.h"
#include "testsupport/allocation_counter.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

// Samples with no channels cost the least on disk (4 bytes each) and, kept
// one vector per sample, the most in memory.
TEST(LoadMemory, ALoadedDocumentPeaksWithinTwiceItsFile) {
    ResetChannelTable();
    testsupport::TempFolder dir;
    const std::string path = dir.file("long.vxg");
    for (const std::size_t channels : {std::size_t{0}, std::size_t{1}, std::size_t{20}}) {
        SCOPED_TRACE(channels);
        VxmDocument stored;
        stored.channels.resize(channels);
        for (std::size_t c = 0; c < channels; ++c) stored.channels[c].id = static_cast<std::int32_t>(c);
        stored.samples.reset(channels);
        stored.samples.resize(std::size_t{4'000'000} / (channels + 1));
        ASSERT_EQ(write_vxm_document(path, stored), std::nullopt);
        const auto file_bytes = static_cast<long long>(std::filesystem::file_size(path));

        CVXMlogDoc doc{DocumentPrompts{}};
        long long peak = 0;
        {
            testsupport::PeakAllocationCounter counter;
            ASSERT_EQ(doc.Load(path), std::nullopt);
            peak = counter.peak();
        }
        EXPECT_EQ(doc.samples().size(), stored.samples.size());
        EXPECT_LE(peak, 2 * file_bytes) << "file " << file_bytes << " bytes";
    }
}

// A million empty version-0 descriptors fit in 17 MB; refused unbuilt.
TEST(LoadMemory, AChannelTableBeyondTheCatalogueIsRefusedUnbuilt) {
    ResetChannelTable();
    testsupport::TempFolder dir;
    const std::string path = dir.file("million.vxg");
    constexpr std::uint32_t kChannels = 1'000'000;
    testsupport::Bytes bytes = testsupport::hex("00 00 00 00");
    testsupport::append_le32(bytes, kChannels);
    testsupport::append_zeros(bytes, std::size_t{kChannels} * 17 + 4);
    testsupport::write_bytes(path, bytes);

    CVXMlogDoc doc{DocumentPrompts{}};
    long long peak = 0;
    std::optional<std::string> error;
    {
        testsupport::PeakAllocationCounter counter;
        error = doc.Load(path);
        peak = counter.peak();
    }
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("channel count 1000000"), std::string::npos) << *error;
    EXPECT_LE(peak, 4 << 20) << "no more than the reader's buffer";
}

}  // namespace
}  // namespace korv::boxlogger
