#include "common/gui/library_worker.h"

#include <atomic>
#include <exception>

namespace korv {
namespace {
std::atomic<int> live_workers{0};
}

LibraryCheck check_library(const KorvioLibrary& library) {
    try {
        return library.getver() == kRequiredKorvioVersion ? LibraryCheck::ready : LibraryCheck::wrong_version;
    } catch (const KorvioUnavailable&) {
        return LibraryCheck::missing;
    }
}

LibraryWorker::~LibraryWorker() {
    if (thread_.joinable()) thread_.detach();
}

int LibraryWorker::running() { return live_workers.load(); }

std::optional<std::string> LibraryWorker::spawn(std::function<void()> work) {
    join();
    ++live_workers;
    try {
        thread_ = std::thread([work = std::move(work)] {
            work();
            --live_workers;
        });
    } catch (const std::exception& failure) {
        --live_workers;
        return std::string(failure.what());
    }
    return std::nullopt;
}

void LibraryWorker::join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace korv
