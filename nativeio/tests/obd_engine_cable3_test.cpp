// The cable-3 engine end to end against the simulated interface box.
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable3_box.h"
#include "sim/core/obd_car.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace korv::korvio {
namespace {

using sim::Cable3Box;
using sim::PeerOnPort;
using testing::dump_bytes;
using testing::HostEvent;
using testing::pause;
using testing::RecordingHost;
using testing::repeated;
using testing::status;
using testsupport::read_bytes;
using Frame = std::vector<std::uint8_t>;
using Frames = std::vector<Frame>;

// 06, 68 6A F1 01 PID, sum of bytes 1-5 (worked out by hand).
const Frame kStart{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x11, 0xD5};
const Frame kRpm{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0};
const Frame kO2{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x14, 0xD8};
const Frames kSetUp{{0x01, 0x01, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0x17},
                    {0x01, 0x00, 0x06, 0x61, 0x6A, 0xF1, 0x01, 0x00, 0x1A},
                    {0x01, 0x02, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0xC4}};

class Cable3Engine : public testing::ObdRunTest {
protected:
    int log(RecordingHost& h, const std::vector<int>& items, int port = 0) {
        return logdata(&h.host, port, 2, 3, items.data(), static_cast<int>(items.size()), 1);
    }
    // The last bytes a run sends may still be on their way to the box.
    static void heard(Cable3Box& box, std::size_t bytes) {
        ASSERT_TRUE(box.wait_handled(bytes, std::chrono::seconds(2)));
        EXPECT_EQ(box.received().size(), bytes);
    }
    // Frames after the set-up commands of the bring-up and the run.
    static Frames requests(const Cable3Box& box) {
        Frames frames = box.frames();
        return Frames(frames.begin() + std::min<std::size_t>(frames.size(), 6), frames.end());
    }
};

TEST_F(Cable3Engine, SetsTheBoxUpAndAsksForTheNextRowWhileAReplyIsRead) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    ASSERT_EQ(SioReset(3, 0, 1024, 1024), 0);
    RecordingHost h;
    h.stop_after_status(2);
    // O2 answers with two bytes of which one is used; rpm with both.
    EXPECT_EQ(log(h, {3, 9}), 0);
    heard(box.peer(), 6 * 9 + 9 * 7);

    const Frames frames = box->frames();
    ASSERT_GE(frames.size(), 6u);
    EXPECT_EQ(Frames(frames.begin(), frames.begin() + 3), kSetUp);      // the bring-up
    EXPECT_EQ(Frames(frames.begin() + 3, frames.begin() + 6), kSetUp);  // the run's own
    // Each request is sent early (at the reply's 48) and again in its turn;
    // the last row's next is the first.
    EXPECT_EQ(requests(box.peer()), (Frames{kStart, kO2, kRpm, kRpm, kO2, kO2, kRpm, kRpm, kO2}));
    EXPECT_EQ(box->answers(), 4);  // a request repeated at once is answered once
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(2), status(4), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({3, 9}, repeated<std::vector<std::uint8_t>>({{3, 0x00, 0x5A}, {9, 0x0C, 0x80}}, 2)));
}

// A box that answers every frame at once: the start request and both
// sendings of each request too, so answers of other requests come first.
// The answers to the rpm request up to the spoilt_rpm-th carry a data byte
// changed on the way (their check byte no longer fits).
sim::ScriptedPeer::ByteHandler answering_every_frame(int spoilt_rpm = 0) {
    auto frame = std::make_shared<Frame>();
    auto car = std::make_shared<sim::ObdCar>();
    auto rpm_answers = std::make_shared<int>(0);
    return [frame, car, rpm_answers, spoilt_rpm](sim::ScriptedPeer& box, std::uint8_t byte) {
        if (frame->empty() && byte != 0x06) return;
        frame->push_back(byte);
        if (frame->size() < 7) return;
        auto answer = car->kline_answer((*frame)[5]);
        frame->clear();
        if (!answer) return;
        if ((*answer)[4] == 0x0C && ++*rpm_answers <= spoilt_rpm) (*answer)[5] ^= 0x40;
        Frame reply{static_cast<std::uint8_t>(answer->size())};
        reply.insert(reply.end(), answer->begin(), answer->end());
        box.reply(reply);
    };
}

