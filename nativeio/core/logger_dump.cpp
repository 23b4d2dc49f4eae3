#include "nativeio/core/logger_dump.h"

#include "nativeio/include/korvio_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korv::korvio {

LoggerDump::LoggerDump(const char* name, int sample_size) : name_(name), sample_size_(sample_size) {}

int remove_logger_dump(const char* name) {
    // unlink, not remove: a folder in the dump's place is no dump to clear.
    if (::unlink(name) == 0 || errno == ENOENT) return 0;
    return kWorkingFileFailed;
}

int LoggerDump::create(const std::vector<int>& ids) {
    file_.emplace(name_);
    offset_ = 0;
    mark_ = 0;
    const auto count = static_cast<std::uint32_t>(ids.size());
    std::vector<std::uint8_t> head;
    for (int i = 0; i < korvio_files::kLoggerDumpCountBytes; ++i)
        head.push_back(static_cast<std::uint8_t>(count >> (8 * i)));  // little-endian
    for (int id : ids) head.push_back(static_cast<std::uint8_t>(id));
    return file_->append(head.data(), head.size()) ? 0 : kWorkingFileFailed;
}

void LoggerDump::add(const std::uint8_t* sample) {
    // A cycle holds at most 49 samples, far below the room above the block
    // threshold; should the buffer still fill, the kept cycles go first.
    if (offset_ + sample_size_ > kBufferSize) write_kept();
    if (offset_ + sample_size_ > kBufferSize) return;  // one cycle larger than the buffer
    std::memcpy(buffer_.data() + offset_, sample, static_cast<std::size_t>(sample_size_));
    offset_ += sample_size_;
}

int LoggerDump::end_cycle(bool complete) {
    if (complete)
        mark_ = offset_;
    else
        offset_ = mark_;
    if (offset_ > kBlockThreshold && !write_kept()) return kWorkingFileFailed;
    return file_ && file_->ok() ? 0 : kWorkingFileFailed;
}

int LoggerDump::finish() {
    if (!file_) return kWorkingFileFailed;
    const bool written = write_kept();
    return file_->close() && written ? 0 : kWorkingFileFailed;
}

bool LoggerDump::write_kept() {
    if (!file_) return false;
    const bool written = file_->append(buffer_.data(), static_cast<std::size_t>(mark_));
    // What follows the mark is a cycle still under way.
    std::memmove(buffer_.data(), buffer_.data() + mark_, static_cast<std::size_t>(offset_ - mark_));
    offset_ -= mark_;
    mark_ = 0;
    return written;
}

}  // namespace korv::korvio
