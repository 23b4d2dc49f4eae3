#include "logger/core/korvio_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>

namespace korv::logger {
namespace {

constexpr const char* kLibraryName = "libkorvio.so";

template <class F>
bool find(void* handle, F*& target, const char* name, std::string& missing) {
    target = reinterpret_cast<F*>(dlsym(handle, name));
    if (!target) missing += missing.empty() ? name : std::string(", ") + name;
    return target != nullptr;
}

}  // namespace

std::string executable_directory() {
    std::array<char, 4096> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    std::string exe(path.data(), static_cast<std::size_t>(n));
    const std::size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) return {};
    return exe.substr(0, slash);
}

KorvioLibrary& KorvioLibrary::shared() {
    static KorvioLibrary* library = [] {
        auto* bound = new KorvioLibrary;  // lives as long as the process, as the loaded code does
        const std::string beside = executable_directory();
        if (beside.empty()) {
            bound->load({kLibraryName});
        } else {
            bound->load({beside + "/" + kLibraryName, kLibraryName});
        }
        return bound;
    }();
    return *library;
}

std::unique_ptr<KorvioLibrary> KorvioLibrary::load_from(const std::string& path) {
    std::unique_ptr<KorvioLibrary> bound(new KorvioLibrary);
    bound->load({path});
    return bound;
}

void KorvioLibrary::load(std::initializer_list<std::string> paths) {
    error_.clear();
    for (const std::string& path : paths) {
        // A name without a slash goes through the normal search path.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            error_ = why ? why : "cannot load " + path;
            continue;
        }
        if (bind(handle)) {
            handle_ = handle;
            error_.clear();
            return;
        }
        // The library stays mapped: closing a library is not worth the risk
        // of code of it still being referenced.
    }
}

bool KorvioLibrary::bind(void* handle) {
    std::string missing;
    find(handle, sio_reset_, "SioReset", missing);
    find(handle, sio_done_, "SioDone", missing);
    find(handle, logdata_, "logdata", missing);
    find(handle, get_dtc_, "getDTC", missing);
    find(handle, clear_dtc_, "clearDTC", missing);
    find(handle, getver_, "getver", missing);
    find(handle, dodiag_, "dodiag", missing);
    find(handle, get_pms_, "getPMS", missing);
    find(handle, get_pnkorv_, "getPNKORV", missing);
    if (missing.empty()) return true;
    error_ = "the library lacks " + missing;
    return false;
}

void KorvioLibrary::require() const {
    if (!handle_) throw KorvioUnavailable(error_.empty() ? std::string("libkorvio.so is not loaded") : error_);
}

int KorvioLibrary::SioReset(int cable, int port, int in_queue, int out_queue) const {
    require();
    return sio_reset_(cable, port, in_queue, out_queue);
}

int KorvioLibrary::SioDone(int port) const {
    require();
    return sio_done_(port);
}

int KorvioLibrary::logdata(const korvio_host* host, int port, int mode, int cable, const int* items,
                           int item_count, int chart_flag) const {
    require();
    return logdata_(host, port, mode, cable, items, item_count, chart_flag);
}

int KorvioLibrary::getDTC(int port, int cable) const {
    require();
    return get_dtc_(port, cable);
}

int KorvioLibrary::clearDTC(int port) const {
    require();
    return clear_dtc_(port);
}

int KorvioLibrary::getver() const {
    require();
    return getver_();
}

int KorvioLibrary::dodiag(int port, int code) const {
    require();
    return dodiag_(port, code);
}

}  // namespace korv::logger
