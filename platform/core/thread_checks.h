#pragma once
// Hints for ThreadSanitizer about ordering it cannot see: Debian's Qt is not
// built for it, so the locks inside Qt's event queue and thread pool are
// invisible to it. In every other build these do nothing.
#if defined(__SANITIZE_THREAD__)
#define KORV_THREAD_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORV_THREAD_CHECKS 1
#endif
#endif

#if defined(KORV_THREAD_CHECKS)
#include <sanitizer/tsan_interface.h>
// Exported by the runtime, not declared by its header.
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace korv::platform {

// What one thread did before handed_over(token) is seen by another thread
// as done before its taken_over(token).
inline void handed_over([[maybe_unused]] void* token) {
#if defined(KORV_THREAD_CHECKS)
    __tsan_release(token);
#endif
}

inline void taken_over([[maybe_unused]] void* token) {
#if defined(KORV_THREAD_CHECKS)
    __tsan_acquire(token);
#endif
}

// While one lives, the checker records none of this thread's memory
// accesses (locks still count). For code of a library whose own locking it
// cannot see; never around code of ours.
class UncheckedAccesses {
public:
    UncheckedAccesses() {
#if defined(KORV_THREAD_CHECKS)
        __tsan_ignore_thread_begin();
#endif
    }
    ~UncheckedAccesses() {
#if defined(KORV_THREAD_CHECKS)
        __tsan_ignore_thread_end();
#endif
    }
    UncheckedAccesses(const UncheckedAccesses&) = delete;
    UncheckedAccesses& operator=(const UncheckedAccesses&) = delete;
};

}  // namespace korv::platform
