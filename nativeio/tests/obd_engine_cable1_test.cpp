// The cable-1 engine end to end against the simulated interface box.
#include "nativeio/core/obd_protocol.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable1_box.h"
#include "sim/core/obd_car.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace korv::korvio {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::Cable1Box;
using sim::CarBus;
using sim::PeerOnPort;
using testing::dump_bytes;
using testing::HostEvent;
using testing::pause;
using testing::plot;
using testing::RecordingHost;
using testing::repeated;
using testing::status;
using testsupport::read_bytes;
using Frame = std::vector<std::uint8_t>;
using Frames = std::vector<Frame>;

// A box frame as listed: 25, link byte, 05, 68 6A F1, mode, PID, six zeros,
// the sum of bytes 1-13 (worked out by hand).
Frame box_frame(std::uint8_t link, std::uint8_t header, std::uint8_t mode, std::uint8_t pid, std::uint8_t check) {
    return {0x25, link, 0x05, header, 0x6A, 0xF1, mode, pid, 0, 0, 0, 0, 0, 0, check};
}

const Frame kProbe84 = box_frame(0x04, 0x61, 0x01, 0x00, 0xC6);
const Frame kProbe82 = box_frame(0x02, 0x68, 0x01, 0x00, 0xCB);
const Frame kProbeKLine = box_frame(0x01, 0x68, 0x01, 0x00, 0xCA);
const Frame kStartInit = box_frame(0x01, 0x68, 0x01, 0x01, 0xCB);
const Frame kStartUnchecked = box_frame(0x01, 0x68, 0x01, 0x01, 0x00);
const Frame kRpm = box_frame(0x10, 0x68, 0x01, 0x0C, 0xE5);
const Frame kThrottle = box_frame(0x10, 0x68, 0x01, 0x11, 0xEA);

// A box on the K-line that answers every frame at once, the probes of the
// other buses with no data; the answers to the rpm request up to the
// spoilt_rpm-th carry a data byte changed on the way, after the box summed it.
sim::ScriptedPeer::ByteHandler kline_box_spoiling_rpm(int spoilt_rpm) {
    auto frame = std::make_shared<Frame>();
    auto car = std::make_shared<sim::ObdCar>();
    auto rpm_answers = std::make_shared<int>(0);
    return [frame, car, rpm_answers, spoilt_rpm](sim::ScriptedPeer& box, std::uint8_t byte) {
        if (frame->empty() && byte != 0x25) return;
        frame->push_back(byte);
        if (frame->size() < 15) return;
        const Frame request = *frame;
        frame->clear();
        const bool checked = sim::sum_of(request.data() + 1, request.data() + 14) == request[14];
        const bool kline = request[1] == 0x01 || request[1] == 0x10 || request[1] == 0x81;
        const auto answer = checked && kline ? car->kline_answer(request[7]) : std::nullopt;
        Frame reply(14, 0x00);
        reply[0] = 0x25;
        if (answer) {
            reply[1] = 0x81;
            std::copy(answer->begin(), answer->end() - 1, reply.begin() + 2);
        } else {
            reply[1] = 0x80;                   // no data
            reply[2] = checked ? 0x00 : 0x08;  // the K-line's keyword
        }
        reply[13] = sim::sum_of(reply.data() + 1, reply.data() + 13);
        if (answer && request[7] == 0x0C && ++*rpm_answers <= spoilt_rpm) reply[7] ^= 0x40;
        box.reply(reply);
    };
}

class Cable1Engine : public testing::ObdRunTest {
protected:
    void SetUp() override { reset_obd_protocol_state(); }

    // Opened as the logger does, then the box's reset lines.
    void bring_up(int port = 0) {
        ASSERT_EQ(SioReset(99, port, 1024, 1024), 0);
        ASSERT_EQ(SioReset(1, port, 1024, 1024), 0);
    }
    int log(RecordingHost& h, const std::vector<int>& items, int chart_flag = 1, int port = 0) {
        return logdata(&h.host, port, 2, 1, items.data(), static_cast<int>(items.size()), chart_flag);
    }
};

TEST_F(Cable1Engine, BringUpHoldsTheBoxOutOfResetAndPowersIt) {
    PeerOnPort<Cable1Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const auto t0 = clock_.now_us();
    EXPECT_EQ(SioDCD(0), 0);  // held in reset by RTS
    const int items[] = {9};
    EXPECT_EQ(logdata(nullptr, 0, 1, 1, items, 1, 0), kTimeOut);

    const auto t1 = clock_.now_us();
    ASSERT_EQ(SioReset(1, 0, 1024, 1024), 0);
    EXPECT_EQ(clock_.now_us() - t1, 1'000'000);
    EXPECT_EQ(box->lines().changes(),
              (std::vector<LineChange>{
                  {OutputLine::Dtr, true, t0}, {OutputLine::Rts, true, t0}, {OutputLine::Rts, false, t1}}));
    // The box hears the lines on its own thread.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (SioDCD(0) == 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(SioDCD(0), 0x80);
    EXPECT_EQ(logdata(nullptr, 0, 1, 1, items, 1, 0), 0);
}

