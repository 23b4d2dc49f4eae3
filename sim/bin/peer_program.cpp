#include "sim/bin/peer_program.h"

#include <signal.h>

#include <cstdio>
#include <cstring>

namespace korv::sim {
namespace {

sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

std::optional<Pacing> parse_pacing(int argc, char** argv, const char* program) {
    Pacing pacing = Pacing::Wire;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--instant") == 0) {
            pacing = Pacing::Instant;
        } else {
            std::fprintf(stderr, "usage: %s [--instant]\n", program);
            return std::nullopt;
        }
    }
    return pacing;
}

void block_stop_signals() {
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int serve(Peer& peer, const char* program) {
    peer.start();
    std::printf("%s\n", peer.slave_path().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "Try: KORVIO_COM1=%s %s   (Ctrl+C ends the device)\n", peer.slave_path().c_str(), program);
    const sigset_t set = stop_signals();
    int signal = 0;
    sigwait(&set, &signal);
    peer.stop();
    return 0;
}

}  // namespace korv::sim
