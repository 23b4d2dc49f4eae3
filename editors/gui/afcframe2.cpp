#include "editors/gui/afcframe2.h"

#include "editors/core/field_rules.h"
#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"
#include "editors/gui/editor_fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <variant>

namespace korv::editors {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

QLabel* text_label(QWidget* parent, const QString& text, QRect where, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setGeometry(where);
    return l;
}

int& set_point_setting(VcdSettings& s, int line, int k) { return s.adjust_cells[line][k]; }
int& low_tps_setting(VcdSettings& s, int, int) { return s.low_tps; }
int& hi_tps_setting(VcdSettings& s, int, int) { return s.hi_tps; }

constexpr int kFieldX = 134;
constexpr int kFieldStep = 64;

}  // namespace

AFCframe2::AFCframe2(platform::FileChooser& chooser) : chooser_(chooser) {
    setObjectName("AFCframe2");
    setWindowTitle(QStringLiteral("Second generation AFC settings"));
    setFixedSize(content_width, content_height);
    paint_window_grey(*this);
    use_window_style(*this);
    use_readable_selection(*this);

    info_text = new QPlainTextEdit(this);
    info_text->setReadOnly(true);
    info_text->setPlainText(QStringLiteral("This panel is used to enter your 2nd generation AFC settings"));
    info_text->setGeometry(10, 8, 700, 28);
    info_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    info_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    info_text->setFocusPolicy(Qt::NoFocus);
    QPalette pane = info_text->palette();
    pane.setColor(QPalette::Base, window_grey());
    info_text->setPalette(pane);

    text_label(this, QStringLiteral("Set points"), QRect(10, 44, 110, 20));
    text_label(this, QStringLiteral("Rpms"), QRect(10, 70, 110, 24));
    text_label(this, QStringLiteral("Adjust"), QRect(10, 98, 44, 52));
    text_label(this, QStringLiteral("Lo-throttle%"), QRect(54, 98, 76, 24));
    text_label(this, QStringLiteral("Hi-throttle%"), QRect(54, 126, 76, 24));

    static const char* const kNames[3] = {"rpm_%1", "low_adjust_%1", "hi_adjust_%1"};
    for (int k = 0; k < kSetPoints; ++k) {
        const int x = kFieldX + kFieldStep * k;
        text_label(this, QString::number(k + 1), QRect(x, 44, 56, 20), Qt::AlignHCenter);
        for (int line = 0; line < 3; ++line) {
            auto* field = new QLineEdit(this);
            field->setObjectName(QString::fromLatin1(kNames[line]).arg(k + 1));
            field->setAlignment(Qt::AlignCenter);
            field->setGeometry(x, 70 + 28 * line, 56, 24);
            set_point_fields[line][k] = field;
            focus_watchers_.push_back(on_focus_out(*field, [this, field, line, k] {
                field_left(field, set_point_setting, line, k, kVcdSetPointFields[line]);
            }));
        }
    }
    low_tps_point = new QLineEdit(this);
    low_tps_point->setObjectName("low_tps_point");
    hi_tps_point = new QLineEdit(this);
    hi_tps_point->setObjectName("hi_tps_point");
    const int tps_x = kFieldX + kFieldStep * kSetPoints + 10;
    low_tps_point->setGeometry(tps_x, 98, 50, 24);
    hi_tps_point->setGeometry(tps_x, 126, 50, 24);
    for (QLineEdit* f : {low_tps_point, hi_tps_point}) f->setAlignment(Qt::AlignCenter);
    focus_watchers_.push_back(
        on_focus_out(*low_tps_point, [this] { field_left(low_tps_point, low_tps_setting, 0, 0, kVcdThrottleField); }));
    focus_watchers_.push_back(
        on_focus_out(*hi_tps_point, [this] { field_left(hi_tps_point, hi_tps_setting, 0, 0, kVcdThrottleField); }));

    // The map: rpm above the columns, throttle beside the rows.
    text_label(this, QStringLiteral("Interpolation Map"), QRect(10, 160, 200, 20));
    constexpr int map_x = 48, map_y = 206, cell_w = 38, cell_h = 26;
    for (int c = 0; c < kVcdColumns; ++c)
        text_label(this, QString::number(500 * c), QRect(map_x + cell_w * c, 184, cell_w, 20), Qt::AlignHCenter);
    for (int r = 0; r < kVcdRows; ++r) {
        QLabel* row = text_label(this, QString::number(10 * r) + "%", QRect(6, map_y + cell_h * r, 40, cell_h - 2),
                                 Qt::AlignHCenter);
        row->setAutoFillBackground(true);
        QPalette p = row->palette();
        p.setColor(QPalette::Window, kGreen);
        p.setColor(QPalette::WindowText, Qt::black);
        row->setPalette(p);
        for (int c = 0; c < kVcdColumns; ++c) {
            auto* cell = new QLineEdit(this);
            cell->setReadOnly(true);
            cell->setFocusPolicy(Qt::NoFocus);
            cell->setAlignment(Qt::AlignCenter);
            cell->setGeometry(map_x + cell_w * c, map_y + cell_h * r, cell_w - 1, cell_h - 2);
            paint_field(*cell, kBlue);
            display_cells[r][c] = cell;
        }
    }

    auto button = [this](const QString& text, const QString& tip, int x) {
        auto* b = new QPushButton(text, this);
        b->setToolTip(tip);
        b->setGeometry(x, 510, 100, 30);
        return b;
    };
    ok_button = button("Ok", "Apply and save settings, close the window", 90);
    cancel_button = button("Cancel", "Ignore changes and close the window", 230);
    recall_button = button("Recall", "Recall settings from configuration file", 370);
    remap_button = button("Re-map", "Apply and save settings, close the window", 510);
    connect(ok_button, &QPushButton::clicked, this, &AFCframe2::save_cfg);
    connect(recall_button, &QPushButton::clicked, this, &AFCframe2::get_cfg);
    connect(remap_button, &QPushButton::clicked, this, &AFCframe2::interpolate_data);

    interpolate_data();
}

