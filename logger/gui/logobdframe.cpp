#include "logger/gui/logobdframe.h"

#include <exception>

#include "common/core/korvio_library.h"
#include "common/gui/window_style.h"
#include "logger/core/frame_texts.h"
#include "logger/core/logger_texts.h"
#include "logger/core/port_use.h"
#include "logger/core/stop_flags.h"
#include "logger/gui/actuatordialog.h"
#include "logger/gui/chartcontrol.h"
#include "logger/gui/chartitem.h"
#include "logger/gui/linkframe.h"
#include "logger/gui/logobdthread.h"
#include "logger/gui/serialio.h"

using korv::logger::ItemBox;
using korv::logger::LinkColour;

namespace {

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The link test's library calls through the frame's serialio object.
class SerialLinkCalls final : public korv::logger::LinkCalls {
public:
    explicit SerialLinkCalls(serialio& sio) : sio_(sio) {}
    int SioReset(int cable, int port) override { return sio_.SioReset(cable, port, 1024, 1024); }
    int SioDone(int port) override { return sio_.SioDone(port); }
    int probe(int port, int cable, const korv::logger::ItemList& items) override {
        return sio_.logdata(port, 1, cable, items, 0);
    }

private:
    serialio& sio_;
};

}  // namespace

LOGOBDframe::LOGOBDframe() : QWidget(nullptr) {
    setObjectName("LOGOBDframe");
    setWindowTitle(korv::logger::kFrameTitle);
    setFixedSize(content_width, content_height);
    korv::use_window_style(*this);
    log_items_.fill(-1);
    build_widgets();
    for (auto& chart : chart_frames_) chart = std::make_unique<chartitem>();
    worker_.set_busy_changed([this](bool busy) { library_busy_changed(busy); });
}

LOGOBDframe::~LOGOBDframe() {
    // What the frame opened, it closes; first the call under way must end.
    worker_.stop();
    if (selected_port >= 0 && serial_handle) {
        try {
            serial_handle->SioDone(selected_port);
        } catch (const korv::KorvioUnavailable&) {
            // Nothing was opened through a library that is not there.
        }
        if (korv_handle) korv::logger::mark_port(korv_handle->port_table(), selected_port, false);
    }
}

QCheckBox* LOGOBDframe::make_item_box(ItemBox box, const QRect& where) {
    const korv::logger::ItemBoxInfo& info = korv::logger::info_of(box);
    auto* check = new QCheckBox(text_of(info.text), controls_);
    check->setObjectName(text_of(info.name));
    check->setToolTip(text_of(info.tool_tip));
    check->setGeometry(where);
    connect(check, &QCheckBox::clicked, this, &LOGOBDframe::log_item_mouseClicked);
    item_boxes_[static_cast<std::size_t>(box)] = check;
    return check;
}

