#include "boxlogger/core/sample_store.h"
#include "boxlogger/core/serial_port.h"
#include "platform/core/clock.h"

#include <gtest/gtest.h>

namespace korv::boxlogger {
namespace {

constexpr std::int64_t kTicks = CRequestTable::kTickFrequency;

struct Ring : ::testing::Test {
    CSerialPort port;
    CSampleHub hub{port};
    CSampleRing* ring = hub.CreateRing();

    void commit(float value, std::int64_t ticks) {
        CSampleArray* frame = ring->WriteSlot();
        ASSERT_NE(frame, nullptr);
        if (!frame->values.empty()) frame->values[0] = value;
        ring->Commit(ticks);
    }
    std::vector<CSampleArray> drain() {
        std::vector<CSampleArray> out;
        hub.Drain(ring, out);
        return out;
    }
};

TEST_F(Ring, OverflowKeepsTheNewest31) {
    hub.Subscribe(9, ring);
    ring->Reset();
    for (int i = 0; i < 40; ++i) commit(static_cast<float>(i), i * kTicks);
    ASSERT_NE(ring->Peek(), nullptr);
    EXPECT_FLOAT_EQ(ring->Peek()->values[0], 9.0f);
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 31u);
    EXPECT_FLOAT_EQ(frames.back().values[0], 39.0f);
    EXPECT_EQ(ring->Peek(), nullptr);
}

TEST_F(Ring, DisabledRingTakesNothingAndTimesRunOnAcrossReset) {
    EXPECT_EQ(ring->WriteSlot(), nullptr) << "a new ring is not enabled";
    ring->Reset();
    commit(0, 5 * kTicks);
    commit(0, 6 * kTicks);
    ring->Disable();
    EXPECT_EQ(ring->WriteSlot(), nullptr);
    ring->Reset();
    commit(0, 9 * kTicks);
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_FLOAT_EQ(frames[0].time, 4.0f);
    ring->Clear();
    ring->Reset();
    commit(0, 20 * kTicks);
    EXPECT_FLOAT_EQ(drain().at(0).time, 0.0f) << "after Clear the time starts again";
}

TEST_F(Ring, TimesKeepMillisecondsAfterDaysOfUptime) {
    ring->Reset();
    const std::int64_t ten_days = 10LL * 86400 * kTicks;
    commit(0, ten_days);
    commit(0, ten_days + 1000);  // one millisecond later
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_NEAR(frames[1].time, 0.001f, 1e-6f);
}

TEST_F(Ring, RemovingAChannelMovesTheNextIntoItsPlace) {
    CVariable* first = hub.Subscribe(9, ring);
    hub.Subscribe(4, ring);
    ring->Reset();
    CSampleArray* frame = ring->WriteSlot();
    ASSERT_EQ(frame->values.size(), 2u);
    frame->values = {1.0f, 2.0f};
    hub.Unsubscribe(first, ring);
    EXPECT_EQ(ring->WriteSlot()->values.size(), 1u);
    EXPECT_FLOAT_EQ(ring->WriteSlot()->values[0], 2.0f);
    EXPECT_EQ(hub.table().codes(), std::vector<std::uint8_t>{0x14});
}

TEST_F(Ring, RemoveRingReleasesItsChannels) {
    hub.Subscribe(9, ring);
    hub.Subscribe(4, ring);
    CSampleRing* other = hub.CreateRing();
    hub.Subscribe(9, other);
    hub.RemoveRing(ring);
    EXPECT_EQ(hub.table().codes(), std::vector<std::uint8_t>{0x21});
    hub.RemoveRing(other);
    EXPECT_TRUE(hub.empty());
}

TEST_F(Ring, CompleteCycleFillsEnabledRingsWithTheMiddleOfTheCycle) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock scoped(clock);
    port.set_link_faked(true);  // echo with data 0, no port
    hub.Subscribe(0, ring);     // timing advance: 0 * 1 - 10
    CSampleRing* idle = hub.CreateRing();
    hub.Subscribe(0, idle);
    ring->Reset();
    EXPECT_EQ(hub.Poll(), kCycleComplete);
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_FLOAT_EQ(frames[0].values.at(0), -10.0f);
    EXPECT_FLOAT_EQ(frames[0].time, 0.0f);
    EXPECT_EQ(idle->Peek(), nullptr);
}

TEST(SampleList, FindByTime) {
    CSampleList list;
    EXPECT_EQ(list.FindByTime(1.0f), std::nullopt);
    for (float t : {0.0f, 0.5f, 1.0f}) list.Append({t, {}});
    EXPECT_EQ(list.FindByTime(0.7f), 1u);
    EXPECT_EQ(list.FindByTime(2.0f), 1u) << "the last sample gives way to the one before";
    EXPECT_EQ(list.FindByTime(0.0f), 0u);
}

TEST(SampleList, SeekTimeSearchesFromTheCacheBothWays) {
    CSampleList list;
    for (int i = 0; i < 10; ++i) list.Append({i * 0.1f, {}});
    EXPECT_EQ(list.SeekTime(0.55f), 5u);
    EXPECT_EQ(list.FindByTime(0.55f), 5u) << "the cached time gives the cached position";
    EXPECT_EQ(list.SeekTime(0.75f), 7u);
    EXPECT_EQ(list.SeekTime(0.25f), 2u) << "backward: first sample below t";
    EXPECT_EQ(list.SeekTime(-1.0f), 0u);
    list.Clear();
    EXPECT_EQ(list.SeekTime(0.3f), std::nullopt);
}

}  // namespace
}  // namespace korv::boxlogger
