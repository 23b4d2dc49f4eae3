#pragma once
// "Control Dialog": which fuel and timing controllers the car has, and the
// way into their editors.
#include "player/core/kvt_config.h"
#include "player/gui/controller_editors.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

class control_dialog : public QDialog {
    Q_OBJECT
public:
    control_dialog(QWidget* owner, korv::player::EditorPool& pool);

    korv::player::EditorRefs editors;  // afc_frame, afc2_frame, itc_frame, pms_frame
    QString afc1_config_file, afc1_config_dir;
    QString afc2_config_file, afc2_config_dir;
    QString itc_config_file, itc_config_dir;
    QString pms_config_file, pms_config_dir;

    QPlainTextEdit* description = nullptr;
    QCheckBox* afc2_box = nullptr;  // "AFC (VCD version)"
    QCheckBox* afc1_box = nullptr;  // "AFC (5 knob style)"
    QCheckBox* itc_box = nullptr;
    QCheckBox* pms_box = nullptr;
    QCheckBox* vpc_box = nullptr;
    QPushButton* afc2_configure = nullptr;
    QPushButton* afc1_configure = nullptr;
    QPushButton* itc_configure = nullptr;
    QPushButton* pms_configure = nullptr;
    QPushButton* vpc_configure = nullptr;

    // The rule each box applies to the others, on its current state.
    void afc1_rule();
    void afc2_rule();
    void itc_rule();
    void pms_rule();

    // kvt.cfg's chooser slot as the window stands now.
    korv::player::kvt::ChooserSlot config_slot() const;
    // Sets the boxes from a slot: ticks, then enabled states, then every rule once.
    void apply_config_slot(const korv::player::kvt::ChooserSlot& slot);

public slots:
    void afc1Box_mouseClicked();
    void afc2Box_mouseClicked();
    void itcBox_mouseClicked();
    void pmsBox_mouseClicked();
    void afc1Configure_mouseClicked();
    void afc2Configure_mouseClicked();
    void itcConfigure_mouseClicked();
    void pmsConfigure_mouseClicked();

private:
    void before_click();
    std::array<QCheckBox*, 4> boxes_in_file_order() const;

    korv::player::EditorPool& pool_;
};