void LOGOBDframe::build_widgets() {
    controls_ = new QWidget(this);
    controls_->setGeometry(0, 0, content_width, 256);

    heading = new QLabel(korv::logger::kHeadingText, controls_);
    heading->setObjectName("heading");
    heading->setGeometry(8, 4, 399, 20);

    choose_port = new QComboBox(controls_);
    choose_port->setObjectName("choose_port");
    for (std::string_view item : korv::logger::kPortChoices) choose_port->addItem(text_of(item));
    choose_port->setGeometry(8, 28, 120, 24);
    cable_type = new QComboBox(controls_);
    cable_type->setObjectName("cable_type");
    for (std::string_view item : korv::logger::kCableChoices) cable_type->addItem(text_of(item));
    cable_type->setGeometry(136, 28, 186, 24);
    howto_button = new QPushButton("&How to...", controls_);
    howto_button->setObjectName("howto_button");
    howto_button->setToolTip("Shows info on how to connect this interface");
    howto_button->setGeometry(330, 28, 77, 24);

    obd_enabled_box = new QCheckBox("&Interface enabled", controls_);
    obd_enabled_box->setObjectName("obd_enabled");
    obd_enabled_box->setToolTip("If selected, data will be logged from this interface via the selected com port");
    obd_enabled_box->setGeometry(8, 58, 180, 22);

    // Three columns of item boxes.
    const std::array<ItemBox, korv::logger::kItemBoxCount> grid = {
        ItemBox::rpm,      ItemBox::timing, ItemBox::pw,        ItemBox::water_temp, ItemBox::o2,
        ItemBox::air_temp, ItemBox::tps,    ItemBox::air_flow,  ItemBox::knock,      ItemBox::st_trim,
        ItemBox::lt_trim,  ItemBox::mph,    ItemBox::high_trim, ItemBox::pressure};
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const int column = static_cast<int>(i % 3);
        const int row = static_cast<int>(i / 3);
        make_item_box(grid[i], QRect(8 + column * 110, 86 + row * 22, 106, 22));
    }
    log_rpm = item_box(ItemBox::rpm);
    log_timing = item_box(ItemBox::timing);
    log_pw = item_box(ItemBox::pw);
    log_water_temp = item_box(ItemBox::water_temp);
    log_o2 = item_box(ItemBox::o2);
    log_air_temp = item_box(ItemBox::air_temp);
    log_tps = item_box(ItemBox::tps);
    log_air_flow = item_box(ItemBox::air_flow);
    log_knock = item_box(ItemBox::knock);
    log_st_trim = item_box(ItemBox::st_trim);
    log_lt_trim = item_box(ItemBox::lt_trim);
    log_mph = item_box(ItemBox::mph);
    log_high_trim = item_box(ItemBox::high_trim);
    log_pressure = item_box(ItemBox::pressure);
    log_high_trim->hide();

    // The trouble-code and actuator controls act on a mouse click only, so
    // they take no keyboard focus.
    dtcbutton = new QPushButton("DTC", controls_);
    dtcbutton->setObjectName("dtcbutton");
    dtcbutton->setToolTip("Display diagnostic trouble codes for OBD-II only");
    dtcbutton->setGeometry(8, 198, 60, 24);
    cleardtcbutton = new QPushButton("Clear", controls_);
    cleardtcbutton->setObjectName("cleardtcbutton");
    cleardtcbutton->setToolTip("Clear diagnostic trouble codes for OBD-II only");
    cleardtcbutton->setGeometry(8, 227, 60, 24);
    dtclist = new QPlainTextEdit(controls_);
    dtclist->setObjectName("dtclist");
    dtclist->setReadOnly(true);
    dtclist->setGeometry(74, 198, 250, 54);
    actuatortests = new QPushButton("Actuators", controls_);
    actuatortests->setObjectName("actuatortests");
    actuatortests->setToolTip("Run underhood actuator tests");
    actuatortests->setGeometry(330, 198, 77, 24);
    for (QPushButton* button : {dtcbutton, cleardtcbutton, actuatortests}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
    }
    dtclist->hide();

    status_line = new QLineEdit(korv::logger::kInitialStatus, this);
    status_line->setObjectName("status_line");
    status_line->setReadOnly(true);
    status_line->setGeometry(8, 259, 399, 22);

    connect(choose_port, &QComboBox::activated, this, &LOGOBDframe::choose_port_itemStateChanged);
    connect(cable_type, &QComboBox::activated, this, &LOGOBDframe::cable_type_itemStateChanged);
    connect(obd_enabled_box, &QCheckBox::clicked, this, &LOGOBDframe::obd_enabled_actionPerformed);
    connect(howto_button, &QPushButton::clicked, this, &LOGOBDframe::howto_button_actionPerformed);
    connect(dtcbutton, &QPushButton::clicked, this, &LOGOBDframe::dtcbutton_mouseClicked);
    connect(cleardtcbutton, &QPushButton::clicked, this, &LOGOBDframe::cleardtcbutton_mouseClicked);
    connect(actuatortests, &QPushButton::clicked, this, &LOGOBDframe::actuatortests_mouseClicked);
}

QCheckBox* LOGOBDframe::item_box(ItemBox box) const { return item_boxes_[static_cast<std::size_t>(box)]; }

chartitem* LOGOBDframe::chart(int slot) const {
    if (slot < 0 || slot >= korv::logger::kItemSlots) return nullptr;
    return chart_frames_[static_cast<std::size_t>(slot)].get();
}

korv::logger::ChartWindow* LOGOBDframe::chart_frames(int slot) const { return chart(slot); }

bool LOGOBDframe::obd_enabled() const { return obd_enabled_box->isChecked() && link_passed_ && !worker_.busy(); }

void LOGOBDframe::setVisible(bool show) { QWidget::setVisible(show); }

void LOGOBDframe::error_rtn(const QString& message) {
    if (thread_handle) {
        thread_handle->error_rtn(message);
    } else if (korv_handle) {
        korv_handle->error_rtn(message);
    }
}

void LOGOBDframe::set_status(const QString& text) { status_line->setText(text); }
void LOGOBDframe::set_status(const std::string& text) { status_line->setText(QString::fromStdString(text)); }
void LOGOBDframe::set_status(const char* text) { status_line->setText(QString::fromUtf8(text)); }

