#pragma once
// One VXMlog per user: an exclusive lock on a file in the user's runtime
// folder. The kernel lets go of the lock when its holder ends, however it
// ends, so a crashed instance's lock file is simply taken over.
#include <string>

namespace korv::boxlogger {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result { Acquired, HeldElsewhere, Failed };
    // Creates the file when missing and locks it without waiting.
    Result acquire(const std::string& path);
    void release();
    bool held() const { return fd_ >= 0; }
    // Why the last acquire failed.
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace korv::boxlogger
