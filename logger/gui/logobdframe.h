#pragma once
// LOGOBDframe, the settings frame of one interface family: the COM port and
// cable, the link test behind "Interface enabled", the items to log with
// their 20 strip-chart windows, the trouble-code list and the actuator
// tests. Library calls that can take long run on the frame's worker thread
// while the frame's controls are disabled; the window itself stays live.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "common/gui/job_worker.h"
#include "logger/core/dtc_report.h"
#include "logger/core/interface_settings.h"
#include "logger/core/link_test.h"
#include "logger/gui/actuatordialog.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

class LOGOBDThread;
class Linkframe;
class chartcontrol;
class chartitem;
class serialio;

class LOGOBDframe : public QWidget, public korv::logger::LogSettingsFrame {
    Q_OBJECT
public:
    static constexpr int content_width = 415;
    static constexpr int content_height = 287;

    // Hidden, titled "OBD Data Logging ", with its 20 chart windows hidden.
    LOGOBDframe();
    // Waits for a library call under way.
    ~LOGOBDframe() override;

    // Handed over by the settings thread.
    serialio* serial_handle = nullptr;
    LOGOBDThread* thread_handle = nullptr;
    korv::logger::KorvLogHost* korv_handle = nullptr;
    QPushButton* interface_button = nullptr;
    chartcontrol* chartcontrol_frame = nullptr;

    // True for the OBD-II frame: only OBD-II cables pass its link test.
    bool obd_link = true;
    // The last result of the link test's calls; 99 until the first.
    int port_open = 99;
    // The port held open (-1 none) and the cable of the last link test.
    int selected_port = korv::logger::kNoPort;
    int selected_cable = korv::logger::kNoCable;

    QLineEdit* status_line = nullptr;
    QLabel* heading = nullptr;
    QComboBox* choose_port = nullptr;
    QComboBox* cable_type = nullptr;
    // "Interface enabled" (obd_enabled() is the interface's question).
    QCheckBox* obd_enabled_box = nullptr;
    QCheckBox* log_rpm = nullptr;
    QCheckBox* log_timing = nullptr;
    QCheckBox* log_pw = nullptr;
    QCheckBox* log_water_temp = nullptr;
    QCheckBox* log_o2 = nullptr;
    QCheckBox* log_air_temp = nullptr;
    QCheckBox* log_tps = nullptr;
    QCheckBox* log_air_flow = nullptr;
    QCheckBox* log_knock = nullptr;
    QCheckBox* log_st_trim = nullptr;
    QCheckBox* log_lt_trim = nullptr;
    QCheckBox* log_mph = nullptr;
    QCheckBox* log_high_trim = nullptr;
    QCheckBox* log_pressure = nullptr;
    QPushButton* howto_button = nullptr;
    QPushButton* dtcbutton = nullptr;
    QPushButton* cleardtcbutton = nullptr;
    QPlainTextEdit* dtclist = nullptr;
    QPushButton* actuatortests = nullptr;

    QCheckBox* item_box(korv::logger::ItemBox box) const;
    chartitem* chart(int slot) const;
    // The family button's colour as last painted.
    korv::logger::LinkColour link_colour() const { return link_colour_; }
    // A library call is queued or under way; the controls are disabled.
    bool library_busy() const { return worker_.busy(); }
    korv::JobWorker& worker() { return worker_; }
    // The actuator dialog of the last "Actuators" click, while it exists.
    actuatordialog* actuator_dialog() const { return actuator_dialog_; }
    // The help windows "How to..." made, in order.
    const std::vector<std::unique_ptr<Linkframe>>& help_windows() const { return help_windows_; }

    // LogSettingsFrame: ticked only while this frame's link test has passed
    // and no library call of the frame is under way.
    bool obd_enabled() const override;
    int port_choice_index() const override { return choose_port->currentIndex(); }
    int cable_choice_index() const override { return cable_type->currentIndex(); }
    korv::logger::ItemList log_items() const override { return log_items_; }
    korv::logger::ChartWindow* chart_frames(int slot) const override;
    void setVisible(bool show) override;
    void stop_library_calls() override { worker_.stop(); }

    // Shows the item boxes the chosen cable supports.
    void set_controls();
    // Rebuilds the item list and the chart windows from the ticked, shown
    // boxes; offers Start when any item is chosen.
    void set_log_items();
    void clear_log_items();
    // The link test: set-up on the GUI thread, the library's bring-up and
    // probe on the worker.
    void test_connection();
    void error_rtn(const QString& message);

public slots:
    void choose_port_itemStateChanged(int index);
    void cable_type_itemStateChanged(int index);
    void obd_enabled_actionPerformed(bool ticked);
    void log_item_mouseClicked();
    void howto_button_actionPerformed();
    void dtcbutton_mouseClicked();
    void cleardtcbutton_mouseClicked();
    void actuatortests_mouseClicked();

private:
    void build_widgets();
    QCheckBox* make_item_box(korv::logger::ItemBox box, const QRect& where);
    void set_status(const QString& text);
    void set_status(const std::string& text);
    void set_status(const char* text);
    void paint_button(korv::logger::LinkColour colour);
    void untick();
    // Gives the held port back: closed, unticked, red, free for others.
    void release_port();
    void link_test_finished(int port, const korv::logger::LinkResult& result);
    void forget_probe_item();
    // "Not allowed while logging!" while any logging thread is alive.
    bool refused_while_logging();
    void read_trouble_codes(bool clear_first);
    void show_trouble_codes(int result, const korv::logger::DtcReport& report);
    void send_stop_all();
    void library_busy_changed(bool busy);

    QWidget* controls_ = nullptr;  // every control but the status line
    std::array<QCheckBox*, korv::logger::kItemBoxCount> item_boxes_{};
    korv::logger::ItemList log_items_{};
    std::array<std::unique_ptr<chartitem>, korv::logger::kItemSlots> chart_frames_;
    korv::logger::LinkColour link_colour_ = korv::logger::LinkColour::none;
    bool link_passed_ = false;
    std::vector<std::unique_ptr<Linkframe>> help_windows_;
    QPointer<actuatordialog> actuator_dialog_;
    // Last, so it stops before anything its jobs use goes.
    korv::JobWorker worker_;
};
