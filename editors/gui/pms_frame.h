#pragma once
// The PMS editor: the fuel and ignition tables of the unit's three
// programs, opened from and saved to a settings image, downloaded from the
// unit, and animated by the log player.
#include "common/gui/error_reporter.h"
#include "editors/core/pms_settings_file.h"
#include "editors/gui/editor_fields.h"
#include "editors/gui/editor_services.h"
#include "player/plugin/editor_plugin.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class PMSdialog;
class PMSenhanced;

class PMSframe : public QWidget, public korv::player::PmsEditor {
    Q_OBJECT
public:
    static constexpr int kGridRows = 17;
    static constexpr int kGridColumns = 14;

    explicit PMSframe(korv::editors::EditorServices services = {});
    ~PMSframe() override;

    // PmsEditor
    QWidget* window() override { return this; }
    QString config_file() const override { return pms_config_file; }
    QString config_dir() const override { return pms_config_dir; }
    void set_config(const QString& file, const QString& dir) override;
    void recall_data() override;
    void display_pgm() override;
    void reset_sim() override;
    void set_adjust_pcnt(int percent) override { adjust_pcnt = percent; }
    void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc) override;
    int total_adjust() const override { return total_adjust_; }
    korv::player::PmsChoices radio_buttons() const override;
    void set_radio_buttons(const korv::player::PmsChoices& buttons) override;

    // The enhanced window goes and comes back with the editor.
    void setVisible(bool visible) override;

    korv::editors::pms::AdjustCells& adjust_cells() { return settings_.cells(); }
    int selected_program() const;
    int selected_table() const;
    korv::ErrorReporter& error_reporter() { return error_; }
    PMSenhanced* pms_enhanced() const { return pms_enhanced_.get(); }
    PMSdialog* pms_dialog() const { return pms_dialog_.get(); }
    const korv::editors::EditorServices& services() const { return services_; }

    // display_cells[0][0] is null.
    std::array<std::array<QLineEdit*, kGridColumns>, kGridRows> display_cells{};
    QRadioButton* PMS_program_1 = nullptr;
    QRadioButton* PMS_program_2 = nullptr;
    QRadioButton* PMS_program_3 = nullptr;
    QRadioButton* PMS_fuel = nullptr;
    QRadioButton* PMS_timing = nullptr;
    QPushButton* load_from_pms = nullptr;
    QPushButton* open_pms_config_button = nullptr;
    QPushButton* save_to_pms = nullptr;
    QPushButton* PMS_enhanced = nullptr;
    QPushButton* update_button = nullptr;
    QCheckBox* lock_boost = nullptr;
    QCheckBox* lock_nos = nullptr;
    QCheckBox* lock_wot = nullptr;
    QTextEdit* info_text = nullptr;

    QString pms_config_file;
    QString pms_config_dir;
    int adjust_pcnt = korv::editors::pms::kNoAdjustment;

public slots:
    void load_from_pms_actionPerformed();
    void open_pms_config_button_actionPerformed();
    void save_to_pms_actionPerformed();
    void PMS_enhanced_actionPerformed();
    void lock_mouseClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_grid();
    void show_cell(int row, int column);
    void paint_cell(int row, int column, const QColor& background);
    void validate_cell(int row, int column);
    std::string current_path() const;
    void take_path(const korv::editors::NameAndFolder& parts);

    korv::editors::EditorServices services_;
    std::unique_ptr<korv::platform::FileChooser> own_chooser_;
    korv::editors::pms::PmsSettings settings_;
    korv::ErrorReporter error_;
    std::unique_ptr<PMSenhanced> pms_enhanced_;
    std::unique_ptr<PMSdialog> pms_dialog_;
    int total_adjust_ = 0;
    bool enhanced_was_shown_ = false;               // when the editor was last hidden
    std::vector<std::pair<int, int>> highlighted_;  // grid row, column
};