void LOGOBDframe::paint_button(LinkColour colour) {
    link_colour_ = colour;
    if (!interface_button) return;
    const korv::Colour rgb = korv::logger::rgb_of(colour);
    interface_button->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3);").arg(int{rgb.r}).arg(int{rgb.g}).arg(int{rgb.b}));
}

void LOGOBDframe::untick() {
    obd_enabled_box->setChecked(false);
    link_passed_ = false;
}

void LOGOBDframe::library_busy_changed(bool busy) { controls_->setEnabled(!busy); }

// --- items -----------------------------------------------------------------

void LOGOBDframe::set_controls() {
    const std::optional<korv::logger::ControlPlan> plan =
        korv::logger::plan_controls(obd_link, korv::logger::number_of_choice(cable_type->currentIndex()));
    if (!plan) return;
    for (ItemBox box : plan->show) item_box(box)->show();
    for (ItemBox box : plan->hide) item_box(box)->hide();
    if (plan->dsm_labels) {
        log_st_trim->setText(text_of(korv::logger::kLowTrimText));
        log_lt_trim->setText(text_of(korv::logger::kMedTrimText));
    }
    if (plan->hide_trouble_code_controls) {
        dtcbutton->hide();
        actuatortests->hide();
        dtclist->hide();
    }
}

void LOGOBDframe::clear_log_items() { log_items_.fill(-1); }

void LOGOBDframe::set_log_items() {
    clear_log_items();
    for (const auto& chart : chart_frames_) chart->set_korv_handle(korv_handle);

    // A box hidden for the chosen cable counts for nothing, even if ticked.
    const korv::logger::LogItemsPlan plan = korv::logger::plan_log_items(
        [this](ItemBox box) { return item_box(box)->isChecked() && !item_box(box)->isHidden(); },
        korv::logger::number_of_choice(cable_type->currentIndex()));
    log_items_ = plan.items;
    for (const korv::logger::ChartSetting& setting : plan.charts) {
        chartitem* window = chart(setting.slot);
        window->set_chart_item(setting.code);
        window->set_title(text_of(setting.title));
        if (setting.has_bounds) {
            window->set_chart_low(setting.low);
            window->set_chart_high(setting.high);
        }
    }
    // The start window keeps Start disabled while any run is alive.
    if (korv_handle) korv_handle->request_start(plan.any_item);

    chartcontrol* bar = chartcontrol_frame ? chartcontrol_frame : korv_handle ? chartcontrol_of(*korv_handle) : nullptr;
    if (bar) bar->set_buttons(this);
}

void LOGOBDframe::log_item_mouseClicked() { set_log_items(); }

// --- port, cable and link ----------------------------------------------------

void LOGOBDframe::release_port() {
    if (selected_port < 0) return;
    try {
        serial_handle->SioDone(selected_port);
    } catch (const korv::KorvioUnavailable&) {
        // Nothing was opened through a library that is not there.
    }
    untick();
    paint_button(LinkColour::red);
    if (korv_handle) korv::logger::mark_port(korv_handle->port_table(), selected_port, false);
    selected_port = korv::logger::kNoPort;
}

void LOGOBDframe::choose_port_itemStateChanged(int index) {
    const int port = korv::logger::number_of_choice(index);
    if (port == korv::logger::kClosePortCommand) {
        release_port();
        return;
    }
    if (port >= 0 && port <= korv::logger::kHighestPort) {
        // A port held before, the same one included, is given back first.
        release_port();
        if (korv_handle && korv::logger::port_in_use(korv_handle->port_table(), port)) {
            set_status(korv::logger::kPortInUse);
            untick();
            paint_button(LinkColour::red);
            return;
        }
        int opened = -1;
        try {
            opened = serial_handle ? serial_handle->SioReset(99, port, 1024, 1024) : -1;
        } catch (const korv::KorvioUnavailable&) {
            error_rtn(QString::fromStdString(korv::logger::kLibraryMessage));
        }
        // Any result but 0 is a failure: the library adds positive offsets
        // to its open failures.
        if (opened != 0) {
            set_status(korv::logger::port_open_error(opened));
            untick();
            paint_button(LinkColour::red);
            return;
        }
        selected_port = port;
        if (korv_handle) korv::logger::mark_port(korv_handle->port_table(), port, true);
    }
    test_connection();
}

void LOGOBDframe::cable_type_itemStateChanged(int) { test_connection(); }

