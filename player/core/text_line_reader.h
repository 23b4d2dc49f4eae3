#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a text file line by line. A line ends at LF, CR LF or a lone CR (as
// the runtime the logs come from reads them); the terminator is dropped.
// A line longer than the cap is cut there and flagged, and the rest of it
// is skipped, so a file without line breaks cannot exhaust memory.
namespace korv::player {

class TextLineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

  ~TextLineReader();
  // false on failure, with the reason in last_error().
  bool open(const std::string& path);
  void close();

  // false at the end of the file or on an error (see failed()).
  bool next_line(std::string& line);
  bool line_was_cut() const { return cut_; }
  bool failed() const { return !error_.empty(); }
  const std::string& last_error() const { return error_; }

 private:
  bool fill();

  int fd_ = -1;
  std::vector<char> buf_ = std::vector<char>(std::size_t{1} << 16);
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool eof_ = false;
  bool cut_ = false;
  bool pending_cr_ = false;  // the last line ended in CR: an LF right after it belongs to it
  std::string error_;
};

// Tokens are the maximal runs of characters other than ','; empty fields
// between adjacent commas do not count. Views into `line`.
void split_commas(std::string_view line, std::vector<std::string_view>& tokens);

}  // namespace korv::player
