#include "player/core/korvlib.h"

#include <climits>

namespace korv::player {

std::string pnkorv_status_text(int block_count) {
    if (block_count == 1) return kPressTransferButton;
    return "Active: " + std::to_string(block_count);
}

int korvlib::getver() const { return library_.getver(); }

int korvlib::getPNKORV(int port) {
    const korvio_host host{this,    nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, &korvlib::update_pnkorv_callback};
    return library_.getPNKORV(&host, port);
}

int korvlib::getPMS(int port, int mode, int a, int b) const { return library_.getPMS(port, mode, a, b); }

void korvlib::update_pnkorv(int n) {
    // A running total the size of a handheld's memory; held at the top
    // rather than wrapped should a peer ever send more.
    if (n > 0 && block_count > INT_MAX - n) {
        block_count = INT_MAX;
    } else {
        block_count += n;
    }
    if (pd) pd->show_status(pnkorv_status_text(block_count));
}

void korvlib::update_pnkorv_callback(void* object, int n) { static_cast<korvlib*>(object)->update_pnkorv(n); }

}  // namespace korv::player
