#include "common/core/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace korv {

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
    buf_.resize(kChunkBytes);
    return true;
}

void LineReader::open_text(std::string_view text) {
    close();
    set_unread(text);
}

void LineReader::set_unread(std::string_view text) {
    unread_ = text;
    // Most texts hold no CR at all: one look, then each line end is one memchr.
    unread_has_cr_ = !text.empty() && std::memchr(text.data(), '\r', text.size()) != nullptr;
}

std::size_t LineReader::line_end() const {
    const char* begin = unread_.data();
    const void* lf = unread_.empty() ? nullptr : std::memchr(begin, '\n', unread_.size());
    const std::size_t to_lf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : unread_.size();
    if (!unread_has_cr_ || to_lf == 0) return to_lf;
    const void* cr = std::memchr(begin, '\r', to_lf);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - begin) : to_lf;
}

void LineReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    unread_ = {};
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
            unread_ = {};
            continue;
        }
        pending_cr_ = unread_[n] == '\r';
        unread_.remove_prefix(n + 1);
        return true;
    }
}

bool LineReader::next_line_view(std::string_view& line) {
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
