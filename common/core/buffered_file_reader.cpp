#include "common/core/buffered_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/core/byte_order.h"

namespace korv {

BufferedFileReader::BufferedFileReader(std::size_t buffer_size) : buf_(buffer_size < 16 ? 16 : buffer_size) {}

BufferedFileReader::~BufferedFileReader() { close(); }

bool BufferedFileReader::open(const std::string& path) {
    close();
    error_.clear();
    do {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        fail_errno(errno);
        return false;
    }
    if (!update_size()) {
        close();
        return false;
    }
    return true;
}

void BufferedFileReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
    pos_ = 0;
    buf_offset_ = 0;
    buf_len_ = 0;
}

bool BufferedFileReader::update_size() {
    struct stat st {};
    if (fd_ < 0) {
        error_ = "no file is open";
        return false;
    }
    if (::fstat(fd_, &st) != 0) {
        fail_errno(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error_ = "it is a folder, not a file";
        return false;
    }
    size_ = static_cast<std::int64_t>(st.st_size);
    // The file may have changed under the buffer.
    buf_len_ = 0;
    return true;
}

std::int64_t BufferedFileReader::pread_fully(std::uint8_t* out, std::size_t n, std::int64_t offset) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            fail_errno(errno);
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool BufferedFileReader::fill() {
    if (fd_ < 0) {
        error_ = "no file is open";
        return false;
    }
    buf_len_ = 0;
    buf_offset_ = pos_;
    const std::int64_t got = pread_fully(buf_.data(), buf_.size(), pos_);
    if (got < 0) return false;
    buf_len_ = static_cast<std::size_t>(got);
    return true;
}

const std::uint8_t* BufferedFileReader::take_after_refill(std::size_t n) {
    if (n > buf_.size()) {
        error_ = "request larger than the read buffer";
        return nullptr;
    }
    if (!fill()) return nullptr;
    if (buf_len_ < n) {
        pos_ += static_cast<std::int64_t>(buf_len_);
        fail_end_of_file();
        return nullptr;
    }
    const std::uint8_t* p = buf_.data();
    pos_ += static_cast<std::int64_t>(n);
    return p;
}

bool BufferedFileReader::read(void* out, std::size_t n) {
    auto* dst = static_cast<std::uint8_t*>(out);
    while (n > 0) {
        const std::int64_t buf_end = buf_offset_ + static_cast<std::int64_t>(buf_len_);
        if (pos_ >= buf_offset_ && pos_ < buf_end) {
            const std::size_t avail = static_cast<std::size_t>(buf_end - pos_);
            const std::size_t chunk = avail < n ? avail : n;
            std::memcpy(dst, buf_.data() + (pos_ - buf_offset_), chunk);
            dst += chunk;
            n -= chunk;
            pos_ += static_cast<std::int64_t>(chunk);
            continue;
        }
        if (fd_ < 0) {
            error_ = "no file is open";
            return false;
        }
        if (n >= buf_.size()) {
            // Large blocks go straight to the caller's memory.
            const std::int64_t got = pread_fully(dst, n, pos_);
            if (got < 0) return false;
            pos_ += got;
            if (static_cast<std::size_t>(got) < n) {
                fail_end_of_file();
                return false;
            }
            return true;
        }
        if (!fill()) return false;
        if (buf_len_ == 0) {
            fail_end_of_file();
            return false;
        }
    }
    return true;
}

bool BufferedFileReader::skip(std::uint64_t n) {
    if (n > static_cast<std::uint64_t>(remaining())) {
        error_ = "the file ends at byte " + std::to_string(size_) + ", before byte " +
                 std::to_string(static_cast<std::uint64_t>(pos_) + n);
        return false;
    }
    pos_ += static_cast<std::int64_t>(n);
    return true;
}

bool BufferedFileReader::read_u8(std::uint8_t& v) { return read(&v, 1); }

bool BufferedFileReader::read_u16_le(std::uint16_t& v) {
    std::uint8_t b[2];
    if (!read(b, sizeof b)) return false;
    v = load_u16_le(b);
    return true;
}

bool BufferedFileReader::read_u32_le(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!read(b, sizeof b)) return false;
    v = load_u32_le(b);
    return true;
}

void BufferedFileReader::fail_end_of_file() { error_ = "unexpected end of file at byte " + std::to_string(pos_); }

void BufferedFileReader::fail_errno(int err) { error_ = std::generic_category().message(err); }

}  // namespace korv
