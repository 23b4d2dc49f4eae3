#pragma once
// The pages of the DRB II sheet: identification, fault codes, six pages of
// live values and the actuator tests. Each page refreshes from the sample
// hub every 250 ms while it is the current page and the link is up.
#include "boxlogger/core/drb_pages.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace korv::boxlogger {

class CEngineSheet;
class CVariable;
class CVariableList;

class CDRBPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerId = 2;
    static constexpr int kRefreshMs = 250;

    CDRBPage(CEngineSheet& sheet, int dialog, const QString& caption);
    // Gives back the descriptors the page took on its list.
    ~CDRBPage() override;

    // Stores the list; pages take their descriptors on it.
    virtual void AttachList(CVariableList& list);
    // Writes the current values into the controls.
    virtual void Refresh() {}
    // The page becomes current: the refresh timer starts.
    virtual void OnSetActive();
    // The page stops being current: the timer stops first.
    virtual void OnKillActive();
    // One tick of the refresh timer.
    void OnTimer();

    const QString& caption() const { return caption_; }
    int dialog() const { return dialog_; }
    bool timer_running() const { return timer_.isActive(); }

protected:
    // The list's descriptor for the id, given back with the page.
    CVariable* acquire(int channel_id);
    bool link_up() const;

    CEngineSheet& sheet_;
    CVariableList* list_ = nullptr;

private:
    std::vector<CVariable*> acquired_;
    QTimer timer_;
    int dialog_;
    QString caption_;
};

// "ECU Info": the module and ECU ids, the engine, the software version.
class CModInfoTab : public CDRBPage {
    Q_OBJECT
public:
    explicit CModInfoTab(CEngineSheet& sheet);
    void AttachList(CVariableList& list) override;
    void Refresh() override;

private:
    CVariable* ecu_id_ = nullptr;
    CVariable* module_id_ = nullptr;
    CVariable* version_ = nullptr;
    QLabel* id_text_;
    QLabel* engine_text_;
    QLabel* version_text_;
    QLabel* modified_text_;
};

// "ECU Errors": one line per stored fault code, and clearing them.
class CErrorTab : public CDRBPage {
    Q_OBJECT
public:
    explicit CErrorTab(CEngineSheet& sheet);
    void AttachList(CVariableList& list) override;
    void Refresh() override;
    void OnClearErrors();

private:
    CVariable* faults_ = nullptr;
    CVariable* version_ = nullptr;
    QListWidget* list_box_;
    QPushButton* clear_;
};

// A page of live values, one row per channel id, with the shared switch
// between values and sensor voltages.
class CDRBGenIOTab : public CDRBPage {
    Q_OBJECT
public:
    CDRBGenIOTab(CEngineSheet& sheet, int dialog, const QString& caption);

    // Creates one row per id (at most twelve) of a list ended by 59.
    virtual void SetFields(const int* ids);
    void AttachList(CVariableList& list) override;
    void Refresh() override;
    void OnSetActive() override;
    void OnToggleVoltages();

    // Program-wide: every general I/O page shows voltages or values alike.
    static void SetShowSensorVoltages(bool on);

    int row_count() const { return static_cast<int>(rows_.size()); }
    QPushButton* toggle() const { return toggle_; }

protected:
    struct Row {
        int channel_id = 0;
        CVariable* variable = nullptr;
        QLabel* label = nullptr;
        QLabel* value = nullptr;
    };
    // Rows start at this grid row; the ones above are for headings.
    static constexpr int kFirstGridRow = 1;
    // The empty column right of the label, value and new-value columns.
    static constexpr int kSpareColumn = 3;

    void update_toggle_text();

    std::vector<Row> rows_;
    QGridLayout* grid_;
    QVBoxLayout* layout_;
    QPushButton* toggle_;
};

// "Actuators": injector cut-outs and solenoid tests, each a command the ECU
// runs for a few seconds.
class CDRBActuatorsTab : public CDRBPage {
    Q_OBJECT
public:
    explicit CDRBActuatorsTab(CEngineSheet& sheet);
    void OnSetActive() override;
    void OnKillActive() override;
    void OnActuator(const ActuatorSpec& actuator);

    QPushButton* button(int id) const;

private:
    std::vector<QPushButton*> buttons_;
    // Counts activations and deactivations, so an answer that comes after
    // the page was left is dropped.
    int activation_ = 0;
};

}  // namespace korv::boxlogger
