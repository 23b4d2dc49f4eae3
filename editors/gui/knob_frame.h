#pragma once
// The knob-style editors: AFCframe1 for the first-generation AFC (fuel) and
// ITCframe1 for the ITC (timing). One window design; the AFC adds the fuel
// simulator's offsets.
#include "common/gui/error_reporter.h"
#include "editors/core/knob_map.h"
#include "platform/core/file_chooser.h"
#include "player/plugin/editor_plugin.h"

#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korv::editors {

class KnobFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 630;
    static constexpr int content_height = 250;

    std::array<QLineEdit*, kKnobs> Value{};     // Value_1 .. Value_5
    std::array<QLineEdit*, kKnobCells> Cell{};  // Cell_1 .. Cell_16
    QPlainTextEdit* info_text = nullptr;
    QPlainTextEdit* map_text = nullptr;
    QPushButton* Ok_Button = nullptr;
    QPushButton* Cancel_Button = nullptr;
    QPushButton* Recall_Button = nullptr;

    ErrorReporter& error_reporter() { return errors_; }
    const KnobSimulation& model() const { return sim_; }
    // The lit map cell (0-15) and the marked knob (0-4), if any.
    std::optional<int> highlighted_cell() const { return lit_cell_; }
    std::optional<int> marked_knob() const { return marked_knob_; }

public slots:
    void display_settings();
    void recall_cfg();
    void save_settings();  // Ok

protected:
    KnobFrame(ControllerTag tag, platform::FileChooser& chooser);
    ~KnobFrame() override;

    void load_file();  // recall_cfg1
    void animate(int rpm);
    void simulate(int rpm, int adjustment, int step);
    void clear_sims();

    QString file_, dir_;
    int percentage_ = 0;
    int delta_ = 0;

private:
    bool is_afc() const { return tag_ == ControllerTag::knob_afc; }
    QString word() const { return is_afc() ? QStringLiteral("AFC") : QStringLiteral("ITC"); }
    void knob_left(int i);
    void light_cell(std::optional<int> cell);
    void mark_knob(std::optional<int> knob);
    void report_io(const std::string& reason);

    ControllerTag tag_;
    platform::FileChooser& chooser_;
    ErrorReporter errors_;
    KnobSimulation sim_;
    std::optional<int> lit_cell_;
    std::optional<int> marked_knob_;
    std::vector<QObject*> focus_watchers_;
};

class AFCframe1 final : public KnobFrame, public player::KnobAfcEditor {
    Q_OBJECT
public:
    explicit AFCframe1(platform::FileChooser& chooser);

    QWidget* window() override { return this; }
    QString config_file() const override { return file_; }
    QString config_dir() const override { return dir_; }
    void set_config(const QString& file, const QString& dir) override;
    void recall_cfg1() override { load_file(); }
    void recall_cfg() override { KnobFrame::recall_cfg(); }
    void animate_cells(int rpm) override { animate(rpm); }
    int adjustPercentage() const override { return percentage_; }
    int adjustDelta() const override { return delta_; }
    void control_simulator(int rpm, int adjustment, int step) override { simulate(rpm, adjustment, step); }
    void clear_sims() { KnobFrame::clear_sims(); }
};

class ITCframe1 final : public KnobFrame, public player::ItcEditor {
    Q_OBJECT
public:
    explicit ITCframe1(platform::FileChooser& chooser);

    QWidget* window() override { return this; }
    QString config_file() const override { return file_; }
    QString config_dir() const override { return dir_; }
    void set_config(const QString& file, const QString& dir) override;
    void recall_cfg1() override { load_file(); }
    void animate_cells(int rpm) override { animate(rpm); }
    int adjustPercentage() const override { return percentage_; }
};

}  // namespace korv::editors
