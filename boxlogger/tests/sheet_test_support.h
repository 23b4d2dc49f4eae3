#pragma once
// A DRB II or tuning sheet over the simulated box: the engine held as the
// sheet's modal run holds it, the hub polled by hand instead of by the poll
// thread, and commands waited for by running the GUI thread's events.
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/serial_port.h"
#include "boxlogger/gui/drb_page.h"
#include "boxlogger/gui/engine_sheet.h"
#include "platform/core/clock.h"
#include "platform/core/scripted_message_box.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/event_wait.h"

#include <QApplication>
#include <QLabel>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace korv::boxlogger::testing {

inline constexpr int kSlot = 6;

template <class W = QWidget>
W* control(QWidget* parent, int id) {
    return parent->findChild<W*>(QString::number(id));
}

inline QString label_text(QWidget* parent, int id) {
    QLabel* label = control<QLabel>(parent, id);
    return label ? label->text() : QString("<no control %1>").arg(id);
}

// Real time plus jumps the test makes. Reply windows stay real (a box
// thread on a busy machine may take tens of milliseconds to answer, which a
// clock that only moves by sleeps compresses to a few), while a test jumps
// over the box's 3 s commands and the link's give-up times.
class JumpClock final : public platform::Clock {
public:
    std::int64_t now_us() const override { return real_.now_us() + offset_.load(); }
    void sleep_us(std::int64_t duration) override { real_.sleep_us(duration); }
    void jump_us(std::int64_t duration) { offset_.fetch_add(duration); }

private:
    platform::MonotonicClock real_;
    std::atomic<std::int64_t> offset_{0};
};

struct BoxLink {
    JumpClock clock;
    platform::ScopedClock scoped_clock{clock};
    sim::VxmBox box{sim::Pacing::Instant};
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;
    CLinkEngine engine{port};
    platform::ScriptedMessageBox messages;

    BoxLink() {
        ResetChannelTable();
        CDRBGenIOTab::SetShowSensorVoltages(false);
        box.start();
        port.SetPort(kSlot);
    }
    ~BoxLink() { box.stop(); }

    // Enough steps for every entry of the hub to be asked once more.
    void poll_hub() {
        const int steps = engine.hub().table().count() + 1;
        for (int i = 0; i < steps; ++i) engine.PollStep();
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages.messages()) out.push_back(m.text);
        return out;
    }
};

// Runs the GUI thread's events until the sheet's worker is done (its
// command, a page's exchange). With a jump, the clock leaps that far once
// the command has had time to start (a box command then runs out at once).
inline bool wait_idle(CEngineSheet& sheet, JumpClock* clock = nullptr, std::int64_t jump_us = 0) {
    using namespace std::chrono_literals;
    const auto started = std::chrono::steady_clock::now();
    bool jumped = clock == nullptr;
    testsupport::run_events_until(
        [&] {
            if (!jumped && std::chrono::steady_clock::now() - started > 250ms) {
                clock->jump_us(jump_us);
                jumped = true;
            }
            return !sheet.working() && !sheet.notice();
        },
        30s);
    return !sheet.working();
}

}  // namespace korv::boxlogger::testing
