#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Random-access reads of a file through one large buffer, so that callers can
// ask for a few bytes at a time without a system call each.
//
// Reads go through pread at the reader's own position; a seek only moves
// that position. Failures return false (or nullptr) and leave the reason in
// last_error().
namespace korv {

class BufferedFileReader {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

    explicit BufferedFileReader(std::size_t buffer_size = kDefaultBufferSize);
    ~BufferedFileReader();
    BufferedFileReader(const BufferedFileReader&) = delete;
    BufferedFileReader& operator=(const BufferedFileReader&) = delete;

    bool open(const std::string& path);
    void close();
    bool is_open() const { return fd_ >= 0; }

    // The file's length as of open() or the last update_size().
    std::int64_t size() const { return size_; }
    bool update_size();

    std::int64_t position() const { return pos_; }
    // Bytes between the position and size(); 0 when the position is beyond it.
    std::int64_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    // The most take() hands out at once.
    std::size_t buffer_size() const { return buf_.size(); }
    // Any position >= 0 may be set; reading there reports the end of the file.
    void seek(std::int64_t position) { pos_ = position < 0 ? 0 : position; }

    // Exactly n bytes, or false (the position then stands where reading stopped).
    bool read(void* out, std::size_t n);
    // n contiguous bytes from the buffer, valid until the next call on this
    // reader; n must not exceed the buffer size. nullptr on failure.
    const std::uint8_t* take(std::size_t n) {
        if (pos_ >= buf_offset_ && n <= buf_len_ && pos_ - buf_offset_ <= static_cast<std::int64_t>(buf_len_ - n)) {
            const std::uint8_t* p = buf_.data() + (pos_ - buf_offset_);
            pos_ += static_cast<std::int64_t>(n);
            return p;
        }
        return take_after_refill(n);
    }
    // Moves on by n bytes, refused if that passes size().
    bool skip(std::uint64_t n);

    bool read_u8(std::uint8_t& v);
    bool read_u16_le(std::uint16_t& v);
    bool read_u32_le(std::uint32_t& v);

    const std::string& last_error() const { return error_; }

private:
    const std::uint8_t* take_after_refill(std::size_t n);
    bool fill();
    // pread until n bytes or the end of the file; -1 on error.
    std::int64_t pread_fully(std::uint8_t* out, std::size_t n, std::int64_t offset);
    void fail_end_of_file();
    void fail_errno(int err);

    int fd_ = -1;
    std::int64_t size_ = 0;
    std::int64_t pos_ = 0;
    std::vector<std::uint8_t> buf_;
    std::int64_t buf_offset_ = 0;  // file offset of buf_[0]
    std::size_t buf_len_ = 0;      // valid bytes in buf_
    std::string error_;
};

}  // namespace korv
