#include "sim/core/interface_box.h"

#include "platform/core/clock.h"
#include "sim/core/clock_wait.h"

#include <sys/prctl.h>

#include <algorithm>
#include <chrono>

namespace korv::sim {

using platform::serial::InputLine;

namespace {

constexpr std::chrono::milliseconds kCatchUpReal{2};

}  // namespace

InterfaceBox::InterfaceBox(Pacing pacing, std::int64_t turnaround_us)
    : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}), pacing_(pacing), turnaround_us_(turnaround_us) {
    set_carrier(false);
    answer_thread_ = std::thread([this] { run_answers(); });
    answer_thread_id_.store(answer_thread_.get_id());
}

InterfaceBox::~InterfaceBox() { stop_answering(); }

void InterfaceBox::stop_answering() {
    if (!answer_thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    answer_thread_.join();
}

std::vector<std::vector<std::uint8_t>> InterfaceBox::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

bool InterfaceBox::settled() const {
    if (!Peer::settled()) return false;
    std::lock_guard lock(mutex_);
    switch (answer_state_) {
    case AnswerState::Idle:
        // With an answer pending it is woken, not yet waiting for its time.
        return !pending_;
    case AnswerState::AwaitingDue:
        // Started over by what the box heard: it is about to look again.
        if (generation_ != awaited_generation_) return false;
        break;
    case AnswerState::Sending: break;
    }
    return waits_on_clock(answer_thread_id_.load());
}

bool InterfaceBox::runs_on(std::thread::id thread) const {
    return Peer::runs_on(thread) || thread == answer_thread_id_.load();
}

void InterfaceBox::note_frame(std::vector<std::uint8_t> frame) {
    std::lock_guard lock(mutex_);
    frames_.push_back(std::move(frame));
}

void InterfaceBox::set_carrier(bool on) { lines().set_input(InputLine::Dcd, on); }

void InterfaceBox::on_byte(std::uint8_t byte) {
    const std::int64_t now = platform::clock().now_us();
    arrival_end_us_ = pacing_ == Pacing::Wire ? std::max(now, arrival_end_us_) + 10'000'000 / kBaud : now;
    {
        // The line is not quiet: an answer not yet begun waits for what follows.
        std::lock_guard lock(mutex_);
        repeat_ = {};
        if (pending_) {
            pending_.reset();
            ++generation_;
        }
    }
    hear(byte);
}

void InterfaceBox::answer(std::vector<std::uint8_t> bytes, AnswerRepeat repeat) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(bytes);
        due_us_ = arrival_end_us_ + turnaround_us_;
        repeat_ = std::move(repeat);
        ++generation_;
    }
    wake_.notify_all();
}

void InterfaceBox::run_answers() {
    // Answers are paced byte by byte with short sleeps: the default timer
    // slack (50 us) would stretch each byte by a tenth at 19200 baud.
    prctl(PR_SET_TIMERSLACK, 1UL);
    std::unique_lock lock(mutex_);
    for (;;) {
        answer_state_ = AnswerState::Idle;
        wake_.wait(lock, [this] { return quit_ || pending_; });
        if (quit_) return;
        const std::uint64_t generation = generation_;
        answer_state_ = AnswerState::AwaitingDue;
        awaited_generation_ = generation;
        auto& clock = platform::clock();
        // On a lockstep clock an answer already due (the box was busy with
        // another) waits for the next step: the program, which runs until it
        // waits, sends what it sends at this time first, as a real box would
        // hear it, and may start the box over with it.
        const std::int64_t due = clock.lockstep() ? std::max(due_us_, clock.now_us() + 1) : due_us_;
        lock.unlock();
        bool due_now = wait_for_clock(due, [&] { return quit_ || generation_ != generation; });
        // Far past due, the clock ran ahead of our hearing (a test clock
        // moves in steps while the program waits): bytes the program sent
        // meanwhile may still be unread here. Give them a moment first. A
        // lockstep clock never runs ahead of what the box heard.
        if (due_now && !clock.lockstep() && clock.now_us() - due > turnaround_us_) {
            const auto until = std::chrono::steady_clock::now() + kCatchUpReal;
            while (generation_ == generation && !quit_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        lock.lock();
        if (quit_) return;
        if (!due_now || generation_ != generation || !pending_) continue;
        std::vector<std::uint8_t> bytes = std::move(*pending_);
        pending_.reset();
        ++answers_;  // before the bytes: the program may look as soon as it has them
        answer_state_ = AnswerState::Sending;
        lock.unlock();
        reply(bytes);
        lock.lock();
        // Nothing heard meanwhile: the repeat is due on the answer's own beat.
        if (!pending_ && repeat_.times > 0) {
            --repeat_.times;
            pending_ = repeat_.bytes;
            due_us_ = due + repeat_.every_us;
        }
    }
}

}  // namespace korv::sim
