#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// Reads text line by line, from a file in chunks or from a text held in
// memory. A line ends at LF, CR LF or a lone CR (as the runtime the logs come
// from reads them) and the end is dropped; a last line without an end still
// counts, and empty lines are returned like any other. The caller may cap a
// line's length: past the cap the rest of the line is skipped and the line is
// flagged as cut, so a file without line breaks cannot exhaust memory.
namespace korv {

class LineReader {
public:
    static constexpr std::size_t kNoCap = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

    explicit LineReader(std::size_t max_line_bytes = kNoCap) : max_line_bytes_(max_line_bytes) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // false on failure, with the reason in last_error().
    bool open(const std::string& path);
    // Reads `text`, which must outlive the reading.
    void open_text(std::string_view text);
    void close();

    // false at the end or on an error (see failed()).
    bool next_line(std::string& line);
    // The same line as a view, valid until the next call: no copy, except of
    // a line that runs from one chunk of the file into the next.
    bool next_line_view(std::string_view& line);
    bool line_was_cut() const { return cut_; }
    bool failed() const { return !error_.empty(); }
    const std::string& last_error() const { return error_; }

private:
    bool fill();
    void set_unread(std::string_view text);
    // Where the line at the start of unread_ ends: at its CR or LF, or at
    // unread_'s end when none comes.
    std::size_t line_end() const;

    std::size_t max_line_bytes_;
    int fd_ = -1;
    std::vector<char> buf_;
    std::string_view unread_;    // the rest of the current chunk, or of the text in memory
    bool unread_has_cr_ = true;  // false: no line ends in CR within unread_
    std::string spill_;          // a line next_line_view assembled from two chunks
    bool cut_ = false;
    bool pending_cr_ = false;  // the last line ended in CR: an LF right after it belongs to it
    std::string error_;
};

// Every line of a text held in memory.
std::vector<std::string> text_lines(std::string_view text);

}  // namespace korv
