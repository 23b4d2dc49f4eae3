#include "sim/core/peer.h"

#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"
#include "platform/serial/line_settings.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace korv::sim {

using platform::serial::LineChange;

// Rotating then flipping an odd number of bits can never give the byte back
// (the two differ in an odd number of bits), and garbling twice does not
// undo it the way a plain XOR would.
std::uint8_t garbled(std::uint8_t byte) {
    const auto rotated = static_cast<std::uint8_t>((byte << 1) | (byte >> 7));
    return static_cast<std::uint8_t>(rotated ^ 0xA4);
}

std::uint8_t wrong_echo(std::uint8_t byte) { return byte == 0x55 ? 0xAA : 0x55; }

Peer::Peer(PeerOptions options) : options_(options), seam_(pty_.slave_path()) {
    wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake_fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    seam_->set_listener([this](const LineChange& change) {
        {
            std::lock_guard lock(mutex_);
            line_changes_.push_back(change);
        }
        wake();
    });
}

Peer::~Peer() {
    stop();
    seam_->set_listener(nullptr);
    ::close(wake_fd_);
}

void Peer::start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    thread_id_.store(thread_.get_id());
}

void Peer::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    wake();
    thread_.join();
}

void Peer::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_fd_, &one, sizeof one);
}

void Peer::set_fault(Fault fault, std::int64_t late_us) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
    late_us_ = late_us;
}

std::vector<std::uint8_t> Peer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<Peer::HeardByte> Peer::heard() const {
    std::lock_guard lock(mutex_);
    std::vector<HeardByte> out;
    out.reserve(received_.size());
    for (std::size_t i = 0; i < received_.size(); ++i) out.push_back({received_[i], received_at_us_[i]});
    return out;
}

bool Peer::wait_received(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return heard_.wait_for(lock, timeout, [&] { return received_.size() >= count; });
}

bool Peer::wait_handled(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return heard_.wait_for(lock, timeout, [&] { return handled_ >= count; });
}

bool Peer::wait_idle(std::chrono::milliseconds timeout) const {
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (;;) {
        // A poll, unlike FIONREAD, first lets the kernel hand over what the
        // slave side has written.
        pollfd p{pty_.master(), POLLIN, 0};
        if (handled_ == taken_ && poll(&p, 1, 0) >= 0 && !(p.revents & POLLIN)) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= give_up) return false;
        heard_.wait_until(lock, std::min(give_up, now + std::chrono::milliseconds(1)));
    }
}

bool Peer::settled() const {
    std::lock_guard lock(mutex_);
    pollfd p{pty_.master(), POLLIN, 0};
    return handled_ == taken_ && poll(&p, 1, 0) >= 0 && !(p.revents & POLLIN);
}

void Peer::inject(const LineGlitch& glitch) {
    std::lock_guard lock(mutex_);
    glitches_.push_back(glitch);
}

int Peer::glitches_pending() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(glitches_.size());
}

std::optional<LineGlitch> Peer::take_glitch() {
    std::lock_guard lock(mutex_);
    if (glitches_.empty()) return std::nullopt;
    if (glitches_.front().after_answers > 0) {
        --glitches_.front().after_answers;
        return std::nullopt;
    }
    const LineGlitch glitch = glitches_.front();
    glitches_.pop_front();
    return glitch;
}

void Peer::line_back() { line_back_at_us_.store(platform::clock().now_us()); }

void Peer::play(const LineGlitch& glitch, std::vector<std::uint8_t> bytes) {
    const auto split = bytes.begin() + (bytes.empty() ? 0 : 1);
    switch (glitch.kind) {
    case Glitch::Stall: {
        // Mid-answer: the first byte is out when the device stops.
        const std::vector<std::uint8_t> rest(split, bytes.end());
        bytes.erase(split, bytes.end());
        send(bytes);
        pause(glitch.duration_us);
        line_back();
        send(rest);
        return;
    }
    case Glitch::Late:
        pause(glitch.duration_us);
        line_back();
        send(bytes);
        return;
    case Glitch::Drop:
        if (!bytes.empty()) bytes.erase(bytes.size() > 1 ? bytes.begin() + 1 : bytes.begin());
        break;
    case Glitch::StrayMid: bytes.insert(split, glitch.stray); break;
    case Glitch::StrayBetween: bytes.insert(bytes.begin(), glitch.stray); break;
    }
    line_back();
    send(bytes);
}

