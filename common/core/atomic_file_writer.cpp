#include "common/core/atomic_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace korv {
namespace {

std::string errno_text(int err) { return std::generic_category().message(err); }

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string file_name_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Unique enough within the folder; O_EXCL settles any clash.
std::string temp_suffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    char text[64];
    std::snprintf(text, sizeof text, ".%ld.%u.%llx.tmp", static_cast<long>(::getpid()), counter.fetch_add(1),
                  ticks & 0xFFFFFFFFull);
    return text;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::size_t buffer_size)
    : buf_(new std::uint8_t[std::max<std::size_t>(buffer_size, 64)]),
      buf_size_(std::max<std::size_t>(buffer_size, 64)) {}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

std::optional<std::string> AtomicFileWriter::open(const std::string& target_path) {
    discard();
    target_ = target_path;
    error_.clear();
    written_ = handed_to_disk_ = 0;
    if (target_path.empty() || target_path.back() == '/') return std::string("no file name given");

    const std::string stem = folder_of(target_path) + "/." + file_name_of(target_path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = stem + temp_suffix();
        // Mode 0666 lets the umask decide, as for any new file the user saves.
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) return std::nullopt;
        if (errno != EEXIST && errno != EINTR) break;
    }
    const int err = errno;
    temp_.clear();
    // The file the user chose is what failed, whatever the temporary beside it.
    return "Cannot write " + target_path + ": " + errno_text(err);
}

void AtomicFileWriter::write(const void* data, std::size_t n) {
    if (fd_ < 0 || !error_.empty()) return;
    const auto* p = static_cast<const std::uint8_t*>(data);
    // A large piece goes to the file as it is rather than through the buffer.
    const bool large = n >= buf_size_ / 4;
    if (large || buf_len_ + n > buf_size_) {
        flush();
        if (large) {
            write_through(p, n);
            return;
        }
    }
    std::memcpy(buf_.get() + buf_len_, p, n);
    buf_len_ += n;
}

void AtomicFileWriter::flush() {
    write_through(buf_.get(), buf_len_);
    buf_len_ = 0;
}

void AtomicFileWriter::write_through(const std::uint8_t* data, std::size_t n) {
    while (n > 0 && error_.empty()) {
        const ssize_t done = ::write(fd_, data, n);
        if (done < 0) {
            if (errno == EINTR) continue;
            error_ = errno_text(errno);
            return;
        }
        data += done;
        n -= static_cast<std::size_t>(done);
        written_ += static_cast<std::uint64_t>(done);
    }
    // A large file's bytes start for the disk while the rest is being made,
    // so the sync on commit has less left to wait for.
    if (written_ - handed_to_disk_ >= kWritebackBytes) {
        ::sync_file_range(fd_, static_cast<off_t>(handed_to_disk_), static_cast<off_t>(written_ - handed_to_disk_),
                          SYNC_FILE_RANGE_WRITE);
        handed_to_disk_ = written_;
    }
}

std::optional<std::string> AtomicFileWriter::commit() {
    if (fd_ < 0) return std::string("no file is being written");
    flush();
    if (error_.empty() && ::fsync(fd_) != 0) error_ = errno_text(errno);
    if (::close(fd_) != 0 && error_.empty()) error_ = errno_text(errno);
    fd_ = -1;
    if (error_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0) error_ = errno_text(errno);
    if (!error_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return "Cannot write " + target_ + ": " + error_;
    }
    temp_.clear();
    // Make the rename itself durable; a failure here loses nothing written.
    const int dir = ::open(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    buf_len_ = 0;
}

}  // namespace korv
