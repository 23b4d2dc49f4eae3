#pragma once
// The base of every simulated device. A peer owns a pseudo-terminal, runs its
// own thread, hears each byte the program under test writes to the slave and
// answers through reply()/send(). Like a real device it talks at one speed:
// it reads the slave's speed before each byte, and a byte exchanged at a
// speed more than 3% off is garbled (or ignored). Output is paced at 10 bits
// a byte of the slave's speed, or sent at once when tests want speed. Faults
// make it go silent, answer garbage, echo wrongly, answer short or late;
// glitches (sim/core/line_glitch.h) spoil one answer each.
//
// Writing a peer: derive, implement on_byte() (and on_line_change() for a
// device that watches DTR/RTS/break), call stop() in the destructor of the
// final class, then start() it and point the program at slave_path().
#include "platform/serial/line_seam.h"
#include "sim/core/line_glitch.h"
#include "sim/core/pseudo_terminal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace korv::sim {

enum class Pacing {
    Instant,  // every byte at once
    Wire,     // 10 bits a byte at the slave's speed, slept on the process clock
};

enum class WrongSpeed {
    Garble,  // the handler hears garbage, the program receives garbage
    Ignore,  // bytes heard at a wrong speed are dropped
};

enum class Fault {
    None,
    Silent,     // hears everything, answers nothing
    WrongEcho,  // the first byte of each answer is replaced
    Garbage,    // every byte of each answer is garbled (a noisy line)
    Short,      // the last byte of each answer is left out
    Late,       // each answer waits late_us on the process clock first
};

struct PeerOptions {
    long baud = 19200;
    Pacing pacing = Pacing::Instant;
    WrongSpeed wrong_speed = WrongSpeed::Garble;
};

// What a byte becomes when sent or heard at the wrong speed: never itself.
std::uint8_t garbled(std::uint8_t byte);
// What a wrong echo sends in place of a byte: never itself, never zero.
std::uint8_t wrong_echo(std::uint8_t byte);

class Peer {
public:
    explicit Peer(PeerOptions options);
    virtual ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    void start();
    // Ends the thread; safe to call twice. The pty stays until destruction.
    void stop();

    const std::string& slave_path() const { return pty_.slave_path(); }
    long baud() const { return options_.baud; }
    // The modem-line seam of the slave path: set CTS/DSR/DCD here, read the
    // DTR/RTS/break changes the program made.
    platform::serial::LineSeam& lines() const { return seam_.seam(); }

    void set_fault(Fault fault, std::int64_t late_us = 0);

    // Every byte heard so far, as heard (garbled ones included).
    std::vector<std::uint8_t> received() const;
    struct HeardByte {
        std::uint8_t byte;
        std::int64_t at_us;  // on the process clock
    };
    // The same with the time each was heard.
    std::vector<HeardByte> heard() const;
    // Waits in real time until at least count bytes were heard.
    bool wait_received(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits in real time until count bytes taken off the line were dealt
    // with: on_byte() returned (so their answers, if any, are written) or
    // they were dropped for a wrong speed.
    bool wait_handled(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits in real time until every byte the program wrote so far was dealt
    // with: none is still on the line and none is being handled. A test that
    // moves a held test clock waits for this first, so the device answers at
    // the time it was asked, however late its thread runs.
    bool wait_idle(std::chrono::milliseconds timeout) const;
    // Bytes heard or sent at a wrong speed.
    int wrong_speed_bytes() const { return wrong_speed_bytes_.load(); }

    // Arms a one-off line fault for a coming answer; several play in turn.
    // Safe from any thread.
    void inject(const LineGlitch& glitch);
    int glitches_pending() const;
    // The process-clock time the last glitch played was over, when the line
    // went on as before: the end of a stall or of a late answer's wait, the
    // send of an answer with a byte lost or added. -1 before any.
    std::int64_t line_back_at_us() const { return line_back_at_us_.load(); }

    // What a lockstep clock (sim/core/lockstep.h) asks of a device.
    std::thread::id thread_id() const { return thread_id_.load(); }
    // The thread is one of the device's own: its peer thread, or one it
    // answers from (such a device also tells of that one in settled()).
    virtual bool runs_on(std::thread::id thread) const { return thread == thread_id(); }
    // The device waits for nothing but the program: all it was sent is dealt
    // with and it has nothing of its own under way.
    virtual bool settled() const;
    // Answer bytes sit on the line that the program has not read yet.
    bool program_input_waiting() const { return pty_.slave_input_waiting(); }
    // Bytes put on the line so far.
    std::uint64_t sent_count() const { return sent_.load(); }

protected:
    // On the peer thread, for each byte heard (see WrongSpeed).
    virtual void on_byte(std::uint8_t byte) = 0;
    // On the peer thread, for each DTR/RTS/break change the program made.
    virtual void on_line_change(const platform::serial::LineChange& change);

    // An answer: the fault applies, then pacing and speed.
    void reply(std::vector<std::uint8_t> bytes);
    // Output that is not an answer: pacing and speed only. Safe from another
    // thread too (a test pushing unasked bytes).
    void send(const std::vector<std::uint8_t>& bytes);
    // How many bytes the program wrote that on_byte() has not heard yet:
    // what came while the peer was busy talking.
    int bytes_waiting() const;

private:
    void run();
    void hear_available();
    void handle_line_changes();
    bool speed_is_right() const;
    void write_byte(std::uint8_t byte);
    void pause(std::int64_t duration_us);
    void mark_handled();
    void wake();
    std::optional<LineGlitch> take_glitch();
    void play(const LineGlitch& glitch, std::vector<std::uint8_t> bytes);
    void line_back();

    const PeerOptions options_;
    PseudoTerminal pty_;
    platform::serial::ScopedLineSeam seam_;
    int wake_fd_ = -1;
    std::thread thread_;
    std::atomic<std::thread::id> thread_id_{};
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    mutable std::condition_variable heard_;
    std::vector<std::uint8_t> received_;
    std::vector<std::int64_t> received_at_us_;
    std::size_t taken_ = 0;  // bytes read off the line
    std::size_t handled_ = 0;
    std::deque<platform::serial::LineChange> line_changes_;
    Fault fault_ = Fault::None;
    std::int64_t late_us_ = 0;
    std::atomic<int> wrong_speed_bytes_{0};
    std::deque<LineGlitch> glitches_;
    std::atomic<std::int64_t> line_back_at_us_{-1};
    std::atomic<std::uint64_t> sent_{0};
};

}  // namespace korv::sim
