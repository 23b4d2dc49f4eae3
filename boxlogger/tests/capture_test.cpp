// A capture through the link engine's poll thread against the simulated
// box: the document gets the ECU's values and a trigger over them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/trigger.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"

namespace korv::boxlogger {
namespace {

using namespace std::chrono_literals;

constexpr int kSlot = 6;

TEST(Capture, SamplesTheBoxAndATriggerOverItsValues) {
    ResetChannelTable();
    ClearTriggers();
    sim::VxmBox box;
    box.ecu().set_value(0x21, 96);   // 3000 rpm
    box.ecu().set_value(0x17, 230);  // 90.2 % throttle
    box.start();
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;
    port.SetPort(kSlot);
    ASSERT_TRUE(port.is_open());

    Trigger(0).AddRule(std::make_unique<CTriggerRule>(9, kCompareGreater, 2500.0f));
    Trigger(0).AddRule(std::make_unique<CTriggerRule>(7, kCompareGreater, 90.0f));
    {
        CLinkEngine engine(port);
        QuickSelectSets sets;
        CVXMlogDoc doc(engine, sets, {});
        doc.SetChannels({9, 53, kChannelListEnd});
        EXPECT_EQ(engine.hub().table().count(), 2) << "Engine Speed and the rule's throttle";
        std::atomic<int> cycles{0};
        engine.StartPollThread([&] { cycles.fetch_add(1); });
        doc.Start();
        const auto give_up = std::chrono::steady_clock::now() + 10s;
        while (doc.samples().size() < 4 && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(2ms);
            if (cycles.exchange(0) > 0) doc.AddSample();  // what the GUI thread does on each call
        }
        doc.Stop();
        ASSERT_GE(doc.samples().size(), 4u);
        for (std::size_t i = 0; i < doc.samples().size(); ++i) {
            EXPECT_EQ(doc.samples().values(i)[0], 3000.0f);
            EXPECT_EQ(doc.samples().values(i)[1], 1.0f) << "Trigger 1 holds";
            if (i > 0) {
                EXPECT_GT(doc.samples().time(i), doc.samples().time(i - 1));
            }
        }

        // A rule edited during the capture takes effect at once.
        Trigger(0).EditRule(0, kCompareGreater, 5000.0f);
        const std::size_t before = doc.samples().size();
        doc.Start();
        while (doc.samples().size() < before + 2 && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(2ms);
            if (cycles.exchange(0) > 0) doc.AddSample();
        }
        doc.Stop();
        ASSERT_GE(doc.samples().size(), before + 2);
        EXPECT_EQ(doc.samples().values(doc.samples().size() - 1)[1], 0.0f);
        engine.StopPollThread();
    }
    ClearTriggers();
    port.Close();
    box.stop();
}

}  // namespace
}  // namespace korv::boxlogger
