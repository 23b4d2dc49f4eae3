#include "common/core/korvio_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>

namespace korv {
namespace {

template <class F>
void find(void* handle, F*& target, const char* name, std::string& missing) {
    target = reinterpret_cast<F*>(dlsym(handle, name));
    if (!target) missing += missing.empty() ? name : std::string(", ") + name;
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

const KorvioBinding& KorvioBinding::by_name() {
    static const KorvioBinding* library = [] {
        auto* bound = new KorvioBinding;  // never freed: see the header
        const std::string beside = executable_directory();
        if (beside.empty()) {
            bound->load({kKorvioLibraryName});
        } else {
            bound->load({beside + "/" + kKorvioLibraryName, kKorvioLibraryName});
        }
        return bound;
    }();
    return *library;
}

std::unique_ptr<KorvioBinding> KorvioBinding::load_from(const std::string& path) {
    std::unique_ptr<KorvioBinding> bound(new KorvioBinding);
    bound->load({path});
    return bound;
}

void KorvioBinding::load(std::initializer_list<std::string> paths) {
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

bool KorvioBinding::bind(void* handle) {
    KorvioEntryPoints found;
    std::string missing;
    find(handle, found.SioReset, "SioReset", missing);
    find(handle, found.SioDone, "SioDone", missing);
    find(handle, found.logdata, "logdata", missing);
    find(handle, found.getDTC, "getDTC", missing);
    find(handle, found.clearDTC, "clearDTC", missing);
    find(handle, found.getver, "getver", missing);
    find(handle, found.dodiag, "dodiag", missing);
    find(handle, found.getPMS, "getPMS", missing);
    find(handle, found.getPNKORV, "getPNKORV", missing);
    if (!missing.empty()) {
        error_ = "the library lacks " + missing;
        return false;
    }
    entry_ = found;
    return true;
}

}  // namespace korv
