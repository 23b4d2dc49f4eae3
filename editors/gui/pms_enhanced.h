#pragma once
// The side values of the program the PMS editor shows, read-only.
#include "editors/core/pms_cells.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;

class PMSenhanced : public QWidget {
    Q_OBJECT
public:
    // `editor`: the PMS editor it belongs to, whose controls it leaves clear.
    explicit PMSenhanced(QWidget* editor = nullptr);

    // First shown at 50, 50, or beside the editor where that would cover
    // the editor's controls; later where it was left.
    void setVisible(bool visible) override;
    void display_enhanced(const korv::editors::pms::AdjustCells& cells, int program);

    QCheckBox* Use_Launch_Rpms = nullptr;
    QCheckBox* Use_NOS = nullptr;
    QLineEdit* Launch_Rpms = nullptr;
    QCheckBox* Standalone_Mode = nullptr;
    QCheckBox* Manual_Vent_Adjust = nullptr;
    QCheckBox* Vent_Learn = nullptr;
    QCheckBox* Use_Boost = nullptr;
    QLineEdit* Boost_Table_Limit = nullptr;
    QLineEdit* Boost_Fuel_Cut = nullptr;
    QLineEdit* Tip_in_Duration = nullptr;
    QLineEdit* Tip_In_Amount = nullptr;

private:
    QPointer<QWidget> editor_;
};
