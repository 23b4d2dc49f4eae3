#include "boxlogger/core/serial_port.h"

#include "platform/core/clock.h"
#include "platform/serial/device_path.h"
#include "platform/serial/input_wait.h"

#include <algorithm>

namespace korv::boxlogger {

CSerialPort::~CSerialPort() {
    auto lock = lock_engine();
    close_locked();
}

void CSerialPort::SetEngineMutex(LinkMutex* engine_mutex) { engine_mutex_ = engine_mutex; }

std::unique_lock<LinkMutex> CSerialPort::lock_engine() {
    return engine_mutex_ ? std::unique_lock<LinkMutex>(*engine_mutex_) : std::unique_lock<LinkMutex>();
}

void CSerialPort::SetPort(int port_index) {
    auto lock = lock_engine();
    set_port_locked(port_index);
}

int CSerialPort::Close() {
    auto lock = lock_engine();
    return close_locked();
}

int CSerialPort::Probe(int port_index) {
    auto lock = lock_engine();
    set_port_locked(port_index);
    if (!open_.load()) return -1;
    // Judged by its echo: a stray byte must not pass for the box. One
    // garbled reply is asked again.
    constexpr std::uint8_t kProbeByte = 0xFF;
    for (int attempt = 0; attempt < 2; ++attempt) {
        unsettled_.store(true);
        SettleInput();
        std::uint8_t echo = 0, data = 0;
        WriteByte(kProbeByte);
        const int got = ReadReply2(&echo, &data);
        if (got < 2) ExchangeFailed();
        if (got == 0 || echo == kProbeByte) return got;
    }
    ExchangeFailed();
    return kProbeWrongEcho;
}

void CSerialPort::set_port_locked(int port_index) {
    if (port_index != port_index_.load()) {
        close_locked();
        port_index_.store(port_index);
    }
    open_locked();
}

void CSerialPort::open_locked() {
    const int index = port_index_.load();
    if (open_.load() || index < 0) return;
    platform::serial::LineSettings settings;
    settings.baud = kBaud;
    settings.byte_size = 8;
    settings.parity = 0;
    settings.stop_bits = 0;
    std::unique_ptr<platform::serial::Tty> tty;
    // DTR and RTS held off: the box takes its power from the car, not the lines.
    if (platform::serial::Tty::open(platform::serial::device_path(index), settings, false, false, &tty) != 0) return;
    tty_ = std::move(tty);
    open_.store(true);
    // Whatever the line carried before we listened belongs to nobody.
    FlushInput();
    unsettled_.store(false);
}

int CSerialPort::close_locked() {
    link_faked_.store(false);
    if (!open_.load()) return 0;
    tty_.reset();
    open_.store(false);
    return 1;
}

int CSerialPort::WriteByte(int byte) {
    const bool open = open_.load();
    if (!open && !link_faked_.load()) return 0;
    last_byte_ = static_cast<std::uint8_t>(byte);
    if (fake_data_.load() || !open) return 1;
    const std::uint8_t out = last_byte_;
    return tty_->write(&out, 1) == 1 ? 1 : 0;
}

int CSerialPort::read_reply(std::uint8_t* bytes, int count) {
    const std::int64_t deadline = platform::clock().now_us() + kReplyTimeoutUs;
    int got = 0;
    for (;;) {
        const int n = tty_->read(bytes + got, count - got);
        if (n < 0) return 0;
        got += n;
        if (got == count || platform::clock().now_us() >= deadline) return got;
        platform::serial::wait_step(tty_->fd(), false, deadline);
    }
}

int CSerialPort::ReadReply2(std::uint8_t* echo, std::uint8_t* data) {
    const bool open = open_.load();
    if (!open && !link_faked_.load()) return 0;
    if (fake_data_.load()) {
        *echo = last_byte_;
        *data = static_cast<std::uint8_t>(fake_counter_++);
        platform::clock().sleep_us(kFakeReplyUs);
        return 2;
    }
    if (!open) {
        // Link faked with no port: the request echoed, data 0.
        *echo = last_byte_;
        *data = 0;
        return 2;
    }
    std::uint8_t bytes[2] = {};
    const int got = read_reply(bytes, 2);
    *echo = bytes[0];
    *data = bytes[1];
    return got;
}

int CSerialPort::ReadReply3(std::uint8_t* echo, std::uint8_t* high, std::uint8_t* low) {
    const bool open = open_.load();
    if (!open && !link_faked_.load()) return 0;
    if (fake_data_.load()) {
        *echo = last_byte_;
        *high = static_cast<std::uint8_t>(fake_counter_);
        *low = static_cast<std::uint8_t>(fake_counter_ + 1);
        fake_counter_ += 2;
        platform::clock().sleep_us(kFakeReplyUs);
        return 3;
    }
    if (!open) {
        *echo = last_byte_;
        *high = 0;
        *low = 0;
        return 3;
    }
    std::uint8_t bytes[3] = {};
    const int got = read_reply(bytes, 3);
    *echo = bytes[0];
    *high = bytes[1];
    *low = bytes[2];
    return got;
}

void CSerialPort::SettleInput() {
    if (!unsettled_.exchange(false) || !open_.load() || fake_data_.load()) return;
    auto& clock = platform::clock();
    const std::int64_t give_up = clock.now_us() + kSettleGiveUpUs;
    std::int64_t quiet_until = clock.now_us() + kQuietUs;
    for (;;) {
        std::uint8_t scratch[64];
        const int n = tty_->read(scratch, sizeof scratch);
        const std::int64_t now = clock.now_us();
        if (n < 0) return;
        if (n > 0) quiet_until = now + kQuietUs;
        if (now >= quiet_until) return;
        if (now >= give_up) {
            unsettled_.store(true);  // the next request tries again
            return;
        }
        if (n == 0) platform::serial::wait_step(tty_->fd(), false, std::min(quiet_until, give_up));
    }
}

void CSerialPort::FlushInput() {
    if (!open_.load() || fake_data_.load()) return;
    std::uint8_t scratch[64];
    while (tty_->read(scratch, sizeof scratch) > 0) {}
}

}  // namespace korv::boxlogger
