#pragma once
// Calls into libkorvio.so that run off the GUI thread: the worker thread,
// the mailbox through which it hands results back, and the check that the
// library is there and of the right version.
//
// Workers are counted process-wide: the library offers no way to stop a
// transfer or a download, so a program that ends while one is still inside
// the library leaves it alone instead of tearing down what it uses.
#include "common/core/korvio_library.h"

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace korv {

enum class LibraryCheck { missing, wrong_version, ready };

// Asked on the worker before the real call.
LibraryCheck check_library(const KorvioLibrary& library);

// The one way from a worker to the object that started it. The object
// closes it before it dies, under the same lock, so a worker that outlives
// it posts into nothing; Qt drops calls still queued for a deleted receiver.
template <class Receiver>
class Mailbox {
public:
    explicit Mailbox(Receiver* owner) : receiver_(owner) {}

    template <class Work>
    void post(Work work) {
        const std::lock_guard<std::mutex> guard(lock_);
        if (!receiver_) return;
        Receiver* target = receiver_;
        QMetaObject::invokeMethod(
            target, [target, work = std::move(work)] { work(*target); }, Qt::QueuedConnection);
    }
    void close() {
        const std::lock_guard<std::mutex> guard(lock_);
        receiver_ = nullptr;
    }

private:
    std::mutex lock_;
    Receiver* receiver_;
};

class LibraryWorker {
public:
    LibraryWorker() = default;
    // A worker still running is left to finish on its own.
    ~LibraryWorker();
    LibraryWorker(const LibraryWorker&) = delete;
    LibraryWorker& operator=(const LibraryWorker&) = delete;

    // Workers of any kind still alive in this process.
    static int running();

    // Runs work on a new thread; the reason when none can be started.
    std::optional<std::string> spawn(std::function<void()> work);
    // Once the worker has posted its last result.
    void join();

private:
    std::thread thread_;
};

}  // namespace korv
