#pragma once
// Fetches the PMS unit's memory: the user picks a port, the library's
// download runs on a worker, then (on the GUI thread) its dump becomes
// tmp.e2p and the editor loads it. While the download runs, the dialog
// cannot be used or closed.
#include "common/gui/error_reporter.h"
#include "common/gui/port_dialog.h"
#include "common/core/korvio_library.h"
#include "common/gui/job_worker.h"

#include <QDialog>

class PMSframe;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class PMSdialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* idle_status = korv::kPortDialogIdleStatus;

    // library: null means libkorvio.so by name.
    explicit PMSdialog(const korv::KorvioLibrary* library = nullptr);
    ~PMSdialog() override;

    // The status line reads the idle text whenever the dialog is shown or hidden.
    void setVisible(bool visible) override;
    void reject() override;

    korv::ErrorReporter& error_reporter() { return error_; }
    bool downloading() const { return downloading_; }

    PMSframe* pms_frame = nullptr;
    QLabel* prompt = nullptr;
    QComboBox* port_list = nullptr;
    QPushButton* ok_button = nullptr;
    QPushButton* cancel_button = nullptr;
    QLineEdit* status_line = nullptr;

    struct Outcome {
        korv::LibraryCheck library = korv::LibraryCheck::ready;
        int result = 0;
    };

public slots:
    void ok_button_actionPerformed();
    void cancel_button_actionPerformed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void set_downloading(bool on);
    void download_ended(const Outcome& outcome);

    const korv::KorvioLibrary* library_;
    korv::ErrorReporter error_;
    korv::JobWorker worker_;
    bool downloading_ = false;
};
