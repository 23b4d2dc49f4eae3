#include "common/core/korvio_library.h"

namespace korv {

const KorvioLibrary& KorvioLibrary::shared() {
    // Lives as long as the process, as the binding it wraps does.
    static const KorvioLibrary* library = new KorvioLibrary(KorvioBinding::by_name());
    return *library;
}

std::unique_ptr<KorvioLibrary> KorvioLibrary::load_from(const std::string& path) {
    return std::unique_ptr<KorvioLibrary>(new KorvioLibrary(KorvioBinding::load_from(path)));
}

const KorvioEntryPoints& KorvioLibrary::require() const {
    if (!binding_.available()) {
        const std::string& why = binding_.load_error();
        throw KorvioUnavailable(why.empty() ? std::string("libkorvio.so is not loaded") : why);
    }
    return binding_.entry_points();
}

int KorvioLibrary::SioReset(int cable, int port, int in_queue, int out_queue) const {
    return require().SioReset(cable, port, in_queue, out_queue);
}

int KorvioLibrary::SioDone(int port) const { return require().SioDone(port); }

int KorvioLibrary::logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                           int chart_flag) const {
    return require().logdata(host, port, mode, cable, items, item_count, chart_flag);
}

int KorvioLibrary::getDTC(int port, int cable) const { return require().getDTC(port, cable); }

int KorvioLibrary::clearDTC(int port) const { return require().clearDTC(port); }

int KorvioLibrary::getver() const { return require().getver(); }

int KorvioLibrary::dodiag(int port, int code) const { return require().dodiag(port, code); }

int KorvioLibrary::getPMS(int port, int mode, int a, int b) const { return require().getPMS(port, mode, a, b); }

int KorvioLibrary::getPNKORV(const korvio_host* host, int port) const { return require().getPNKORV(host, port); }

LibraryCheck check_library(const KorvioLibrary& library) {
    try {
        return library.getver() == kRequiredKorvioVersion ? LibraryCheck::ready : LibraryCheck::wrong_version;
    } catch (const KorvioUnavailable&) {
        return LibraryCheck::missing;
    }
}

}  // namespace korv
