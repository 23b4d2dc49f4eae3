#include "common/core/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
    unread_ = text;
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
        unread_ = std::string_view(buf_.data(), static_cast<std::size_t>(got));
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
        const auto end = std::find_if(unread_.begin(), unread_.end(), [](char c) { return c == '\n' || c == '\r'; });
        const auto n = static_cast<std::size_t>(end - unread_.begin());
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

std::vector<std::string> text_lines(std::string_view text) {
    std::vector<std::string> lines;
    LineReader reader;
    reader.open_text(text);
    std::string line;
    while (reader.next_line(line)) lines.push_back(line);
    return lines;
}

}  // namespace korv