AFCframe2::~AFCframe2() { qDeleteAll(focus_watchers_); }

void AFCframe2::set_config(const QString& file, const QString& dir) {
    afc2_config_file = file;
    afc2_config_dir = dir;
}

void AFCframe2::field_left(QLineEdit* field, int& (*setting)(VcdSettings&, int, int), int line, int k,
                           const FieldRule& rule) {
    int& value = setting(settings_, line, k);
    if (field->text() == QString::number(value)) return;  // passed through, not edited
    const FieldCheck check = check_field(field->text().toStdString(), rule);
    if (check.value) {
        // Typed: the value the person set, whatever the simulator did before.
        value = setting(unsimulated_, line, k) = *check.value;
    } else {
        errors_.error_rtn(field_message(check.refusal));
    }
    field->setText(QString::number(value));
}

void AFCframe2::interpolate_data() {
    for (int line = 0; line < 3; ++line) {
        for (int k = 0; k < kSetPoints; ++k)
            set_point_fields[line][k]->setText(QString::number(settings_.adjust_cells[line][k]));
    }
    low_tps_point->setText(QString::number(settings_.low_tps));
    hi_tps_point->setText(QString::number(settings_.hi_tps));
    shown_ = interpolate(settings_);
    for (int r = 0; r < kVcdRows; ++r) {
        for (int c = 0; c < kVcdColumns; ++c) display_cells[r][c]->setText(QString::number(shown_[r][c]));
    }
}

void AFCframe2::report_io(const std::string& reason) {
    errors_.error_rtn(QStringLiteral("Unable to open file: ") + QString::fromStdString(reason));
}

void AFCframe2::drop_simulated_moves() {
    settings_ = unsimulated_;
    interpolate_data();
    clear_sims();
}

void AFCframe2::recall_cfg1() {
    // The simulator's moves go first, whatever the file turns out to be:
    // the player's Reset replays the log on the map without them, and Ok
    // would save them otherwise.
    drop_simulated_moves();
    if (afc2_config_file.isEmpty()) return;
    const FileRead read =
        read_controller_file((afc2_config_dir + afc2_config_file).toStdString(), ControllerTag::vcd_afc, kVcdFileBytes);
    if (std::holds_alternative<WrongTag>(read)) {
        errors_.error_rtn(QStringLiteral("Not a valid 2nd generation AFC configuration file"));
        return;
    }
    if (const auto* failed = std::get_if<ReadFailed>(&read)) {
        report_io(failed->reason);
        return;
    }
    const auto* file = std::get_if<FileBytes>(&read);
    if (!file) return;  // missing: nothing to recall
    settings_ = unsimulated_ = decode_vcd_file(file->bytes);
    setWindowTitle(QStringLiteral("AFC settings file: ") + afc2_config_dir + afc2_config_file);
    interpolate_data();
    clear_sims();
}

void AFCframe2::get_cfg() {
    const auto chosen =
        choose_settings_file(chooser_, platform::FileChooserMode::Open, "Open", afc2_config_dir, afc2_config_file);
    if (!chosen) return;  // the current file stays, as kvt.cfg records it
    set_config(chosen->parts.file, chosen->parts.dir);
    recall_cfg1();
}

void AFCframe2::save_cfg() {
    const auto chosen =
        choose_settings_file(chooser_, platform::FileChooserMode::Save, "Save", afc2_config_dir, afc2_config_file);
    if (!chosen) return;
    set_config(chosen->parts.file, chosen->parts.dir);
    // What is saved, the simulator's moves included, is what the person set.
    unsimulated_ = settings_;
    if (auto failure = write_controller_file(chosen->path, encode_vcd_file(settings_))) report_io(*failure);
    clear_sims();
}

void AFCframe2::clear_sims() { sim_base = shown_; }

void AFCframe2::light(std::optional<VcdCell> cell) {
    if (lit_) paint_field(*display_cells[lit_->row][lit_->column], kBlue);
    lit_ = cell;
    if (cell) paint_field(*display_cells[cell->row][cell->column], kRed);
}

void AFCframe2::animate_cells(int rpm, int tps) {
    const auto cell = vcd_cell(rpm, tps);
    light(cell);
    if (!cell) {
        percentage_ = delta_ = 0;
        return;
    }
    const std::int64_t base = sim_base[cell->row][cell->column];
    percentage_ = to_int(base);
    delta_ = to_int(shown_[cell->row][cell->column] - base);
}

void AFCframe2::control_simulator(int rpm, int adjustment, int step, int tps) {
    const auto cell = vcd_cell(rpm, tps);
    if (adjustment == 0 || !cell) return;
    // Toward the cell's base plus the adjustment, so showing a record again
    // does not add its correction twice.
    vcd_control(settings_, rpm, tps, sim_base[cell->row][cell->column] + adjustment, step);
    interpolate_data();
}

}  // namespace korv::editors
