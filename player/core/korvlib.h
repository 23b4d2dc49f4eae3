#pragma once
// Korvview's calls into libkorvio.so: the handheld transfer and the PMS
// download, and the transfer's progress callback, through the programs' one
// binding (common/core/korvio_library.h). The library is loaded by name
// once per process, on first use; a load that failed stays failed.
#include "common/core/korvio_library.h"

#include <string>

namespace korv::player {

// The transfer's status line (the port dialog's status field).
class PnkorvStatus {
public:
    virtual ~PnkorvStatus() = default;
    // Called on the thread running the transfer.
    virtual void show_status(const std::string& text) = 0;
};

inline constexpr const char* kPressTransferButton = "Press the TRANSFER button";

// What the status line reads once the progress adds up to block_count.
std::string pnkorv_status_text(int block_count);

class korvlib {
public:
    explicit korvlib(const KorvioLibrary& library = KorvioLibrary::shared()) : library_(library) {}
    korvlib(const korvlib&) = delete;
    korvlib& operator=(const korvlib&) = delete;

    // The entry points throw KorvioUnavailable when the library is not
    // there; getver, asked first, tells it.
    int getver() const;
    // The whole handheld transfer on port 0..3 (COM1..COM4); blocks until
    // it ends, calling update_pnkorv on this thread meanwhile.
    int getPNKORV(int port);
    int getPMS(int port, int mode, int a, int b) const;

    // Adds up the progress and shows it through pd.
    void update_pnkorv(int n);

    PnkorvStatus* pd = nullptr;
    int block_count = 0;

private:
    static void update_pnkorv_callback(void* object, int n);

    const KorvioLibrary& library_;
};

}  // namespace korv::player