void LOGOBDframe::obd_enabled_actionPerformed(bool ticked) {
    if (ticked) {
        test_connection();
        return;
    }
    link_passed_ = false;
    dtcbutton->hide();
    cleardtcbutton->hide();
    actuatortests->hide();
    dtclist->hide();
    paint_button(LinkColour::light_grey);
    set_status(korv::logger::kLinkDisabled);
    // The end of this frame's run ends every run (the logging threads stop
    // them all when theirs ends).
    if (korv_handle && korv_handle->logging_active()) {
        serialio::set_stop_flag(korv::logger::family_of_cable(selected_cable), korv::logger::kFlagStop);
    }
}

bool LOGOBDframe::refused_while_logging() {
    if (!korv_handle || !korv_handle->run_alive()) return false;
    error_rtn(korv::logger::kNotWhileLogging);
    return true;
}

void LOGOBDframe::forget_probe_item() {
    if (log_items_[0] == korv::logger::kProbeItem) log_items_[0] = -1;
}

void LOGOBDframe::test_connection() {
    if (selected_port > korv::logger::kHighestPort) return;
    set_controls();
    paint_button(LinkColour::light_grey);
    if (!obd_enabled_box->isChecked()) return;
    link_passed_ = false;
    // The port is the running engine's until its run has ended.
    if (refused_while_logging()) {
        untick();
        return;
    }
    if (cable_type->currentIndex() == 0) {
        set_status(korv::logger::kNoCableSelected);
        untick();
        return;
    }
    if (selected_port < 0) {
        set_status(korv::logger::kChoosePortFirst);
        untick();
        return;
    }
    set_status(korv::logger::kTestingLink);
    selected_cable = korv::logger::number_of_choice(cable_type->currentIndex());
    if (obd_link && selected_cable > korv::logger::kHighestObdCable) {
        // The test has ended: the status line must not go on saying it runs.
        set_status(korv::logger::kUnsupportedCable);
        error_rtn(korv::logger::kUnsupportedCable);
        untick();
        return;
    }
    log_items_[0] = korv::logger::kProbeItem;

    const int port = selected_port;
    const int cable = selected_cable;
    const korv::logger::ItemList items = log_items_;
    serialio* sio = serial_handle;
    auto result = std::make_shared<korv::logger::LinkResult>(
        korv::logger::LinkResult{korv::logger::LinkOutcome::open_failed, -1});
    const auto refused = worker_.run(
        [this, sio, port, cable, items, result] {
            if (!sio) return;
            SerialLinkCalls calls(*sio);
            *result = korv::logger::run_link_probe(calls, port, cable, items, [this](int opened) {
                worker_.post([this, opened] {
                    port_open = opened;
                    set_status(korv::logger::port_opened(opened));
                });
            });
        },
        [this, port, result] { link_test_finished(port, *result); });
    if (refused) {
        // Nothing was asked of the library: the test has not run.
        forget_probe_item();
        set_status(*refused);
        paint_button(LinkColour::red);
        untick();
        error_rtn(QString::fromStdString(*refused));
    }
}

void LOGOBDframe::link_test_finished(int port, const korv::logger::LinkResult& result) {
    port_open = result.code;
    switch (result.outcome) {
    case korv::logger::LinkOutcome::open_failed:
        set_status(korv::logger::port_open_error(result.code));
        untick();
        paint_button(LinkColour::red);
        break;
    case korv::logger::LinkOutcome::probe_failed:
        // The worker has closed the port; it is free for any frame.
        set_status(korv::logger::no_response(result.code));
        untick();
        paint_button(LinkColour::red);
        if (korv_handle) korv::logger::mark_port(korv_handle->port_table(), port, false);
        selected_port = korv::logger::kNoPort;
        break;
    case korv::logger::LinkOutcome::operational:
        set_status(korv::logger::log_status(result.code));
        set_status(korv::logger::kLinkOperational);
        paint_button(LinkColour::green);
        cable_type->setEnabled(false);
        if (selected_cable == korv::logger::kMultiplexerCableNumber ||
            selected_cable == korv::logger::kDsmCableNumber) {
            dtcbutton->show();
            dtclist->show();
        }
        if (selected_cable == korv::logger::kDsmCableNumber) actuatortests->show();
        choose_port->setEnabled(false);
        link_passed_ = obd_enabled_box->isChecked();
        break;
    }
    forget_probe_item();
}

void LOGOBDframe::howto_button_actionPerformed() {
    try {
        auto help = std::make_unique<Linkframe>();
        help->show();
        help_windows_.push_back(std::move(help));
    } catch (const std::exception&) {
        // Help that cannot be shown leaves the frame as it was.
    }
}
