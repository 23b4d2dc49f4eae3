#pragma once
// The main window: the dyno chart of the loaded run and the File and Help menus.
#include "dyno/core/dyno_session.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"
#include "platform/core/settings_store.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QDialog;
class QPrinter;

namespace korv::dyno {

class DynoChartView;

class Ergomark : public QMainWindow {
    Q_OBJECT
public:
    // The chooser and message box default to the Qt ones when null.
    Ergomark(platform::SettingsStore& store, platform::FileChooser* chooser = nullptr,
             platform::MessageBox* messages = nullptr, QWidget* parent = nullptr);
    ~Ergomark() override;

    DynoSession& session() { return session_; }
    DynoChartView* chart() const { return chart_; }

    // How modal dialogs are run; tests answer them instead of exec().
    using DialogRunner = std::function<void(QDialog&)>;
    void set_dialog_runner(DialogRunner runner) { run_dialog_ = std::move(runner); }
    // The printer to print on; null when there is none. Defaults to the
    // system's default printer.
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
    void set_printer_source(PrinterSource source) { printer_source_ = std::move(source); }

public slots:
    void OpenLogFile();
    void ShowConfig();
    void ShowSelect();
    void SaveChartBmp();
    void PrintChart();
    void ShowAbout();

private:
    void build_menus();
    void recompute();
    void save_settings();
    void message(const std::string& text, const char* caption);

    platform::SettingsStore& store_;
    std::unique_ptr<platform::FileChooser> own_chooser_;
    std::unique_ptr<platform::MessageBox> own_messages_;
    platform::FileChooser* chooser_;
    platform::MessageBox* messages_;
    DynoSession session_;
    DynoChartView* chart_ = nullptr;
    DialogRunner run_dialog_;
    PrinterSource printer_source_;
};

}  // namespace korv::dyno
