// Reading text lines from a file and from memory: every line ending, ends
// split across the file's chunks, and the caller's cap on a line's length.
#include "common/core/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv {
namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<bool> cut;
};

// Lines are read as copies or as views into the reader's chunk; both ways
// must give the same lines.
enum class Way { copies, views };

Read read_all(LineReader& reader, Way way = Way::copies) {
    Read read;
    std::string line;
    std::string_view view;
    while (way == Way::copies ? reader.next_line(line) : reader.next_line_view(view)) {
        read.lines.push_back(way == Way::copies ? line : std::string(view));
        read.cut.push_back(reader.line_was_cut());
    }
    EXPECT_FALSE(reader.failed()) << reader.last_error();
    return read;
}

constexpr Way kWays[] = {Way::copies, Way::views};

// Each test writes at most one file, in a scratch folder of its own.
class LineReaderFile : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        testsupport::write_text(folder_.file("lines.txt"), text);
        return folder_.file("lines.txt");
    }

    Read read_file(const std::string& text, std::size_t max_line_bytes = LineReader::kNoCap, Way way = Way::copies) {
        LineReader reader(max_line_bytes);
        EXPECT_TRUE(reader.open(write(text))) << reader.last_error();
        return read_all(reader, way);
    }

    testsupport::TempFolder folder_;
};

struct LinesCase {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
};

const LinesCase kLineEnds[] = {
    {"LF", "a\nbc\n", {"a", "bc"}},
    {"CR", "a\rbc\r", {"a", "bc"}},
    {"CR LF", "a\r\nbc\r\n", {"a", "bc"}},
    {"mixed", "a\r\n\nb\rc\n\r\r\n", {"a", "", "b", "c", "", ""}},
    {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
    {"empty lines", "\n\r\n\r", {"", "", ""}},
    {"last line without an end", "a\nbc", {"a", "bc"}},
    {"nothing", "", {}},
    {"NUL is an ordinary byte", std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string(1, '\0')}},
};

TEST_F(LineReaderFile, EveryLineEndReadsTheSameFromMemoryAndFromAFile) {
    for (const Way way : kWays) {
        for (const LinesCase& c : kLineEnds) {
            SCOPED_TRACE(c.what);
            LineReader memory;
            memory.open_text(c.text);
            EXPECT_EQ(read_all(memory, way).lines, c.lines);
            EXPECT_EQ(read_file(c.text, LineReader::kNoCap, way).lines, c.lines);
        }
    }
    for (const LinesCase& c : kLineEnds) EXPECT_EQ(text_lines(c.text), c.lines) << c.what;
}

TEST_F(LineReaderFile, LineEndsSplitAcrossChunks) {
    const std::string fill(LineReader::kChunkBytes - 1, 'x');
    const std::string longer(LineReader::kChunkBytes + 5, 'y');
    for (const Way way : kWays) {
        auto lines = [&](const std::string& text) { return read_file(text, LineReader::kNoCap, way).lines; };
        // The CR is the chunk's last byte each time.
        EXPECT_EQ(lines(fill + "\r\nnext"), (std::vector<std::string>{fill, "next"}));
        EXPECT_EQ(lines(fill + "\r\rnext"), (std::vector<std::string>{fill, "", "next"}));
        EXPECT_EQ(lines(fill + "\rnext"), (std::vector<std::string>{fill, "next"}));
        EXPECT_EQ(lines(fill + "\r"), (std::vector<std::string>{fill}));
        // A line that goes on into the next chunk, and lines after it in that chunk.
        EXPECT_EQ(lines(longer + "\n\nz"), (std::vector<std::string>{longer, "", "z"}));
        EXPECT_EQ(lines("a\r\n" + longer + "\r\nb\rc\n"), (std::vector<std::string>{"a", longer, "b", "c"}));
    }
}

TEST_F(LineReaderFile, APastTheCapLineIsCutAndTheNextIsWhole) {
    for (const Way way : kWays) {
        LineReader memory(4);
        memory.open_text("abcdefgh\r\nij\nklmn\r\rop");
        const Read read = read_all(memory, way);
        EXPECT_EQ(read.lines, (std::vector<std::string>{"abcd", "ij", "klmn", "", "op"}));
        EXPECT_EQ(read.cut, (std::vector<bool>{true, false, false, false, false}));

        // The skipped rest runs on over chunks.
        const std::size_t cap = LineReader::kChunkBytes + 10;
        const Read big = read_file(std::string(3 * LineReader::kChunkBytes, '7') + "\r\nnext\n", cap, way);
        ASSERT_EQ(big.lines.size(), 2u);
        EXPECT_EQ(big.lines[0], std::string(cap, '7'));
        EXPECT_EQ(big.lines[1], "next");
        EXPECT_EQ(big.cut, (std::vector<bool>{true, false}));
    }
}

TEST_F(LineReaderFile, MissingFilesAndFoldersAreRefused) {
    LineReader reader;
    EXPECT_FALSE(reader.open(folder_.file("no_such_folder/log.csv")));
    EXPECT_FALSE(reader.last_error().empty());
    EXPECT_FALSE(reader.open(folder_.path()));
    EXPECT_EQ(reader.last_error(), "it is a folder, not a file");
    std::string line;
    EXPECT_FALSE(reader.next_line(line));
}

TEST(LineReader, OpeningAgainForgetsAPendingCarriageReturn) {
    LineReader reader;
    reader.open_text("a\r");
    std::string line;
    ASSERT_TRUE(reader.next_line(line));
    reader.open_text("\nb");
    EXPECT_EQ(read_all(reader).lines, (std::vector<std::string>{"", "b"}));
}

}  // namespace
}  // namespace korv
