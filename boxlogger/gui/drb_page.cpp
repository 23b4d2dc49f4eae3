#include "boxlogger/gui/drb_page.h"

#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/variable.h"
#include "boxlogger/core/variable_list.h"
#include "boxlogger/gui/engine_sheet.h"
#include "common/gui/window_style.h"
#include "platform/gui/windows1252_text.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <string>

namespace korv::boxlogger {
namespace {

QString text_of(std::string_view windows1252) { return platform::qstring_from_windows1252(windows1252); }

// A read-only value field. The styled panel draws all four sides on the
// page's light ground, where a plain sunken panel's light right and bottom
// edges vanish and the field looks cut off.
QLabel* value_label(QWidget* parent, int id) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::number(id));
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setMinimumWidth(160);
    return label;
}

bool show_voltages = false;

// Room a push button keeps around its text.
constexpr int kButtonPadding = 24;

}  // namespace

CDRBPage::CDRBPage(CEngineSheet& sheet, int dialog, const QString& caption)
    : sheet_(sheet), dialog_(dialog), caption_(caption) {
    setObjectName(QString::number(dialog));
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &CDRBPage::OnTimer);
}

CDRBPage::~CDRBPage() {
    if (list_ == nullptr) return;
    for (CVariable* variable : acquired_) list_->Release(variable);
}

void CDRBPage::AttachList(CVariableList& list) { list_ = &list; }

CVariable* CDRBPage::acquire(int channel_id) {
    CVariable* variable = list_ ? list_->Acquire(channel_id) : nullptr;
    if (variable) acquired_.push_back(variable);
    return variable;
}

bool CDRBPage::link_up() const { return sheet_.engine().link_up() != 0; }

void CDRBPage::OnSetActive() { timer_.start(); }

void CDRBPage::OnKillActive() { timer_.stop(); }

void CDRBPage::OnTimer() {
    if (link_up()) Refresh();
}

// ECU Info

CModInfoTab::CModInfoTab(CEngineSheet& sheet) : CDRBPage(sheet, 131, "ECU Info") {
    auto* form = new QFormLayout(this);
    // The sheet is as wide as its nine tabs; fields keep their own width.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    id_text_ = value_label(this, 1014);
    engine_text_ = value_label(this, 1015);
    version_text_ = value_label(this, 1016);
    modified_text_ = new QLabel(this);
    modified_text_->setObjectName("1017");
    form->addRow("ECU ID", id_text_);
    form->addRow("Engine", engine_text_);
    form->addRow("Version", version_text_);
    form->addRow(modified_text_);
}

void CModInfoTab::AttachList(CVariableList& list) {
    CDRBPage::AttachList(list);
    ecu_id_ = acquire(kEcuIdChannel);
    module_id_ = acquire(kModuleIdChannel);
    version_ = acquire(kSoftwareVersionChannel);
}

void CModInfoTab::Refresh() {
    if (!ecu_id_ || !module_id_ || !version_) return;
    const int module = module_id_->Raw();
    id_text_->setText(QString::fromLatin1(ModuleIdText(module, ecu_id_->Raw())));
    engine_text_->setText(text_of(ecu_id_->Text()));
    version_text_->setText(text_of(version_->Text()));
    modified_text_->setText(module == kVxmModuleId ? drb_text::kVxmModified : "");
}

// ECU Errors

CErrorTab::CErrorTab(CEngineSheet& sheet) : CDRBPage(sheet, 106, "ECU Errors") {
    auto* layout = new QVBoxLayout(this);
    list_box_ = new QListWidget(this);
    list_box_->setObjectName("1011");
    layout->addWidget(list_box_);
    clear_ = new QPushButton(drb_text::kClearErrors, this);
    clear_->setObjectName("1012");
    layout->addWidget(clear_, 0, Qt::AlignLeft);
    connect(clear_, &QPushButton::clicked, this, &CErrorTab::OnClearErrors);
}

void CErrorTab::AttachList(CVariableList& list) {
    CDRBPage::AttachList(list);
    faults_ = acquire(kFaultCodesChannel);
    version_ = acquire(kSoftwareVersionChannel);
}

void CErrorTab::Refresh() {
    if (!faults_) return;
    list_box_->clear();
    for (const std::string& line : FaultLines(faults_->Text())) list_box_->addItem(text_of(line));
}

void CErrorTab::OnClearErrors() {
    if (sheet_.busy()) return;
    if (!link_up()) {
        sheet_.Message(drb_text::kLinkDown);
        return;
    }
    const auto* version = dynamic_cast<const CSoftwareVersionVariable*>(version_);
    if (version && version->ModelYear() == 1990) sheet_.Message(drb_text::kManualReset1990);
    CLinkEngine& engine = sheet_.engine();
    sheet_.RunCommand(
        drb_text::kClearingNotice, [&engine] { return engine.ReadCode(kClearCodesCommand); },
        [this](int done) {
            if (done == 0) sheet_.Message(drb_text::kClearFailed);
        });
}

// General I/O

CDRBGenIOTab::CDRBGenIOTab(CEngineSheet& sheet, int dialog, const QString& caption) : CDRBPage(sheet, dialog, caption) {
    layout_ = new QVBoxLayout(this);
    grid_ = new QGridLayout;
    // Spare width goes right of the rows, not into the value fields.
    grid_->setColumnStretch(kSpareColumn, 1);
    layout_->addLayout(grid_);
    layout_->addStretch(1);
    toggle_ = new QPushButton(drb_text::kViewVoltages, this);
    toggle_->setObjectName(QString::number(kVoltageToggleId));
    layout_->addWidget(toggle_, 0, Qt::AlignLeft);
    connect(toggle_, &QPushButton::clicked, this, &CDRBGenIOTab::OnToggleVoltages);
}

