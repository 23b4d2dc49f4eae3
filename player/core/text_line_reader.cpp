#include "player/core/text_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace korv::player {

TextLineReader::~TextLineReader() { close(); }

bool TextLineReader::open(const std::string& path) {
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
  return true;
}

void TextLineReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pos_ = len_ = 0;
  eof_ = cut_ = pending_cr_ = false;
  error_.clear();
}

bool TextLineReader::fill() {
  if (eof_ || fd_ < 0) return false;
  for (;;) {
    const ssize_t got = ::read(fd_, buf_.data(), buf_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = std::generic_category().message(errno);
      eof_ = true;
      return false;
    }
    pos_ = 0;
    len_ = static_cast<std::size_t>(got);
    if (got == 0) eof_ = true;
    return got > 0;
  }
}

bool TextLineReader::next_line(std::string& line) {
  line.clear();
  cut_ = false;
  bool any = false;  // something of this line was seen, even an empty line's terminator
  for (;;) {
    if (pos_ == len_ && !fill()) return any && error_.empty();
    if (pending_cr_) {
      pending_cr_ = false;
      if (buf_[pos_] == '\n') ++pos_;
      continue;
    }
    any = true;
    const char* start = buf_.data() + pos_;
    const char* end = buf_.data() + len_;
    const char* p = start;
    while (p != end && *p != '\n' && *p != '\r') ++p;
    const std::size_t n = static_cast<std::size_t>(p - start);
    const std::size_t room = kMaxLineBytes - line.size();
    if (n > room) cut_ = true;
    line.append(start, n > room ? room : n);
    pos_ += n;
    if (p != end) {
      pending_cr_ = *p == '\r';
      ++pos_;
      return true;
    }
  }
}

void split_commas(std::string_view line, std::vector<std::string_view>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ',') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ',') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
}

}  // namespace korv::player
