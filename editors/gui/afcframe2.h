#pragma once
// AFCframe2: the second-generation (VCD) AFC editor, whose correction
// depends on rpm and throttle.
#include "common/gui/error_reporter.h"
#include "editors/core/vcd_map.h"
#include "platform/core/file_chooser.h"
#include "player/plugin/editor_plugin.h"

#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korv::editors {

struct FieldRule;

class AFCframe2 final : public QWidget, public player::VcdAfcEditor {
    Q_OBJECT
public:
    static constexpr int content_width = 720;
    static constexpr int content_height = 560;

    explicit AFCframe2(platform::FileChooser& chooser);
    ~AFCframe2() override;

    QWidget* window() override { return this; }
    QString config_file() const override { return afc2_config_file; }
    QString config_dir() const override { return afc2_config_dir; }
    void set_config(const QString& file, const QString& dir) override;
    void recall_cfg1() override;
    void animate_cells(int rpm, int tps) override;
    int adjustPercentage() const override { return percentage_; }
    int adjustDelta() const override { return delta_; }
    void control_simulator(int rpm, int adjustment, int step, int tps) override;

    // [line][set point]: rpm_1.., low_adjust_1.., hi_adjust_1..
    std::array<std::array<QLineEdit*, kSetPoints>, 3> set_point_fields{};
    QLineEdit* low_tps_point = nullptr;
    QLineEdit* hi_tps_point = nullptr;
    std::array<std::array<QLineEdit*, kVcdColumns>, kVcdRows> display_cells{};
    QPlainTextEdit* info_text = nullptr;
    QPushButton* ok_button = nullptr;
    QPushButton* cancel_button = nullptr;
    QPushButton* recall_button = nullptr;
    QPushButton* remap_button = nullptr;

    ErrorReporter& error_reporter() { return errors_; }
    const VcdSettings& settings() const { return settings_; }
    std::optional<VcdCell> highlighted_cell() const { return lit_; }

public slots:
    void interpolate_data();
    void get_cfg();
    void save_cfg();
    void clear_sims();

private:
    // `setting` picks the field's value out of a set of settings.
    void field_left(QLineEdit* field, int& (*setting)(VcdSettings&, int, int), int line, int k, const FieldRule& rule);
    // Back to the settings as loaded, saved or typed, without the moves the
    // fuel simulator made since.
    void drop_simulated_moves();
    void light(std::optional<VcdCell> cell);
    void report_io(const std::string& reason);

    QString afc2_config_file, afc2_config_dir;
    platform::FileChooser& chooser_;
    ErrorReporter errors_;
    VcdSettings settings_;     // what the map shows, the simulator's moves included
    VcdSettings unsimulated_;  // as loaded, saved or typed
    VcdMap shown_{};
    VcdMap sim_base{};
    std::optional<VcdCell> lit_;
    int percentage_ = 0;
    int delta_ = 0;
    std::vector<QObject*> focus_watchers_;
};

}  // namespace korv::editors
