#include "nativeio/core/working_file.h"

namespace korv::korvio {

WorkingFile::WorkingFile(const char* name) : file_(std::fopen(name, "wb")) { failed_ = file_ == nullptr; }

WorkingFile::~WorkingFile() { close(); }

bool WorkingFile::append(const std::uint8_t* bytes, std::size_t count) {
    if (!ok()) return false;
    if (count > 0 && std::fwrite(bytes, 1, count, file_) != count) failed_ = true;
    return !failed_;
}

bool WorkingFile::close() {
    if (!file_) return !failed_;  // closed before, or never created (failed_)
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace korv::korvio
