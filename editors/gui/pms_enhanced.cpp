#include "editors/gui/pms_enhanced.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_place.h"
#include "common/gui/window_style.h"
#include "editors/gui/editor_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace pms = korv::editors::pms;

PMSenhanced::PMSenhanced(QWidget* editor) : QWidget(nullptr), editor_(editor) {
    setObjectName("PMSenhanced");
    setWindowTitle(QStringLiteral("Enhanced PMS Settings"));
    setFixedSize(330, 250);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);
    korv::editors::use_readable_selection(*this);

    const auto box = [this](QCheckBox*& made, const char* name, const char* text, bool ticked, int x, int y) {
        made = new QCheckBox(QString::fromLatin1(text), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setChecked(ticked);
        made->setEnabled(false);
        made->setGeometry(x, y, 160, 20);
    };
    const auto field = [this](QLineEdit*& made, const char* name, int x, int y) {
        made = new QLineEdit(this);
        made->setObjectName(QString::fromLatin1(name));
        made->setEnabled(false);
        made->setGeometry(x, y, 60, 22);
    };
    const auto label = [this](const char* text, int x, int y) {
        auto* made = new QLabel(QString::fromLatin1(text), this);
        made->setGeometry(x, y, 120, 22);
    };

    box(Use_Launch_Rpms, "Use_Launch_Rpms", "Launch RPMS", false, 10, 10);
    field(Launch_Rpms, "Launch_Rpms", 180, 8);
    box(Use_NOS, "Use_NOS", "N2O", true, 10, 36);
    auto* launch_or_nos = new QButtonGroup(this);
    launch_or_nos->addButton(Use_Launch_Rpms);
    launch_or_nos->addButton(Use_NOS);
    box(Standalone_Mode, "Standalone_Mode", "Standalone", false, 10, 62);
    box(Manual_Vent_Adjust, "Manual_Vent_Adjust", "Manual Vent Adjust", true, 10, 88);
    box(Vent_Learn, "Vent_Learn", "Vent Learn", true, 10, 114);
    // "&&": the "&" is part of the text, not a mnemonic mark.
    box(Use_Boost, "Use_Boost", "Boost Table && Limit", true, 10, 140);
    field(Boost_Table_Limit, "Boost_Table_Limit", 180, 138);
    label("Boost Fuel Cut", 10, 168);
    field(Boost_Fuel_Cut, "Boost_Fuel_Cut", 180, 168);
    label("Tip in time", 10, 194);
    field(Tip_in_Duration, "Tip_in_Duration", 180, 194);
    label("Tip In %", 10, 220);
    field(Tip_In_Amount, "Tip_In_Amount", 180, 220);
}

void PMSenhanced::setVisible(bool visible) {
    if (visible) korv::place_for_first_show(*this, editor_, QPoint(50, 50));
    QWidget::setVisible(visible);
}

void PMSenhanced::display_enhanced(const pms::AdjustCells& cells, int program) {
    const auto side = [&](int table, int index) { return cells.at(0, program, table, pms::kSideRow, index); };
    const int flags = side(pms::kTiming, pms::kFlags);
    Use_NOS->setChecked((flags & pms::kNosInUse) != 0);
    Use_Launch_Rpms->setChecked((flags & pms::kNosInUse) == 0);
    Use_Boost->setChecked((flags & pms::kBoostInUse) != 0);
    Boost_Table_Limit->setText(QString::number(side(pms::kFuel, pms::kBoostLimit)));
    Boost_Fuel_Cut->setText(QString::number(side(pms::kFuel, pms::kBoostFuelCut)));
    Tip_in_Duration->setText(QString::number(side(pms::kFuel, pms::kTipInDuration)));
    Tip_In_Amount->setText(QString::number(side(pms::kFuel, pms::kTipInAmount)));
}
