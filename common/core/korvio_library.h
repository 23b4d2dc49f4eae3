#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "common/core/korvio_loader.h"
#include "nativeio/include/korvio.h"

// The programs' one way into libkorvio.so: every entry point of korvio.h
// over a KorvioBinding. A library that could not be loaded or bound makes
// every entry point throw KorvioUnavailable, which each program turns into
// its own message; nothing is called into a library that is not there.
namespace korv {

class KorvioUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class KorvioLibrary {
public:
    // The process-wide binding, loaded by name on first use: first from the
    // directory of the running executable, then through the search path.
    static const KorvioLibrary& shared();
    // A binding of the library at this path (tests bind a stand-in).
    static std::unique_ptr<KorvioLibrary> load_from(const std::string& path);

    KorvioLibrary(const KorvioLibrary&) = delete;
    KorvioLibrary& operator=(const KorvioLibrary&) = delete;

    bool available() const { return binding_.available(); }
    // Why the library is unavailable; empty when it is bound.
    const std::string& load_error() const { return binding_.load_error(); }

    // The entry points of include/korvio.h; each throws KorvioUnavailable
    // when the library is not bound. They run on the calling thread.
    int SioReset(int cable, int port, int in_queue, int out_queue) const;
    int SioDone(int port) const;
    int logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                int chart_flag) const;
    int getDTC(int port, int cable) const;
    int clearDTC(int port) const;
    int getver() const;
    int dodiag(int port, int code) const;
    int getPMS(int port, int mode, int a, int b) const;
    int getPNKORV(const korvio_host* host, int port) const;

private:
    explicit KorvioLibrary(const KorvioBinding& binding) : binding_(binding) {}
    explicit KorvioLibrary(std::unique_ptr<KorvioBinding> owned) : owned_(std::move(owned)), binding_(*owned_) {}
    const KorvioEntryPoints& require() const;

    std::unique_ptr<KorvioBinding> owned_;
    const KorvioBinding& binding_;
};

enum class LibraryCheck { missing, wrong_version, ready };

// Asked off the GUI thread before the real call.
LibraryCheck check_library(const KorvioLibrary& library);

}  // namespace korv