void CDRBGenIOTab::SetShowSensorVoltages(bool on) { show_voltages = on; }

void CDRBGenIOTab::SetFields(const int* ids) {
    for (int id : IdsOf(ids, kMaxGeneralIoRows)) {
        const int i = static_cast<int>(rows_.size());
        Row row;
        row.channel_id = id;
        row.label = new QLabel(this);
        row.label->setObjectName(QString::number(kRowLabelId + i));
        row.value = value_label(this, kRowValueId + i);
        grid_->addWidget(row.label, kFirstGridRow + i, 0);
        grid_->addWidget(row.value, kFirstGridRow + i, 1);
        rows_.push_back(row);
    }
}

void CDRBGenIOTab::AttachList(CVariableList& list) {
    CDRBPage::AttachList(list);
    for (Row& row : rows_) {
        row.variable = acquire(row.channel_id);
        if (row.variable) row.label->setText(text_of(row.variable->attributes().label));
    }
}

void CDRBGenIOTab::Refresh() {
    for (Row& row : rows_) {
        if (!row.variable) continue;
        row.value->setText(text_of(show_voltages ? row.variable->SensorText() : row.variable->Text()));
    }
}

void CDRBGenIOTab::update_toggle_text() {
    toggle_->setText(show_voltages ? drb_text::kViewValues : drb_text::kViewVoltages);
}

void CDRBGenIOTab::OnSetActive() {
    update_toggle_text();
    CDRBPage::OnSetActive();
}

void CDRBGenIOTab::OnToggleVoltages() {
    show_voltages = !show_voltages;
    update_toggle_text();
    if (link_up()) Refresh();
}

// Actuators

CDRBActuatorsTab::CDRBActuatorsTab(CEngineSheet& sheet) : CDRBPage(sheet, 133, "Actuators") {
    auto* layout = new QVBoxLayout(this);
    auto* injectors = new QGroupBox("Injectors", this);
    auto* solenoids = new QGroupBox("Solenoids", this);
    auto* injector_grid = new QGridLayout(injectors);
    auto* solenoid_grid = new QGridLayout(solenoids);
    int injector_count = 0;
    int solenoid_count = 0;
    for (const ActuatorSpec& actuator : Actuators()) {
        QGroupBox* group = actuator.injector ? injectors : solenoids;
        auto* button = new QPushButton(actuator.text, group);
        button->setObjectName(QString::number(actuator.button));
        int& n = actuator.injector ? injector_count : solenoid_count;
        (actuator.injector ? injector_grid : solenoid_grid)->addWidget(button, n / 2, n % 2);
        ++n;
        connect(button, &QPushButton::clicked, this, [this, &actuator] { OnActuator(actuator); });
        buttons_.push_back(button);
    }
    // Buttons of one width in two columns, measured in the sheet's font
    // (the page takes it only once it is on the sheet); the groups keep to
    // that width on the wide sheet.
    const QFontMetrics metrics(window_font());
    int widest = 0;
    for (QPushButton* button : buttons_)
        widest = std::max(widest, metrics.horizontalAdvance(button->text()) + kButtonPadding);
    for (QPushButton* button : buttons_) button->setMinimumWidth(widest);
    layout->addWidget(injectors, 0, Qt::AlignLeft);
    layout->addWidget(solenoids, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

QPushButton* CDRBActuatorsTab::button(int id) const {
    const auto it = std::find_if(buttons_.begin(), buttons_.end(),
                                 [id](QPushButton* b) { return b->objectName() == QString::number(id); });
    return it == buttons_.end() ? nullptr : *it;
}

void CDRBActuatorsTab::OnSetActive() {
    // The ECU is asked on the worker; the timer starts once it has answered.
    const int activation = ++activation_;
    CLinkEngine& engine = sheet_.engine();
    const auto refused = sheet_.worker().run(
        [&engine]() -> std::optional<std::string> {
            CVariableList own(engine.port());
            CVariable* ecu_id = own.Acquire(kEcuIdChannel);
            if (!ecu_id) return std::nullopt;
            engine.PollObject(own);
            std::string text = ecu_id->Text();
            own.Release(ecu_id);
            return text;
        },
        [this, activation](const std::optional<std::string>& engine_text) {
            // Left meanwhile: the page stays as it was.
            if (activation != activation_) return;
            if (engine_text) {
                const bool four = HasFourCylinders(*engine_text);
                button(kDisable5Button)->setVisible(!four);
                button(kDisable6Button)->setVisible(!four);
            }
            CDRBPage::OnSetActive();
        });
    if (refused) {
        // The ECU was not asked: every button stays, and the page shows its
        // values all the same.
        sheet_.Message(*refused);
        CDRBPage::OnSetActive();
    }
}

void CDRBActuatorsTab::OnKillActive() {
    ++activation_;
    CDRBPage::OnKillActive();
}

void CDRBActuatorsTab::OnActuator(const ActuatorSpec& actuator) {
    if (sheet_.busy()) return;
    if (!link_up()) {
        sheet_.Message(drb_text::kLinkDown);
        return;
    }
    CLinkEngine& engine = sheet_.engine();
    const int id = actuator.channel_id;
    const char* refusal = actuator.refusal;
    sheet_.RunCommand(
        actuator.notice, [&engine, id] { return engine.ReadCode(id); },
        [this, refusal](int done) {
            if (done == 0) sheet_.Message(refusal);
        });
}

}  // namespace korv::boxlogger
