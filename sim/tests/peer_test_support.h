// Helpers the peer tests share: a raw port opened at a speed, bytes read
// with a time-out, and a simulator program run as a child process.
#pragma once

#include "platform/core/clock.h"
#include "platform/serial/tty.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace korv::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline std::unique_ptr<platform::serial::Tty> open_at(const std::string& path, int baud, bool dtr = true,
                                                      bool rts = false) {
    platform::serial::LineSettings settings;
    settings.baud = baud;
    std::unique_ptr<platform::serial::Tty> tty;
    EXPECT_EQ(platform::serial::Tty::open(path, settings, dtr, rts, &tty), 0);
    return tty;
}

// Reads until count bytes came or `real` passed; with a test clock each
// empty look moves it on by step_us, the way a waiting program would.
inline Bytes read_bytes(platform::serial::Tty& tty, std::size_t count,
                        std::chrono::milliseconds real = std::chrono::milliseconds(1000),
                        platform::TestClock* clock = nullptr, std::int64_t step_us = 5000) {
    Bytes got;
    const auto give_up = std::chrono::steady_clock::now() + real;
    while (got.size() < count && std::chrono::steady_clock::now() < give_up) {
        std::uint8_t buffer[64];
        const int n = tty.read(buffer, static_cast<int>(std::min<std::size_t>(sizeof buffer, count - got.size())));
        if (n > 0) {
            got.insert(got.end(), buffer, buffer + n);
            continue;
        }
        if (clock) clock->advance_us(step_us);
        pollfd p{tty.fd(), POLLIN, 0};
        poll(&p, 1, 1);
    }
    return got;
}

// Writes the request, then reads as read_bytes does.
inline Bytes write_and_read(platform::serial::Tty& tty, const Bytes& request, std::size_t count,
                            std::chrono::milliseconds real = std::chrono::milliseconds(1000),
                            platform::TestClock* clock = nullptr, std::int64_t step_us = 5000) {
    EXPECT_EQ(tty.write(request.data(), static_cast<int>(request.size())), static_cast<int>(request.size()));
    return read_bytes(tty, count, real, clock, step_us);
}

// A simulator program run with the given arguments (the first is the
// program). It prints its slave path as its first line; stop() or the
// destructor ends it with SIGTERM and waits, so no child outlives a test.
class RunningProgram {
public:
    explicit RunningProgram(std::vector<std::string> args, bool with_input = false,
                            std::chrono::milliseconds first_line_within = std::chrono::seconds(5)) {
        int out[2] = {-1, -1}, in[2] = {-1, -1};
        if (pipe(out) != 0 || (with_input && pipe(in) != 0)) {
            ADD_FAILURE() << "no pipe for " << args.front();
            close_all({out[0], out[1], in[0], in[1]});
            return;
        }
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            if (with_input) dup2(in[0], STDIN_FILENO);
            if (int quiet = open("/dev/null", O_WRONLY); quiet >= 0) dup2(quiet, STDERR_FILENO);
            close_all({out[0], out[1], in[0], in[1]});
            execv(argv[0], argv.data());
            _exit(127);
        }
        close_all({out[1], in[0]});
        output_ = out[0];
        input_ = in[1];
        if (pid_ < 0) {
            ADD_FAILURE() << "cannot fork for " << args.front();
            return;
        }
        read_first_line(first_line_within);
    }
    ~RunningProgram() { stop(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool got_line() const { return got_line_; }
    const std::string& slave_path() const { return slave_path_; }

    // Writes to the program's standard input (when it was given one).
    bool write_input(const std::string& text) {
        return input_ >= 0 && ::write(input_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

    // Closes its input, ends it and returns the wait status.
    int stop() {
        close_all({input_, output_});
        input_ = output_ = -1;
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, &status_, 0);
            pid_ = -1;
        }
        return status_;
    }

private:
    static void close_all(std::initializer_list<int> fds) {
        for (int fd : fds)
            if (fd >= 0) close(fd);
    }

    void read_first_line(std::chrono::milliseconds within) {
        const auto give_up = std::chrono::steady_clock::now() + within;
        std::string line;
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(give_up - std::chrono::steady_clock::now());
            if (left.count() <= 0) return;
            pollfd p{output_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char c;
            if (read(output_, &c, 1) != 1) return;  // ended before a whole line
            if (c == '\n') break;
            line.push_back(c);
        }
        slave_path_ = line;
        got_line_ = true;
    }

    pid_t pid_ = -1;
    int output_ = -1;
    int input_ = -1;
    int status_ = 0;
    bool got_line_ = false;
    std::string slave_path_;
};

}  // namespace korv::sim::testing
