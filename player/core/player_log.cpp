#include "player/core/player_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "player/core/playback_cursor.h"

namespace korv::player {
namespace {

constexpr const char* kOpenError = "1) Unable to open file: ";

// The readers report a file they cannot open as a header failure; the user
// is told the plainer story first.
std::optional<std::string> probe_readable(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return kOpenError + std::generic_category().message(errno);
    ::close(fd);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> PlayerLog::open(const std::string& path, LogFileType type, FloatOrder order) {
    close();
    if (type == LogFileType::none) return std::string("Not a supported log file type (dab or vxg)");
    if (auto error = probe_readable(path)) return error;

    std::optional<std::string> error;
    if (type == LogFileType::pms) {
        if (auto open_error = pms_.open(path)) {
            error = kOpenError + *open_error;
        } else {
            error = pms_.dab_header();
        }
    } else {
        error = vxm_.open(path, order);
    }
    if (error) {
        pms_.close();
        vxm_.close();
        return error;
    }
    type_ = type;
    return std::nullopt;
}

void PlayerLog::close() {
    pms_.close();
    vxm_.close();
    type_ = LogFileType::none;
    cursor_ = 0;
    record_.reset();
}

std::int64_t PlayerLog::first_record() const {
    switch (type_) {
    case LogFileType::pms: return pms_.first_record();
    case LogFileType::vxm: return vxm_.model().first_record;
    case LogFileType::none: break;
    }
    return 0;
}

std::int64_t PlayerLog::log_record_length() const {
    switch (type_) {
    case LogFileType::pms: return pms_.log_record_length();
    case LogFileType::vxm: return vxm_.model().log_record_length;
    case LogFileType::none: break;
    }
    return 0;
}

std::int64_t PlayerLog::log_records() const {
    switch (type_) {
    case LogFileType::pms: return pms_.log_records();
    case LogFileType::vxm: return vxm_.model().log_records;
    case LogFileType::none: break;
    }
    return 0;
}

void PlayerLog::point_log_file(std::int64_t n) {
    if (type_ == LogFileType::none) return;
    // The record count without the general switch: playback steps once a record.
    const std::int64_t records = type_ == LogFileType::vxm ? vxm_.model().log_records : pms_.log_records();
    const CursorStep step = point_cursor(cursor_, n, records);
    cursor_ = step.cursor;
    // Field by field: a copy of the whole optional would load it in one piece
    // just after point_cursor stored it in two, and stall playback every step.
    if (step.record) {
        record_ = *step.record;
    } else {
        record_.reset();
    }
}

RecordRead PlayerLog::read_log_record() {
    RecordRead result;
    if (type_ == LogFileType::none || !record_) return result;
    if (type_ == LogFileType::pms) {
        pms_.seek_record(*record_);
        result.read = pms_.read_pms_record();
        return result;
    }
    if (auto error = vxm_.seek_record(*record_)) {
        result.error = std::move(error);
        return result;
    }
    if (auto error = vxm_.read_vxm_record()) result.error = std::move(error);
    result.read = true;
    return result;
}

VxmRecordBlock PlayerLog::read_vxm_records(std::int64_t first, std::span<float> out) {
    if (type_ != LogFileType::vxm) return {};
    if (auto error = vxm_.seek_record(first)) return {0, std::move(error)};
    return vxm_.read_vxm_records(out);
}

}  // namespace korv::player