TEST_F(Cable1Engine, ProbesTheBusesThenLogsWithChartsAndCountsSuccesses) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.stop_after_status(2);
    EXPECT_EQ(log(h, {9, 7}), 0);

    // Two buses answer "no data", the K-line answers; the start frame goes
    // out, once more without its check (for the keyword) and once more.
    EXPECT_EQ(box->frames(), (Frames{kProbe84, kProbe82, kProbeKLine, kStartInit, kStartUnchecked, kStartInit, kRpm,
                                     kThrottle, kRpm, kThrottle}));
    EXPECT_EQ(obd_protocol_state().protocol, 1);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{plot(-2, 0, 0, 0, 9), plot(-2, 0, 0, 0, 7), plot(1, 0, 0x0C, 0x80, 9),
                                                  plot(1, 0, 0x00, 0x26, 7), status(4), plot(1, 0, 0x0C, 0x80, 9),
                                                  plot(1, 0, 0x00, 0x26, 7), status(8), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 2)));
}

TEST_F(Cable1Engine, AReplyWhoseCheckByteDoesNotFitIsNeverStored) {
    PeerOnPort<sim::ScriptedPeer> box(0, sim::PeerOptions{}, kline_box_spoiling_rpm(1));
    bring_up();
    RecordingHost h;
    h.stop_after_status(2);
    // One failure on rpm in the first cycle: asked again. In lockstep, so
    // the box's answers keep their times however slowly its thread runs.
    sim::Lockstep lockstep(clock_, {&box.peer()});
    EXPECT_EQ(lockstep.run([&] { return log(h, {9, 7}, 0); }), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 2)));
}

TEST_F(Cable1Engine, ChartsOnlyWhenAskedAndAsksPid01ForUnknownIds) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.stop_after_status(1);
    box->car().set(0x01, {0x83, 0x07, 0x65, 0x00});
    EXPECT_EQ(log(h, {20}, 0), 0);
    EXPECT_EQ(box->frames().back(), box_frame(0x10, 0x68, 0x01, 0x01, 0xDA));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(0)}));
    // PID 01's first data byte is the sample.
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({20}, {{20, 0x00, 0x83}}));
}

TEST_F(Cable1Engine, ParameterWithoutDataDropsOnlyItsCycleAndStopIsSeen) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.on_status = [&](RecordingHost& host, int calls) {
        if (calls == 1) box->car().remove(0x11);
        if (calls == 2) box->car().set(0x11, {0x40});
        if (calls == 3) host.set_flag(0);
    };
    EXPECT_EQ(log(h, {9, 7}, 0), 0);
    // Cycle 2: rpm, then throttle three times without data; cycle 3 whole.
    const Frames frames = box->frames();
    ASSERT_GE(frames.size(), 8u);
    EXPECT_EQ(Frames(frames.end() - 8, frames.end()),
              (Frames{kRpm, kThrottle, kRpm, kThrottle, kThrottle, kThrottle, kRpm, kThrottle}));
    // The status counts what was stored: the dropped cycle adds nothing.
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(4), status(4), status(8), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, {{9, 0x0C, 0x80}, {7, 0x00, 0x26}, {9, 0x0C, 0x80}, {7, 0x00, 0x40}}));
}

TEST_F(Cable1Engine, ParameterNeverSuppliedEndsWithItsCodeWhenStopped) {
    PeerOnPort<Cable1Box> box(0);
    box->car().remove(0x11);
    bring_up();
    RecordingHost h;
    h.stop_after_status(2);
    EXPECT_EQ(log(h, {7}, 0), kPortClosed);  // -3: no data
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({7}, {}));
}

TEST_F(Cable1Engine, ChannelNeverSuppliedLeavesTheRunAndTheOthersLogOn) {
    PeerOnPort<Cable1Box> box(0);
    box->car().remove(0x11);  // throttle: always "no data"
    bring_up();
    RecordingHost h;
    h.stop_after_status(5);
    EXPECT_EQ(log(h, {9, 7, 1}, 0), 0);
    // Three cycles end on throttle, three answers each; then rpm and coolant alone.
    const Frame coolant = box_frame(0x10, 0x68, 0x01, 0x05, 0xDE);
    const Frames cut = {kRpm, kThrottle, kThrottle, kThrottle};
    Frames expected = repeated(cut, 3);
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), {kRpm, coolant});
    const Frames frames = box->frames();
    ASSERT_GE(frames.size(), expected.size());
    EXPECT_EQ(Frames(frames.end() - static_cast<long>(expected.size()), frames.end()), expected);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(0), status(0), status(0), status(4), status(8), pause(0)}));
    // A dump like any other: the head names the two rows logged.
    EXPECT_EQ(read_bytes("kvt1.tmp"), testsupport::hex("02 00 00 00 09 01"
                                                       "09 0C 80 01 00 7B"
                                                       "09 0C 80 01 00 7B"));
}

