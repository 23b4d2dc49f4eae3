#include "common/gui/error_reporter.h"

#include "common/gui/error_dialog.h"
#include "platform/gui/queued_call.h"

#include <QCoreApplication>
#include <QThread>
#include <exception>

namespace korv {

ErrorReporter::ErrorReporter(OnFailure on_failure) : on_failure_(on_failure), context_(std::make_unique<QObject>()) {}

ErrorReporter::~ErrorReporter() = default;

bool ErrorReporter::on_gui_thread() const { return QThread::currentThread() == context_->thread(); }

void ErrorReporter::error_rtn(const QString& message) {
    if (on_gui_thread()) {
        show_on_gui_thread(message);
        return;
    }
    platform::post_queued(context_.get(), [this, message] { show_on_gui_thread(message); });
}

void ErrorReporter::hide() {
    if (on_gui_thread()) {
        hide_on_gui_thread();
        return;
    }
    platform::post_queued(context_.get(), [this] { hide_on_gui_thread(); });
}

error_dialog* ErrorReporter::error_diag() const { return dialog_.get(); }

void ErrorReporter::show_on_gui_thread(const QString& message) {
    auto show = [this](const QString& text) {
        if (!dialog_) dialog_ = std::make_unique<error_dialog>();
        dialog_->set_message(text);
        // An already visible dialog stays where it is; only the text changes.
        if (!dialog_->isVisible()) dialog_->show();
    };
    try {
        show(message);
    } catch (const std::exception& failure) {
        if (on_failure_ != OnFailure::report_own_message) return;
        // One attempt with the failure's own text; a second failure ends it.
        try {
            show(QString::fromLocal8Bit(failure.what()));
        } catch (...) {}
    } catch (...) {}
}

void ErrorReporter::hide_on_gui_thread() {
    if (dialog_) dialog_->hide();
}

}  // namespace korv
