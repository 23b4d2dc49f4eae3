#pragma once
// "Korvane Player", Korvview's start window. Building it restores the
// windows kvt.cfg remembers; closing it records them and ends the program.
#include "common/gui/error_reporter.h"
#include "player/core/kvt_config.h"
#include "player/gui/controller_editors.h"
#include "player/gui/playback_hooks.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class PLAYframe;
class QPushButton;
class control_dialog;

class Korvane : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 291;
    static constexpr int content_height = 86;
    static constexpr const char* config_file_name = "kvt.cfg";

    // Builds the window hidden and restores from kvt.cfg in the working folder.
    explicit Korvane(korv::player::PlayerServices services);
    ~Korvane() override;

    void apply_cfg();
    void record_cfg();
    void error_rtn(const QString& message) { error_.error_rtn(message); }
    korv::ErrorReporter& error_reporter() { return error_; }

    korv::player::EditorRefs editors;  // afc_frame, afc2_frame, itc_frame, pms_frame
    PLAYframe* play_diag = nullptr;
    control_dialog* control_diag = nullptr;
    QString afc1_config_file, afc1_config_dir;
    QString afc2_config_file, afc2_config_dir;
    QString itc_config_file, itc_config_dir;
    QString pms_config_file, pms_config_dir;

    QPushButton* controls_button = nullptr;
    QPushButton* player_button = nullptr;
    QPushButton* record_button = nullptr;

public slots:
    void controlsButton_actionPerformed();
    void playerButton_mouseClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restore_chooser(const korv::player::kvt::ChooserSlot& slot);
    void restore_editors(const korv::player::kvt::KvtConfig& config, std::int64_t slot);
    void restore_player(const korv::player::kvt::PlayerSlot& slot);
    korv::player::kvt::KvtConfig current_config();
    void make_player();
    void make_chooser();

    korv::player::PlayerServices services_;
    korv::ErrorReporter error_;
    std::unique_ptr<PLAYframe> player_;
    // Slots of editors this program could not build: written back unchanged.
    std::optional<korv::player::kvt::EditorSlot> kept_knob_afc_, kept_vcd_afc_, kept_itc_;
    std::optional<korv::player::kvt::PmsSlot> kept_pms_;
};
