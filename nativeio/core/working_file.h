#pragma once
// A working file in the current directory, created anew and appended to as
// the bytes come. Its callers' readers judge a download by the file's size,
// so a write that fails must end the run rather than leave a gap.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace korv::korvio {

// Result of a run whose working file could not be created or written.
inline constexpr int kWorkingFileFailed = -100;

class WorkingFile {
public:
    explicit WorkingFile(const char* name);  // see ok()
    ~WorkingFile();
    WorkingFile(const WorkingFile&) = delete;
    WorkingFile& operator=(const WorkingFile&) = delete;

    // False when the file could not be created or a write failed.
    bool ok() const { return file_ != nullptr && !failed_; }

    bool append(const std::uint8_t* bytes, std::size_t count);
    // True when every byte reached the file. Safe to call twice.
    bool close();

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace korv::korvio
