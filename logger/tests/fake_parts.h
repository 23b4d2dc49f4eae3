#pragma once
// Stand-ins for the settings frames, charts and panels, recording what the
// start window and the live callbacks do to them.
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

namespace korv::logger::testing {

struct FakeDataValues final : DataValuePanel {
    void define_fields(int code, int cable) override { defined.push_back({code, cable}); }
    void set_table_index(int index) override { table_indexes.push_back(index); }
    void set_value(int code, float value) override { values[code] = value; }
    void setVisible(bool show) override {
        visible = show;
        if (show) ++shows;
    }
    std::vector<std::pair<int, int>> defined;
    std::vector<int> table_indexes;
    std::map<int, float> values;
    bool visible = false;
    int shows = 0;
};

struct FakeChart final : ChartWindow {
    bool scroll_locked() const override { return locked; }
    void set_scroll_locked(bool value) override { locked = value; }
    void resume_chart() override { ++resumes; }
    int chart_low() const override { return low; }
    int chart_high() const override { return high; }
    void setrange(int slot) override {
        ranges.push_back(slot);
        low = slot == 2 ? -40 : 0;
        high = slot == 1 ? 8000 : slot == 7 ? 10000 : slot == 5 ? 200 : 40;
    }
    int test_point() const override { return point; }
    void set_test_point(int value) override { point = value; }
    int test_delta() const override { return delta; }
    void set_test_delta(int value) override { delta = value; }
    void plot_point(int v) override { points.push_back(v); }
    DataValuePanel* datavalue_handle() const override { return panel; }
    void set_datavalue_handle(DataValuePanel* value) override { panel = value; }

    bool locked = false;
    int resumes = 0;
    int low = 0;
    int high = -1;
    int point = 0;
    int delta = 0;
    std::vector<int> ranges;
    std::vector<int> points;
    DataValuePanel* panel = nullptr;
};

struct FrameSetup {
    bool enabled = true;
    int port_index = 1;   // COM1
    int cable_index = 2;  // cable 1
    ItemList items = {-1, 9, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

struct FakeFrame final : LogSettingsFrame {
    explicit FakeFrame(const FrameSetup& s) : setup(s) {}
    bool obd_enabled() const override { return setup.enabled; }
    int port_choice_index() const override { return setup.port_index; }
    int cable_choice_index() const override { return setup.cable_index; }
    ItemList log_items() const override { return setup.items; }
    ChartWindow* chart_frames(int slot) const override {
        return slot >= 0 && slot < kItemSlots ? const_cast<FakeChart*>(&charts[slot]) : nullptr;
    }
    void setVisible(bool show) override {
        if (show) ++shows;
    }
    void stop_library_calls() override {
        ++stops;
        if (on_stop) on_stop();
    }
    FrameSetup setup;
    std::array<FakeChart, kItemSlots> charts;
    int shows = 0;
    int stops = 0;
    std::function<void()> on_stop;
};

struct FakeSettingsThread final : LogSettingsThread {
    FakeSettingsThread(KorvLogHost& k, const FrameSetup& s, bool builds) : korv(k), setup(s), builds_frame(builds) {}
    void start() override {
        ++starts;
        if (!builds_frame) return;
        frame = std::make_unique<FakeFrame>(setup);
        korv.set_obd_frame(frame.get());
    }
    LogSettingsFrame* obd_frame() const override { return frame.get(); }
    void set_log_handle(LOGOBDThread1* run) override { log_handle = run; }

    KorvLogHost& korv;
    FrameSetup setup;
    bool builds_frame;
    std::unique_ptr<FakeFrame> frame;
    LOGOBDThread1* log_handle = nullptr;
    int starts = 0;
};

struct FakeChartControl final : ChartControl {
    void setVisible(bool show) override { visible = show; }
    bool visible = false;
};

struct FakeParts final : LoggerParts {
    std::unique_ptr<LogSettingsThread> make_settings_thread(KorvLogHost& korv, QPushButton* interface_button,
                                                            const QString& title, int cable_type) override {
        const int family = cable_type == 5 ? 1 : cable_type == 6 ? 2 : 0;
        made.push_back({title, cable_type});
        buttons.push_back(interface_button);
        auto thread = std::make_unique<FakeSettingsThread>(korv, setups[family], frames_build);
        threads[family] = thread.get();
        return thread;
    }
    std::unique_ptr<ChartControl> make_chartcontrol(KorvLogHost&) override {
        auto control = std::make_unique<FakeChartControl>();
        chartcontrol = control.get();
        return control;
    }
    std::unique_ptr<DataValuePanel> make_datavalues() override {
        ++datavalues_made;
        if (real_datavalues) return real_datavalues();
        auto panel = std::make_unique<FakeDataValues>();
        datavalues = panel.get();
        return panel;
    }
    std::unique_ptr<QWidget> make_triggerframe() override {
        ++triggerframes_made;
        return std::make_unique<QWidget>();
    }

    FakeFrame* frame(LogFamily family) const {
        FakeSettingsThread* thread = threads[index_of(family)];
        return thread ? thread->frame.get() : nullptr;
    }

    std::array<FrameSetup, 3> setups{};
    bool frames_build = true;
    // Set: makes the program's own panel instead of the recording one.
    std::function<std::unique_ptr<DataValuePanel>()> real_datavalues;
    std::vector<std::pair<QString, int>> made;
    std::vector<QPushButton*> buttons;
    std::array<FakeSettingsThread*, 3> threads{};
    FakeChartControl* chartcontrol = nullptr;
    FakeDataValues* datavalues = nullptr;
    int datavalues_made = 0;
    int triggerframes_made = 0;
};

}  // namespace korv::logger::testing
