#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
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
//
// A large file is mapped whole (read-only, no heap) and its lines handed out
// where they lie; a smaller one, or one that cannot be mapped, is read in
// chunks.
namespace korv {

class LineReader {
public:
    static constexpr std::size_t kNoCap = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
    static constexpr std::size_t kMapFromBytes = std::size_t{1} << 20;
    static constexpr std::ptrdiff_t kEndsBlockBytes = 64;  // bytes a look for line ends takes

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
    bool next_line_view(std::string_view& line) {
        // Inline while the line's end is among the ends already found.
        const char* const p = unread_.data();
        if (unread_.empty() || ends_at_ == nullptr) return next_line_view_found(line);
        const std::size_t from = pending_cr_ && *p == '\n' ? 1 : 0;
        const char* const start = p + from;
        std::ptrdiff_t offset = start - ends_at_;
        if (offset < 0 || offset >= kEndsBlockBytes) return next_line_view_found(line);
        std::uint64_t ahead = ends_ >> offset;
        while (ahead == 0) {
            if (!look_further()) return next_line_view_found(line);
            offset = 0;
            ahead = ends_;
        }
        const auto n = static_cast<std::size_t>(ends_at_ + offset - start + std::countr_zero(ahead));
        cut_ = n > max_line_bytes_;
        line = std::string_view(p + from, cut_ ? max_line_bytes_ : n);
        pending_cr_ = p[from + n] == '\r';
        unread_.remove_prefix(from + n + 1);
        return true;
    }
    bool line_was_cut() const { return cut_; }
    // Bytes of the text or file (0 when unknown) and bytes read past so far:
    // what is left to read, for sizing what the lines will fill.
    std::size_t total_bytes() const { return total_; }
    std::size_t bytes_read() const { return chunk_offset_ + static_cast<std::size_t>(unread_.data() - chunk_); }
    bool failed() const { return !error_.empty(); }
    const std::string& last_error() const { return error_; }

private:
    bool next_line_view_found(std::string_view& line);
    // Moves the look for line ends on to the next 64 bytes; false when fewer
    // are left.
    bool look_further();
    bool fill();
    bool map_whole(std::size_t size);
    void set_unread(std::string_view text);
    // Where the line at the start of unread_ ends: at its CR or LF, or at
    // unread_'s end when none comes.
    std::size_t line_end();

    std::size_t max_line_bytes_;
    int fd_ = -1;
    std::vector<char> buf_;
    void* map_ = nullptr;  // the whole file, when mapped
    std::size_t map_bytes_ = 0;
    std::string_view unread_;       // the rest of the current chunk, or of the text in memory
    const char* chunk_ = nullptr;   // where the current chunk starts
    std::size_t chunk_offset_ = 0;  // and its offset in the text
    std::size_t total_ = 0;
    // Line ends (CR or LF) in the 64 bytes from ends_at_, one bit each: one
    // look finds the ends of several short lines.
    const char* ends_at_ = nullptr;
    std::uint64_t ends_ = 0;
    std::string spill_;  // a line next_line_view assembled from two chunks
    bool cut_ = false;
    bool pending_cr_ = false;  // the last line ended in CR: an LF right after it belongs to it
    std::string error_;
};

// Every line of a text held in memory.
std::vector<std::string> text_lines(std::string_view text);

}  // namespace korv