TEST_F(Cable1Engine, RunWithoutASuppliedChannelEndsWithTheNoDataCode) {
    PeerOnPort<Cable1Box> box(0);
    box->car().remove(0x11);
    box->car().remove(0x05);
    bring_up();
    RecordingHost h;
    h.stop_after_status(10);  // should the run not end by itself
    EXPECT_EQ(log(h, {7, 1}, 0), kPortClosed);
    EXPECT_EQ(h.events(), std::vector<HostEvent>(6, status(0)));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({}, {}));
}

TEST_F(Cable1Engine, ChannelThatFallsSilentAfterKeptCyclesKeepsItsPlace) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.on_status = [&](RecordingHost& host, int calls) {
        if (calls == 1) box->car().remove(0x11);
        if (calls == 6) host.set_flag(0);
    };
    EXPECT_EQ(log(h, {9, 7}, 0), kPortClosed);
    EXPECT_EQ(h.events_of(HostEvent::Status), std::vector<HostEvent>(6, status(4)));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9, 7}, {{9, 0x0C, 0x80}, {7, 0x00, 0x26}}));
}

TEST_F(Cable1Engine, LeavingALongPauseBringsTheKLineUpAgain) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 1) host.set_flag(2);
        if (calls == 2) host.set_flag(0);
    };
    h.on_pause = [this](RecordingHost& host, int flag) {
        if (flag != 2) return;
        clock_.advance_ms(6000);  // longer than the box keeps the K-line
        host.set_flag(1);
    };
    EXPECT_EQ(log(h, {9}, 0), 0);
    const Frames frames = box->frames();
    ASSERT_GE(frames.size(), 3u);
    // No reply came for 6 s: the start frame and the next request both ask
    // the box to bring the K-line up.
    EXPECT_EQ(Frames(frames.end() - 3, frames.end()),
              (Frames{kRpm, kStartInit, box_frame(0x01, 0x68, 0x01, 0x0C, 0xD6)}));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(2), pause(1), status(2), pause(0)}));
    EXPECT_EQ(box->kline_inits(), 5);
}

TEST_F(Cable1Engine, KeywordOfTheKLineSelectsProtocol10) {
    PeerOnPort<Cable1Box> box(0, sim::Pacing::Instant, CarBus::KLineKwp);
    bring_up();
    RecordingHost h;
    h.stop_after_status(1);
    EXPECT_EQ(log(h, {9}, 0), 0);
    EXPECT_EQ(obd_protocol_state().protocol, 10);
    EXPECT_EQ(box->frames().back(), box_frame(0x81, 0x68, 0x01, 0x0C, 0x56));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
}

TEST_F(Cable1Engine, OtherBusesAnswerWithTheirOwnIds) {
    for (const auto& [bus, protocol, link, check] :
         {std::tuple{CarBus::Bus84, 2, std::uint8_t{0x84}, std::uint8_t{0x59}},
          std::tuple{CarBus::Bus82, 3, std::uint8_t{0x82}, std::uint8_t{0x57}}}) {
        reset_obd_protocol_state();
        PeerOnPort<Cable1Box> box(0, sim::Pacing::Instant, bus);
        bring_up();
        RecordingHost h;
        h.stop_after_status(1);
        EXPECT_EQ(log(h, {9}, 0), 0);
        EXPECT_EQ(obd_protocol_state().protocol, protocol);
        EXPECT_EQ(box->frames().back(), box_frame(link, 0x68, 0x01, 0x0C, check));
        EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
        SioClose(0);
    }
}

TEST_F(Cable1Engine, NoBusFoundEndsTheStartWithMinusOne) {
    PeerOnPort<Cable1Box> box(0);
    box->set_fault(sim::Fault::Silent);
    bring_up();
    RecordingHost h;
    const int items[] = {9};
    EXPECT_EQ(logdata(nullptr, 0, 1, 1, items, 1, 0), kTimeOut);
    EXPECT_EQ(box->frames(), (Frames{kProbe84, kProbe82, kProbeKLine}));
    // A run has written its head by then, and sends no request.
    EXPECT_EQ(log(h, {9}), kTimeOut);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{plot(-2, 0, 0, 0, 9)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {}));
}

TEST_F(Cable1Engine, RunWithoutChartCallbackIsRefusedBeforeItsDump) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    RecordingHost h;
    h.host.plot_point = nullptr;
    EXPECT_EQ(log(h, {9}, 0), kBadArgument);
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));
    EXPECT_TRUE(box->frames().empty());
}

TEST_F(Cable1Engine, DemonstrationPortProbesNothingAndGivesItsSample) {
    RecordingHost h;
    h.stop_after_status(1);
    EXPECT_EQ(log(h, {9, 7}, 1, kDemoPort), 0);
    EXPECT_EQ(obd_protocol_state().protocol, 1);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9, 7}, {{9, 0x3E, 0x80}, {7, 0x3E, 0x80}}));
    EXPECT_EQ(h.events_of(HostEvent::Plot).back(), plot(1, kDemoPort, 0x3E, 0x80, 7));
}

}  // namespace
}  // namespace korv::korvio