void Peer::on_line_change(const LineChange&) {}

void Peer::run() {
    while (!stopping_) {
        pollfd fds[2] = {{pty_.master(), POLLIN, 0}, {wake_fd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(wake_fd_, &count, sizeof count);
            handle_line_changes();
        }
        if (fds[0].revents & POLLIN) hear_available();
    }
}

void Peer::handle_line_changes() {
    for (;;) {
        LineChange change;
        {
            std::lock_guard lock(mutex_);
            if (line_changes_.empty()) return;
            change = line_changes_.front();
            line_changes_.pop_front();
        }
        on_line_change(change);
    }
}

bool Peer::speed_is_right() const { return platform::serial::speed_close_enough(options_.baud, pty_.slave_speed()); }

void Peer::hear_available() {
    // One byte at a time: the speed may change between any two bytes.
    while (!stopping_) {
        std::uint8_t byte;
        {
            // Read and counted at once, so wait_idle() never sees it in neither place.
            std::lock_guard lock(mutex_);
            if (::read(pty_.master(), &byte, 1) != 1) return;
            ++taken_;
        }
        if (!speed_is_right()) {
            ++wrong_speed_bytes_;
            if (options_.wrong_speed == WrongSpeed::Ignore) {
                mark_handled();
                continue;
            }
            byte = garbled(byte);
        }
        {
            std::lock_guard lock(mutex_);
            received_.push_back(byte);
            received_at_us_.push_back(platform::clock().now_us());
        }
        heard_.notify_all();
        on_byte(byte);
        mark_handled();
    }
}

void Peer::mark_handled() {
    {
        std::lock_guard lock(mutex_);
        ++handled_;
    }
    heard_.notify_all();
}

void Peer::reply(std::vector<std::uint8_t> bytes) {
    Fault fault;
    std::int64_t late_us;
    {
        std::lock_guard lock(mutex_);
        fault = fault_;
        late_us = late_us_;
    }
    switch (fault) {
    case Fault::None: break;
    case Fault::Silent: return;
    case Fault::WrongEcho:
        if (!bytes.empty()) bytes.front() = wrong_echo(bytes.front());
        break;
    case Fault::Garbage:
        for (std::uint8_t& byte : bytes) byte = garbled(byte);
        break;
    case Fault::Short:
        if (!bytes.empty()) bytes.pop_back();
        break;
    case Fault::Late: pause(late_us); break;
    }
    if (const auto glitch = take_glitch())
        play(*glitch, std::move(bytes));
    else
        send(bytes);
}

void Peer::pause(std::int64_t duration_us) {
    const std::int64_t deadline = platform::clock().now_us() + duration_us;
    while (!stopping_ && platform::clock().now_us() < deadline) platform::serial::wait_step(-1, false, deadline);
}

int Peer::bytes_waiting() const {
    int queued = 0;
    return ::ioctl(pty_.master(), FIONREAD, &queued) == 0 ? queued : 0;
}

void Peer::send(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t byte : bytes) {
        if (stopping_) return;
        write_byte(byte);
    }
}

void Peer::write_byte(std::uint8_t byte) {
    const long speed = pty_.slave_speed();
    if (!platform::serial::speed_close_enough(options_.baud, speed)) {
        ++wrong_speed_bytes_;
        byte = garbled(byte);
    }
    if (options_.pacing == Pacing::Wire && speed > 0) pause(10'000'000 / speed);
    while (!stopping_) {
        const ssize_t n = ::write(pty_.master(), &byte, 1);
        if (n == 1) {
            ++sent_;
            return;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return;
        // The program is not reading and the pty is full: wait, but not past stop().
        pollfd p{pty_.master(), POLLOUT, 0};
        poll(&p, 1, 10);
    }
}

}  // namespace korv::sim
