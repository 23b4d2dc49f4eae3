// A handheld with a short log to transfer. An empty line typed on standard
// input presses its transfer button; a line fault typed there ("stall 6000",
// "drop after 20", ...) is armed for a coming answer. SIGINT or SIGTERM ends it.
#include "sim/bin/peer_program.h"
#include "sim/core/handheld_peer.h"
#include "sim/core/line_glitch.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

struct Options {
    korv::sim::Pacing pacing = korv::sim::Pacing::Wire;
    int width = 1;
};

bool parse(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--instant") == 0) {
            options->pacing = korv::sim::Pacing::Instant;
        } else if (std::strcmp(argv[i], "--width") == 0 && i + 1 < argc &&
                   (std::strcmp(argv[i + 1], "1") == 0 || std::strcmp(argv[i + 1], "2") == 0)) {
            options->width = argv[++i][0] - '0';
        } else {
            std::fprintf(stderr, "usage: korv-sim-handheld [--instant] [--width 1|2]\n");
            return false;
        }
    }
    return true;
}

// One line typed on standard input.
void take_line(korv::sim::HandheldPeer& peer, const std::string& line) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) {
        peer.press_button();
        std::fprintf(stderr, "Transfer button pressed\n");
    } else if (const auto glitch = korv::sim::parse_glitch(line)) {
        peer.inject(*glitch);
        std::fprintf(stderr, "armed: %s\n", korv::sim::describe(*glitch).c_str());
    } else {
        std::fprintf(stderr, "Enter presses the transfer button; %s\n", korv::sim::kGlitchUsage);
    }
}

// Until a stop signal: each line on standard input presses the button or arms a fault.
int serve(korv::sim::HandheldPeer& peer) {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGHUP);
    const int signals = signalfd(-1, &stops, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror("korv-sim-handheld: signalfd");
        return 1;
    }
    peer.start();
    std::printf("%s\n", peer.slave_path().c_str());
    std::fflush(stdout);
    std::fprintf(stderr,
                 "Try: KORVIO_COM1=%s ./Korvview, start the handheld transfer on COM 1,\n"
                 "then press Enter here for the handheld's transfer button (Ctrl+C ends the device)\n"
                 "Type a line fault to arm it first: %s\n",
                 peer.slave_path().c_str(), korv::sim::kGlitchUsage);
    bool reading_input = true;
    std::string typed;
    for (;;) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {reading_input ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents & POLLIN) break;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char chunk[256];
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n <= 0) {
                reading_input = false;  // no terminal: serve until stopped
                continue;
            }
            typed.append(chunk, static_cast<std::size_t>(n));
            for (std::size_t end; (end = typed.find('\n')) != std::string::npos; typed.erase(0, end + 1))
                take_line(peer, typed.substr(0, end));
        }
    }
    peer.stop();
    ::close(signals);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, &options)) return 2;
    korv::sim::block_stop_signals();
    try {
        korv::sim::HandheldPeer peer(korv::sim::HandheldPeer::sample_log(options.width), options.pacing);
        return serve(peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korv-sim-handheld: %s\n", e.what());
        return 1;
    }
}
