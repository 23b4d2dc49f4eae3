// The safe writer: whatever the sizes of the pieces written, the file holds
// them in order once committed, and nothing replaces the old file before.
#include "common/core/atomic_file_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv {
namespace {

TEST(AtomicFileWriter, PiecesOfEverySizeArriveInOrder) {
    constexpr std::size_t kBuffer = 1024;
    const struct {
        const char* what;
        std::size_t buffer;
        std::vector<std::size_t> pieces;
    } cases[] = {
        {"small pieces", kBuffer, {1, 10, 100, 900, 3, 1000}},
        {"a quarter of the buffer and more", kBuffer, {10, kBuffer / 4, 5, kBuffer / 4 - 1, kBuffer, 7, 3 * kBuffer}},
        {"past the size the disk is started on",
         AtomicFileWriter::kDefaultBufferSize,
         {100, std::size_t{3} << 20, 17, std::size_t{2} << 20, 1000}},
    };
    testsupport::TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.file("out.bin");
        testsupport::write_text(path, "the earlier file");
        AtomicFileWriter out(c.buffer);
        ASSERT_FALSE(out.open(path));
        std::vector<std::uint8_t> expected;
        for (std::size_t n : c.pieces) {
            std::vector<std::uint8_t> piece(n);
            for (std::size_t k = 0; k < n; ++k) piece[k] = static_cast<std::uint8_t>(expected.size() + k * 7);
            out.write(piece.data(), piece.size());
            expected.insert(expected.end(), piece.begin(), piece.end());
        }
        EXPECT_EQ(testsupport::read_text(path), "the earlier file");
        ASSERT_FALSE(out.commit());
        EXPECT_TRUE(testsupport::read_bytes(path) == expected);
    }
}

}  // namespace
}  // namespace korv
