#pragma once
// What the simulated interface boxes (cables 0, 1 and 3) share. A box hears
// a whole request frame, thinks for its turn-around and answers. It answers
// the last frame it heard: any byte that comes before the answer has begun
// makes it start over on what follows, so a request sent twice in a row is
// answered once. A box may also repeat an answer until the next byte comes. In wire pacing the box also counts the time
// the request's bytes take to arrive. Its carrier (DCD) goes through the line seam.
#include "sim/core/obd_car.h"
#include "sim/core/peer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace korv::sim {

// What a box sends again after an answer: bytes every every_us, up to
// times more times, until it hears the next byte.
struct AnswerRepeat {
    std::vector<std::uint8_t> bytes;
    std::int64_t every_us = 0;
    int times = 0;
};

class InterfaceBox : public Peer {
public:
    static constexpr long kBaud = 19200;
    static constexpr std::int64_t kDefaultTurnaroundUs = 1000;

    InterfaceBox(Pacing pacing, std::int64_t turnaround_us);
    ~InterfaceBox() override;

    ObdCar& car() { return car_; }
    std::int64_t turnaround_us() const { return turnaround_us_; }

    // Every complete frame heard, in order (set-up commands included).
    std::vector<std::vector<std::uint8_t>> frames() const;
    // Answers sent so far.
    int answers() const { return answers_.load(); }

    // The box answers from a thread of its own: it is settled only while
    // that thread has nothing to do or waits on the clock.
    bool settled() const override;
    bool runs_on(std::thread::id thread) const override;

protected:
    // Each byte heard, once the box has noted when it arrived.
    virtual void hear(std::uint8_t byte) = 0;

    // The program's DTR/RTS changes so far. A pty carries no time with its
    // bytes, so on_line_change can reach a box after bytes sent later; the
    // seam's record, read when a byte is heard, holds every change made
    // before that byte was sent.
    std::vector<platform::serial::LineChange> line_changes_so_far() const { return lines().changes(); }

    void note_frame(std::vector<std::uint8_t> frame);
    // Answers the frame just heard after the turn-around.
    void answer(std::vector<std::uint8_t> bytes, AnswerRepeat repeat = {});
    void set_carrier(bool on);
    // Ends the answer thread; the final class calls it before stop().
    void stop_answering();

private:
    void on_byte(std::uint8_t byte) final;
    void run_answers();

    const Pacing pacing_;
    const std::int64_t turnaround_us_;
    ObdCar car_;
    std::int64_t arrival_end_us_ = 0;  // when the last byte heard was all there

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::vector<std::uint8_t>> pending_;
    std::int64_t due_us_ = 0;
    AnswerRepeat repeat_;
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<bool> quit_{false};
    std::atomic<int> answers_{0};
    enum class AnswerState { Idle, AwaitingDue, Sending };
    AnswerState answer_state_ = AnswerState::Idle;  // of the answer thread
    std::uint64_t awaited_generation_ = 0;          // of the answer awaiting its time
    std::vector<std::vector<std::uint8_t>> frames_;
    std::thread answer_thread_;
    std::atomic<std::thread::id> answer_thread_id_{};
};

}  // namespace korv::sim
