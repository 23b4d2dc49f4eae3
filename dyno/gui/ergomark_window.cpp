#include "dyno/gui/ergomark_window.h"

#include "common/core/bmp_writer.h"
#include "dyno/core/settings_io.h"
#include "dyno/gui/about_dialog.h"
#include "dyno/gui/config_dialog.h"
#include "dyno/gui/dyno_chart_painter.h"
#include "dyno/gui/dyno_chart_view.h"
#include "dyno/gui/select_dialog.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"

#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace korv::dyno {

Ergomark::Ergomark(platform::SettingsStore& store, platform::FileChooser* chooser, platform::MessageBox* messages,
                   QWidget* parent)
    : QMainWindow(parent), store_(store) {
    if (!chooser) own_chooser_ = std::make_unique<platform::QtFileChooser>(this);
    if (!messages) own_messages_ = std::make_unique<platform::QtMessageBox>(this);
    chooser_ = chooser ? chooser : own_chooser_.get();
    messages_ = messages ? messages : own_messages_.get();
    run_dialog_ = [](QDialog& dialog) { dialog.exec(); };
    printer_source_ = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    };

    setObjectName("ERGOMARK");
    setWindowTitle("Ergomark");
    resize(800, 600);
    LoadSettings(store_, session_.settings);
    chart_ = new DynoChartView(session_, this);
    setCentralWidget(chart_);
    build_menus();
}

Ergomark::~Ergomark() = default;

void Ergomark::build_menus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("Open", this, &Ergomark::OpenLogFile)->setObjectName("openAction");
    file->addAction("Config", this, &Ergomark::ShowConfig)->setObjectName("configAction");
    file->addAction("Select", this, &Ergomark::ShowSelect)->setObjectName("selectAction");
    file->addAction("Save", this, &Ergomark::SaveChartBmp)->setObjectName("saveAction");
    file->addAction("Print", this, &Ergomark::PrintChart)->setObjectName("printAction");
    file->addAction("E&xit", this, &QWidget::close)->setObjectName("exitAction");
    QMenu* help = menuBar()->addMenu("&Help");
    QAction* about = help->addAction("&About ...", this, &Ergomark::ShowAbout);
    about->setObjectName("aboutAction");
    about->setShortcuts({QKeySequence(Qt::Key_Question), QKeySequence(Qt::Key_Slash)});
    about->setShortcutContext(Qt::WindowShortcut);
}

void Ergomark::message(const std::string& text, const char* caption) {
    messages_->show(text, caption, platform::MessageButtons::Ok, platform::MessageIcon::None);
}

void Ergomark::recompute() {
    session_.smooth();
    session_.compute_power();
    chart_->update();
}

void Ergomark::save_settings() {
    if (!SaveSettings(store_, session_.settings)) message("Can't save the settings", "Error");
}

void Ergomark::OpenLogFile() {
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Open;
    request.title = "Choose a file to dyno";
    request.file_name = "*.csv";
    request.default_extension = "ext";
    const auto path = chooser_->choose(request);
    if (!path) return;
    const LogReadStatus status = session_.open_log(*path);
    if (status != LogReadStatus::ok) {
        message(std::string(log_read_message(status)), "File Error");
    } else if (session_.dropped_rows() > 0) {
        message(dropped_rows_message(session_.dropped_rows()), "File Error");
    }
    chart_->update();
}

void Ergomark::ShowConfig() {
    ConfigDialog dialog(session_.settings, this);
    connect(&dialog, &ConfigDialog::applyRequested, this, &Ergomark::recompute);
    connect(&dialog, &ConfigDialog::saveRequested, this, &Ergomark::save_settings);
    run_dialog_(dialog);
}

void Ergomark::ShowSelect() {
    if (!session_.loaded()) {
        message("Please load a file before selecting", "No File");
        return;
    }
    SelectDialog dialog(session_, this);
    connect(&dialog, &SelectDialog::applyRequested, chart_, qOverload<>(&QWidget::update));
    connect(&dialog, &SelectDialog::saveRequested, this, &Ergomark::save_settings);
    run_dialog_(dialog);
}

void Ergomark::ShowAbout() {
    AboutDialog dialog(this);
    run_dialog_(dialog);
}

void Ergomark::SaveChartBmp() {
    chart_->update();
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Save;
    request.title = "File to save";
    request.file_name = "*.bmp";
    request.default_extension = "bmp";
    const auto path = chooser_->choose(request);
    if (!path) return;
    const QImage image = render_chart_image(session_);
    if (image.isNull()) {
        message("Can't create BMP!", "Error");
        return;
    }
    if (auto error = WriteBmp24(*path, image.width(), image.height(), image.constBits(),
                                static_cast<std::size_t>(image.bytesPerLine())))
        message("Can't save BMP file " + *path + ": " + *error, "Error");
}

void Ergomark::PrintChart() {
    chart_->update();
    std::unique_ptr<QPrinter> printer = printer_source_();
    if (!printer) {
        message("No default printer to print on", "Print");
        return;
    }
    printer->setDocName("Test-Doc");
    const std::string failed =
        "Can't print on " + (printer->printerName().isEmpty() ? printer->outputFileName().toStdString()
                                                              : printer->printerName().toStdString());
    QPainter painter;
    if (!painter.begin(printer.get())) {
        message(failed, "Print");
        return;
    }
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    // Lines a screen pixel wide, whatever the printer's resolution.
    const int pen_width = std::max(1, printer->resolution() / 96);
    DrawDynoChartOn(painter, QRect(0, 0, page.width(), page.height()), session_, pen_width);
    if (!painter.end()) message(failed, "Print");
}

}  // namespace korv::dyno
