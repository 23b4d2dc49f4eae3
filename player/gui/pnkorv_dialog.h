#pragma once
// The handheld transfer's port dialog: pick COM1..COM4, "Ok" starts the
// transfer, and the status field follows its progress. Built once per
// player, shown non-modal, without owner or title.
#include "common/gui/error_reporter.h"
#include "common/gui/port_dialog.h"

#include <QDialog>
#include <QString>

#include <functional>

class PLAYframe;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class PNKORVdialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int content_width = korv::kPortDialogWidth;
    static constexpr int content_height = korv::kPortDialogHeight;
    static constexpr const char* idle_status = korv::kPortDialogIdleStatus;

    PNKORVdialog();

    void error_rtn(const QString& message) { error_.error_rtn(message); }
    korv::ErrorReporter& error_reporter() { return error_; }

    // "Ok", "Cancel" and the port list appear and disappear together.
    void set_controls_visible(bool visible);

    QLabel* prompt = nullptr;
    QComboBox* port_list = nullptr;  // "Choose port", "COM 1" .. "COM 4"
    QPushButton* start_log = nullptr;
    QPushButton* cancel_button = nullptr;
    QLineEdit* eeprom_status = nullptr;

    PLAYframe* pf = nullptr;
    // What "Ok" starts: the transfer on port 0..3 (COM1..COM4).
    std::function<void(int port)> start_transfer;

public slots:
    void start_log_actionPerformed();
    void cancel_button_actionPerformed();

protected:
    // The status reads the idle text whenever the dialog opens again.
    void hideEvent(QHideEvent* event) override;

private:
    korv::ErrorReporter error_;
};
