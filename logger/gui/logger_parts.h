#pragma once
// What the start window and the live callbacks call on the logger's other
// windows: the interface settings frames (LOGOBDframe, built by
// LOGOBDThread), the strip charts (chartitem), the chart manager
// (chartcontrol), the data-value panel (datavalues) and the Triggers window
// (Triggerframe). Those windows implement these interfaces; a window class
// that is also a QWidget overrides QWidget::setVisible and the interface's
// setVisible with one function.
//
// Everything here is called on the GUI thread.
#include <QString>
#include <memory>

#include "logger/core/live_chart.h"
#include "logger/core/log_family.h"

class LOGOBDThread1;
class QPushButton;
class QWidget;

namespace korv::logger {

class KorvLogHost;

// "Real Time Data Values": one row per item of a charted run.
class DataValuePanel {
public:
    virtual ~DataValuePanel() = default;
    // Gives an item a row; cable is the announcing engine's -1 (DSM) or -2.
    virtual void define_fields(int code, int cable) = 0;
    // The next free row; the live callback sets 0 on every sample.
    virtual void set_table_index(int index) = 0;
    // The row of code shows value (called by the charts).
    virtual void set_value(int code, float value) = 0;
    virtual void setVisible(bool show) = 0;
    // The window whose controls it must leave clear when it first shows.
    virtual void set_owner(QWidget* owner) { (void)owner; }
};

// One strip-chart window of a settings frame (one per item slot); the live
// samples drive it as a LiveChart.
class ChartWindow : public LiveChart {
public:
    // Locked while a session logs and is not paused: clicks are ignored and
    // the view follows the newest point.
    virtual bool scroll_locked() const = 0;
    virtual void set_scroll_locked(bool locked) = 0;
    // Back to the newest point.
    virtual void resume_chart() = 0;

    virtual DataValuePanel* datavalue_handle() const = 0;
    virtual void set_datavalue_handle(DataValuePanel* panel) = 0;
};

// The chart manager's button bar.
class ChartControl {
public:
    virtual ~ChartControl() = default;
    virtual void setVisible(bool show) = 0;
};

// The settings frame of one interface family.
class LogSettingsFrame {
public:
    virtual ~LogSettingsFrame() = default;
    // "Interface enabled": ticked only while the frame's link test passed.
    virtual bool obd_enabled() const = 0;
    // Choice indexes: port number = index - 1, cable number = index - 1.
    virtual int port_choice_index() const = 0;
    virtual int cable_choice_index() const = 0;
    // 20 item codes by item slot, -1 = empty.
    virtual ItemList log_items() const = 0;
    // The chart window of an item slot (0-19); the frame keeps all 20 for
    // its whole life. Null only for a slot out of range.
    virtual ChartWindow* chart_frames(int slot) const = 0;
    virtual void setVisible(bool show) = 0;
    // On the way out: waits for the frame's library call under way (a link
    // test, a trouble-code read) and starts none afterwards.
    virtual void stop_library_calls() = 0;
};

// The settings thread of one family: builds and shows its frame once.
class LogSettingsThread {
public:
    virtual ~LogSettingsThread() = default;
    virtual void start() = 0;
    // Null until the frame is built (and for good when building failed).
    virtual LogSettingsFrame* obd_frame() const = 0;
    // The family's current logging thread, set by Start.
    virtual void set_log_handle(LOGOBDThread1* run) = 0;
};

// Makes the windows above for the start window. A null result means the
// window is not available; the start window then goes without it.
class LoggerParts {
public:
    virtual ~LoggerParts() = default;
    virtual std::unique_ptr<LogSettingsThread> make_settings_thread(KorvLogHost& korv, QPushButton* interface_button,
                                                                    const QString& title, int cable_type) = 0;
    // Built hidden, once, with the start window.
    virtual std::unique_ptr<ChartControl> make_chartcontrol(KorvLogHost& korv) = 0;
    // Built by the first item announcement of the program's first charted run.
    virtual std::unique_ptr<DataValuePanel> make_datavalues() = 0;
    // Built on first use of the (always disabled) "Triggers" button.
    virtual std::unique_ptr<QWidget> make_triggerframe() = 0;
};

}  // namespace korv::logger
