#include "logger/gui/serialio.h"

#include <QThread>
#include <exception>

#include "logger/core/live_chart.h"
#include "logger/core/live_scaling.h"
#include "logger/core/stop_flags.h"
#include "platform/gui/queued_call.h"

using korv::logger::LogFamily;

namespace {

void status_trampoline(void* object, int n) { static_cast<serialio*>(object)->update_status(n); }
void pause_trampoline(void* object, int flag) { static_cast<serialio*>(object)->update_pause(flag); }
void plot_trampoline(void* object, int cable, int port, int hi, int lo, int code) {
    static_cast<serialio*>(object)->plot_point(cable, port, hi, lo, code);
}

}  // namespace

serialio::serialio(const korv::KorvioLibrary& library) : library_(library), context_(std::make_unique<QObject>()) {}

serialio::~serialio() = default;

int& serialio::flag_of(LogFamily family) {
    switch (family) {
    case LogFamily::obd: return obd_stop_flag;
    case LogFamily::dsm: return drb_stop_flag;
    case LogFamily::pms: return pms_stop_flag;
    }
    return pms_stop_flag;
}

int serialio::stop_flag(LogFamily family) { return korv::logger::load_flag(flag_of(family)); }

void serialio::set_stop_flag(LogFamily family, int value) { korv::logger::store_flag(flag_of(family), value); }

void serialio::set_all_stop_flags(int value) {
    for (LogFamily family : korv::logger::kFamilies) set_stop_flag(family, value);
}

int serialio::toggle_pause(LogFamily family) { return korv::logger::toggle_pause(flag_of(family)); }

void serialio::set_korv_handle(korv::logger::KorvLogHost* korv) { korv_handle_ = korv; }

int serialio::SioReset(int cable, int port, int in_queue, int out_queue) {
    return library_.SioReset(cable, port, in_queue, out_queue);
}

int serialio::SioDone(int port) { return library_.SioDone(port); }

int serialio::logdata(int port, int mode, int cable, const korv::logger::ItemList& items, int chart_flag) {
    const korvio_host host{
        this,   &obd_stop_flag, &drb_stop_flag, &pms_stop_flag, &status_trampoline, &pause_trampoline, &plot_trampoline,
        nullptr};
    return library_.logdata(&host, port, mode, cable, items.data(), static_cast<int>(items.size()), chart_flag);
}

int serialio::getDTC(int port, int cable) { return library_.getDTC(port, cable); }

void serialio::clearDTC(int port) { library_.clearDTC(port); }

int serialio::getver() { return library_.getver(); }

int serialio::dodiag(int port, int code) { return library_.dodiag(port, code); }

template <class Work>
void serialio::on_gui_thread(Work&& work) {
    if (QThread::currentThread() == context_->thread()) {
        work();
        return;
    }
    korv::platform::post_queued(context_.get(), std::forward<Work>(work));
}

void serialio::update_status(int n) {
    on_gui_thread([this, n] {
        if (status_) status_->setText(QString::number(n));
    });
}

void serialio::update_pause(int flag) {
    on_gui_thread([this, flag] {
        if (korv_handle_) korv_handle_->show_pause_state(flag);
    });
}

void serialio::plot_point(int cable, int port, int hi, int lo, int code) {
    on_gui_thread([this, cable, port, hi, lo, code] { plot_on_gui_thread(cable, port, hi, lo, code); });
}

void serialio::plot_on_gui_thread(int cable, int port, int hi, int lo, int code) {
    korv::logger::KorvLogHost* korv = korv_handle_;
    if (!korv) return;

    if (cable < 0) {
        // One data-value panel serves every run of the program.
        if (korv->datavalue_handle()) {
            datavalue_handle_ = korv->datavalue_handle();
        } else if (!datavalue_handle_) {
            try {
                datavalue_handle_ = korv->create_datavalues();
                if (datavalue_handle_) datavalue_handle_->setVisible(true);
            } catch (const std::exception&) {
                // A panel that cannot be made or shown leaves the run unharmed.
            }
        }
        if (datavalue_handle_) datavalue_handle_->define_fields(code, cable);
    } else if (datavalue_handle_) {
        // The next announcement starts a fresh table.
        datavalue_handle_->set_table_index(0);
    }
    if (datavalue_handle_) datavalue_handle_->setVisible(true);

    if (!korv->charts_ticked()) return;
    chart_sample(cable, port, hi, lo, code);
}

void serialio::chart_sample(int cable, int port, int hi, int lo, int code) {
    const std::optional<korv::logger::LiveValue> scaled = korv::logger::scale_live_sample(cable, hi, lo, code);
    if (!scaled || !korv::logger::is_charted_cable(cable)) return;

    korv::logger::LogSettingsFrame* frame = settings_frame_ ? settings_frame_ : korv_handle_->obd_frame();
    if (!frame) return;
    korv::logger::ChartWindow* chart = frame->chart_frames(scaled->slot);
    if (!chart) return;

    // The chart passes the value it plots on to the panel.
    if (!chart->datavalue_handle()) chart->set_datavalue_handle(datavalue_handle_);
    korv::logger::chart_live_sample(*chart, port, *scaled);
}
