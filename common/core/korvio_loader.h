#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "nativeio/include/korvio.h"

// Loading libkorvio.so by name and finding its entry points with dlsym, as
// both programs that use the library do. A library that cannot be loaded,
// or lacks an entry point, leaves the binding unavailable with the reason.
namespace korv {

inline constexpr const char* kKorvioLibraryName = "libkorvio.so";
// The version both programs require of the library.
inline constexpr int kRequiredKorvioVersion = 6;
// What the user is told when the library cannot be used. The help page is
// this suite's README.
inline constexpr const char* kKorvioMissingMessage =
    "Wrong or missing library - libkorvio.so!  See README.md for help.";
// What Korvview's windows say when the library answers with another version.
inline constexpr const char* kKorvioWrongVersionMessage = "Missing or incorrect version of libkorvio.so";

// The entry points of include/korvio.h; all null while unbound.
struct KorvioEntryPoints {
    decltype(&::SioReset) SioReset = nullptr;
    decltype(&::SioDone) SioDone = nullptr;
    decltype(&::logdata) logdata = nullptr;
    decltype(&::getDTC) getDTC = nullptr;
    decltype(&::clearDTC) clearDTC = nullptr;
    decltype(&::getver) getver = nullptr;
    decltype(&::dodiag) dodiag = nullptr;
    decltype(&::getPMS) getPMS = nullptr;
    decltype(&::getPNKORV) getPNKORV = nullptr;
};

class KorvioBinding {
public:
    // The process-wide binding, loaded on first use (from any thread, once):
    // first from the directory of the running executable, then through the
    // normal search path. It lives as long as the process, as the loaded
    // code does, so a worker still inside the library never outlives it.
    static const KorvioBinding& by_name();
    // A binding of the library at this path (tests bind a given build).
    static std::unique_ptr<KorvioBinding> load_from(const std::string& path);

    KorvioBinding(const KorvioBinding&) = delete;
    KorvioBinding& operator=(const KorvioBinding&) = delete;

    bool available() const { return handle_ != nullptr; }
    // Why the library is unavailable; empty when it is bound.
    const std::string& load_error() const { return error_; }
    const KorvioEntryPoints& entry_points() const { return entry_; }

private:
    KorvioBinding() = default;
    // Tries each path in turn; the first that loads and binds wins.
    void load(std::initializer_list<std::string> paths);
    bool bind(void* handle);

    void* handle_ = nullptr;
    std::string error_;
    KorvioEntryPoints entry_;
};

// The directory of the running executable, without a trailing slash; empty
// when it cannot be found.
std::string executable_directory();

}  // namespace korv
