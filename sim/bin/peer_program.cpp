#include "sim/bin/peer_program.h"

#include "sim/core/line_glitch.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

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

// Each line typed on standard input arms one line fault on the device.
void take_glitches(Peer& peer, const std::atomic<bool>& stopping) {
    std::string line;
    while (!stopping.load()) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) return;  // no more input: the device just serves
        line.append(chunk, static_cast<std::size_t>(n));
        for (std::size_t end; (end = line.find('\n')) != std::string::npos; line.erase(0, end + 1)) {
            const std::string text = line.substr(0, end);
            if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
            if (const auto glitch = parse_glitch(text)) {
                peer.inject(*glitch);
                std::fprintf(stderr, "armed: %s\n", describe(*glitch).c_str());
            } else {
                std::fprintf(stderr, "%s\n", kGlitchUsage);
            }
        }
    }
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
    std::fprintf(stderr, "Type %s\n", kGlitchUsage);
    std::atomic<bool> stopping{false};
    std::thread glitches([&] { take_glitches(peer, stopping); });
    const sigset_t set = stop_signals();
    int signal = 0;
    sigwait(&set, &signal);
    stopping.store(true);
    glitches.join();
    peer.stop();
    return 0;
}

}  // namespace korv::sim
