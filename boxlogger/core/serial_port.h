#pragma once
// The serial port to the data-logger box: 1953 baud, DTR and RTS held off,
// one request byte out, two or three reply bytes back within 100 ms. Two test
// modes stand in for the box: fake data (a counting generator) and link
// faked (exchanges succeed with no port).
#include "boxlogger/core/link_mutex.h"
#include "platform/serial/tty.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace korv::boxlogger {

class CSerialPort {
public:
    static constexpr int kBaud = 1953;
    static constexpr std::int64_t kReplyTimeoutUs = 100'000;
    static constexpr std::int64_t kFakeReplyUs = 10'000;
    // Three byte times of silence: nothing of an earlier answer is on its way.
    static constexpr std::int64_t kQuietUs = 3 * 10 * 1'000'000 / kBaud;
    // A line that never falls quiet is left as it is after this.
    static constexpr std::int64_t kSettleGiveUpUs = 1'000'000;
    // Probe: a reply whose echo is not the probe byte, twice.
    static constexpr int kProbeWrongEcho = 3;

    CSerialPort() = default;
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // The engine's mutex, which the port's own changes take so that the port
    // never opens or closes in the middle of an exchange. Null detaches.
    void SetEngineMutex(LinkMutex* engine_mutex);

    // Chooses the port (0 = COM1) and opens it.
    void SetPort(int port_index);
    // 0 when nothing was open, else non-zero once closed. Clears link faked.
    int Close();
    // -1 port unavailable, else the reply bytes to 0xFF: 0 no box,
    // 1 box without ECU, 2 working; kProbeWrongEcho for a garbled reply.
    int Probe(int port_index);

    // Exchange steps, called under the engine mutex.
    int WriteByte(int byte);
    int ReadReply2(std::uint8_t* echo, std::uint8_t* data);
    int ReadReply3(std::uint8_t* echo, std::uint8_t* high, std::uint8_t* low);
    // Drops whatever input waits.
    void FlushInput();
    // After a failed exchange, bytes of its answer may still be on their
    // way (a late answer, the rest of one cut by a stall, a stray byte).
    void ExchangeFailed() { unsettled_.store(true); }
    // Before a request: after a failed exchange, reads and drops input until
    // the line has been quiet for kQuietUs, so the answer read next is the
    // request's own.
    void SettleInput();

    bool is_open() const { return open_.load(); }
    int port_index() const { return port_index_.load(); }
    void set_link_faked(bool on) { link_faked_.store(on); }
    bool link_faked() const { return link_faked_.load(); }
    void set_fake_data(bool on) { fake_data_.store(on); }
    bool fake_data() const { return fake_data_.load(); }

private:
    void set_port_locked(int port_index);
    void open_locked();
    int close_locked();
    int read_reply(std::uint8_t* bytes, int count);
    std::unique_lock<LinkMutex> lock_engine();

    LinkMutex* engine_mutex_ = nullptr;
    std::unique_ptr<platform::serial::Tty> tty_;
    std::atomic<bool> open_{false};
    std::atomic<bool> link_faked_{false};
    std::atomic<int> port_index_{-1};
    std::atomic<bool> fake_data_{false};
    std::atomic<bool> unsettled_{false};
    int fake_counter_ = 0;
    std::uint8_t last_byte_ = 0;
};

}  // namespace korv::boxlogger
