// Thread builds: the threads Qt starts for itself (its global pool, where it
// fills long spans and converts images; the file dialogs' folder readers; the
// print dialogs') run only Qt's code, and hand results over through Qt's
// locks, which the checker cannot see. Each records no accesses for as long
// as it lives. Threads started by anyone else, std::thread included, are
// left alone. Linked into every program that links Qt in a thread build.
#include <dlfcn.h>
#include <pthread.h>

#include <cstring>
#include <memory>

#include "platform/core/thread_checks.h"

namespace {

using StartRoutine = void* (*)(void*);
using CreateThread = int (*)(pthread_t*, const pthread_attr_t*, StartRoutine, void*);

struct QtThreadStart {
    StartRoutine routine;
    void* argument;
};

// Ends the thread's unrecorded stretch as it exits, as the checker requires,
// after Qt's own bookkeeping of the thread's end.
struct RecordAgainOnExit {
    ~RecordAgainOnExit() { __tsan_ignore_thread_end(); }
};

void* run_unrecorded(void* raw) {
    __tsan_ignore_thread_begin();
    static thread_local RecordAgainOnExit again;
    (void)again;
    const std::unique_ptr<QtThreadStart> start(static_cast<QtThreadStart*>(raw));
    return start->routine(start->argument);
}

bool started_by_qt(const void* caller) {
    Dl_info where{};
    return dladdr(caller, &where) != 0 && where.dli_fname != nullptr &&
           std::strstr(where.dli_fname, "libQt6") != nullptr;
}

// The checker's own pthread_create, which every thread must start through. The
// runtime names it __interceptor_pthread_create: clang links the runtime into
// the program, where RTLD_NEXT would find the C library's and leave the
// checker without the thread; g++ loads it as libtsan.so, where both find it.
CreateThread checked_create() {
    if (void* own = dlsym(RTLD_DEFAULT, "__interceptor_pthread_create")) return reinterpret_cast<CreateThread>(own);
    return reinterpret_cast<CreateThread>(dlsym(RTLD_NEXT, "pthread_create"));
}

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, StartRoutine routine,
                              void* argument) {
    static const CreateThread next = checked_create();
    if (!started_by_qt(__builtin_return_address(0))) return next(thread, attributes, routine, argument);
    auto start = std::make_unique<QtThreadStart>(QtThreadStart{routine, argument});
    const int result = next(thread, attributes, &run_unrecorded, start.get());
    if (result == 0) start.release();
    return result;
}
