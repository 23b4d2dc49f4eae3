#include "common/core/line_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korv {
namespace {

constexpr auto kEndsBlock = static_cast<std::size_t>(LineReader::kEndsBlockBytes);

bool is_line_end(char c) { return c == '\n' || c == '\r'; }

// Bit k set where block[k] is CR or LF, for the 64 bytes from block.
std::uint64_t line_end_bits(const char* block) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < kEndsBlock / 16; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * k));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr));
        bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(ends))} << (16 * k);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (std::size_t k = 0; k < kEndsBlock; ++k) bits |= std::uint64_t{is_line_end(block[k])} << k;
    return bits;
#endif
}

}  // namespace

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
    close();
    do {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        error_ = std::generic_category().message(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        close();
        error_ = "it is a folder, not a file";
        return false;
    }
    if (S_ISREG(st.st_mode) && st.st_size >= static_cast<off_t>(kMapFromBytes) &&
        map_whole(static_cast<std::size_t>(st.st_size)))
        return true;
    if (S_ISREG(st.st_mode)) total_ = static_cast<std::size_t>(st.st_size);
    buf_.resize(kChunkBytes);
    return true;
}

bool LineReader::map_whole(std::size_t size) {
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_, 0);
    if (map == MAP_FAILED) return false;
    ::madvise(map, size, MADV_SEQUENTIAL);
    ::close(fd_);
    fd_ = -1;
    map_ = map;
    map_bytes_ = size;
    total_ = size;
    set_unread(std::string_view(static_cast<const char*>(map), size));
    return true;
}

void LineReader::open_text(std::string_view text) {
    close();
    total_ = text.size();
    set_unread(text);
}

void LineReader::set_unread(std::string_view text) {
    chunk_offset_ = bytes_read();
    chunk_ = text.data();
    unread_ = text;
    ends_at_ = nullptr;
}

std::size_t LineReader::line_end() {
    const char* const begin = unread_.data();
    const char* const stop = begin + unread_.size();
    const char* p = begin;
    while (p != stop) {
        if (ends_at_ == nullptr || p < ends_at_ || p >= ends_at_ + kEndsBlock) {
            // The last few bytes are looked at one by one.
            if (static_cast<std::size_t>(stop - p) < kEndsBlock) {
                while (p != stop && !is_line_end(*p)) ++p;
                return static_cast<std::size_t>(p - begin);
            }
            ends_at_ = p;
            ends_ = line_end_bits(p);
        }
        const std::uint64_t ahead = ends_ >> (p - ends_at_);
        if (ahead != 0) return static_cast<std::size_t>(p - begin) + static_cast<std::size_t>(std::countr_zero(ahead));
        p = ends_at_ + kEndsBlock;
    }
    return unread_.size();
}

void LineReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (map_) ::munmap(map_, map_bytes_);
    map_ = nullptr;
    map_bytes_ = 0;
    unread_ = {};
    chunk_ = nullptr;
    chunk_offset_ = total_ = 0;
    ends_at_ = nullptr;
    cut_ = pending_cr_ = false;
    error_.clear();
}

bool LineReader::fill() {
    // A text in memory is a single chunk; a file is done once it has ended or failed.
    if (fd_ < 0) return false;
    for (;;) {
        const ssize_t got = ::read(fd_, buf_.data(), buf_.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error_ = std::generic_category().message(errno);
        if (got <= 0) {
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        set_unread(std::string_view(buf_.data(), static_cast<std::size_t>(got)));
        return true;
    }
}

bool LineReader::next_line(std::string& line) {
    line.clear();
    cut_ = false;
    bool any = false;  // something of this line was seen, even an empty line's end
    for (;;) {
        if (unread_.empty() && !fill()) return any && error_.empty();
        if (pending_cr_) {
            pending_cr_ = false;
            if (unread_.front() == '\n') unread_.remove_prefix(1);
            continue;
        }
        any = true;
        const std::size_t n = line_end();
        const std::size_t room = max_line_bytes_ - line.size();
        if (n > room) cut_ = true;
        line.append(unread_.data(), std::min(n, room));
        if (n == unread_.size()) {
            unread_.remove_prefix(n);
            continue;
        }
        pending_cr_ = unread_[n] == '\r';
        unread_.remove_prefix(n + 1);
        return true;
    }
}

bool LineReader::look_further() {
    const char* const next = ends_at_ + kEndsBlock;
    if (static_cast<std::size_t>(unread_.data() + unread_.size() - next) < kEndsBlock) return false;
    ends_at_ = next;
    ends_ = line_end_bits(next);
    return true;
}

bool LineReader::next_line_view_found(std::string_view& line) {
    if (pending_cr_ && !unread_.empty()) {
        pending_cr_ = false;
        if (unread_.front() == '\n') unread_.remove_prefix(1);
    }
    // A line whose end is in this chunk is handed out where it lies.
    if (!pending_cr_ && !unread_.empty()) {
        const std::size_t n = line_end();
        if (n < unread_.size()) {
            cut_ = n > max_line_bytes_;
            line = unread_.substr(0, cut_ ? max_line_bytes_ : n);
            pending_cr_ = unread_[n] == '\r';
            unread_.remove_prefix(n + 1);
            return true;
        }
    }
    if (!next_line(spill_)) return false;
    line = spill_;
    return true;
}

std::vector<std::string> text_lines(std::string_view text) {
    std::vector<std::string> lines;
    LineReader reader;
    reader.open_text(text);
    std::string line;
    while (reader.next_line(line)) lines.push_back(line);
    return lines;
}

}  // namespace korv
