// Reading text lines from a file and from memory: every line ending, ends
// split across the file's chunks, and the caller's cap on a line's length.
#include "common/core/line_reader.h"

#include <gtest/gtest.h>

#include <random>
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

// Lines of random lengths with random ends, and the lines they must read
// as: line ends are found many at a time, and lines lie across those looks.
struct RandomLines {
    std::string text;
    std::vector<std::string> lines;
};

RandomLines random_lines(std::size_t min_bytes, unsigned seed) {
    std::mt19937 random(seed);
    const char* const ends[] = {"\n", "\r\n", "\r"};
    RandomLines made;
    while (made.text.size() < min_bytes) {
        // Mostly short lines, now and then one over a look's 64 bytes.
        const std::size_t length = random() % 8 == 0 ? random() % 300 : random() % 20;
        std::string line;
        for (std::size_t k = 0; k < length; ++k) line += static_cast<char>('a' + random() % 26);
        made.lines.push_back(line);
        std::string_view end = ends[random() % 3];
        // A CR and an LF right after it are one line end.
        if (line.empty() && end == "\n" && !made.text.empty() && made.text.back() == '\r') end = "\r";
        made.text += line;
        made.text += end;
    }
    return made;
}

TEST_F(LineReaderFile, LargeFilesAreMappedAndReadAsFromMemory) {
    const struct {
        const char* what;
        std::size_t bytes;
    } cases[] = {
        {"read in chunks", LineReader::kMapFromBytes / 3},
        {"mapped", LineReader::kMapFromBytes + 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RandomLines made = random_lines(c.bytes, 7);
        for (const Way way : kWays) {
            LineReader memory;
            memory.open_text(made.text);
            EXPECT_EQ(read_all(memory, way).lines, made.lines);
            EXPECT_EQ(memory.bytes_read(), made.text.size());
            LineReader file;
            ASSERT_TRUE(file.open(write(made.text)));
            EXPECT_EQ(file.total_bytes(), made.text.size());
            EXPECT_EQ(read_all(file, way).lines, made.lines);
            EXPECT_EQ(file.bytes_read(), made.text.size());
        }
    }
}

TEST(LineReader, BytesReadCountLinesAndTheirEnds) {
    LineReader reader;
    reader.open_text("ab\r\ncd\n\ne");
    std::string_view line;
    std::vector<std::size_t> read;
    while (reader.next_line_view(line)) read.push_back(reader.bytes_read());
    // A CR's LF is counted with the next line.
    EXPECT_EQ(read, (std::vector<std::size_t>{3, 7, 8, 9}));
    EXPECT_EQ(reader.total_bytes(), 9u);
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