TEST_F(Cable3Engine, AnswersToOtherRequestsAreNotTakenForARowsOwn) {
    PeerOnPort<sim::ScriptedPeer> box(0, sim::PeerOptions{}, answering_every_frame());
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.stop_after_status(4);
    EXPECT_EQ(log(h, {9, 7}), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 4)));
}

TEST_F(Cable3Engine, AnAnswerWhoseCheckByteDoesNotFitIsNeverStored) {
    PeerOnPort<sim::ScriptedPeer> box(0, sim::PeerOptions{}, answering_every_frame(1));
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.stop_after_status(3);
    // In lockstep, so the box's answers keep their times however slowly its
    // thread runs.
    sim::Lockstep lockstep(clock_, {&box.peer()});
    EXPECT_EQ(lockstep.run([&] { return log(h, {9, 7}); }), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 3)));
}

TEST_F(Cable3Engine, ProbeAsksWithTheStartRequest) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const int items[] = {9};
    // A box not set up answers nothing.
    EXPECT_EQ(logdata(nullptr, 0, 1, 3, items, 1, 0), kTimeOut);
    ASSERT_EQ(SioReset(3, 0, 1024, 1024), 0);
    EXPECT_EQ(logdata(nullptr, 0, 1, 3, items, 1, 0), 0);
    EXPECT_EQ(box->frames().back(), kStart);
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));
}

TEST_F(Cable3Engine, LeavingAPauseSetsTheBoxUpAgain) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 1) host.set_flag(2);
        if (calls == 2) host.set_flag(0);
    };
    h.on_pause = [](RecordingHost& host, int flag) {
        if (flag == 2) host.set_flag(1);
    };
    EXPECT_EQ(log(h, {9}), 0);
    heard(box.peer(), 6 * 9 + 5 * 7);
    const Frames frames = box->frames();
    // Set-up, start, cycle, set-up again, cycle.
    Frames expected = kSetUp;
    expected.insert(expected.end(), {kStart, kRpm, kRpm});
    expected.insert(expected.end(), kSetUp.begin(), kSetUp.end());
    expected.insert(expected.end(), {kRpm, kRpm});
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(2), pause(1), status(2), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}, {9, 0x0C, 0x80}}));
}

TEST_F(Cable3Engine, CarrierThatNeverComesFailsTheStartAndTheResume) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    box->set_carrier_fault(true);
    EXPECT_EQ(SioReset(3, 0, 1024, 1024), kTimeOut);
    RecordingHost h;
    EXPECT_EQ(log(h, {9}), kTimeOut);
    EXPECT_TRUE(h.events().empty());
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));

    box->set_carrier_fault(false);
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 1) host.set_flag(2);
    };
    h.on_pause = [&](RecordingHost& host, int flag) {
        if (flag != 2) return;
        box->set_carrier_fault(true);
        host.set_flag(1);
    };
    EXPECT_EQ(log(h, {9}), kTimeOut);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(2), pause(1)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
}

TEST_F(Cable3Engine, SilentBoxEndsTheRunWithATimeOut) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.on_status = [&](RecordingHost&, int calls) {
        if (calls == 1) box->set_fault(sim::Fault::Silent);
    };
    EXPECT_EQ(log(h, {9}), kTimeOut);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
}

TEST_F(Cable3Engine, LinkSetUpComesBeforeTheLookUps) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const int items[] = {9};
    EXPECT_EQ(logdata(nullptr, 0, 2, 3, items, 1, 0), kStopFlagMissing);
    heard(box.peer(), 3 * 9);
    EXPECT_EQ(box->frames(), kSetUp);
    EXPECT_TRUE(box->set_up());
}

TEST_F(Cable3Engine, DemonstrationPortNeedsNoSetUp) {
    RecordingHost h;
    h.stop_after_status(1);
    EXPECT_EQ(log(h, {9, 3}, kDemoPort), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9, 3}, {{9, 0x00, 0x50}, {3, 0x00, 0x50}}));
}

}  // namespace
}  // namespace korv::korvio
