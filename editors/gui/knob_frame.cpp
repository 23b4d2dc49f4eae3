#include "editors/gui/knob_frame.h"

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

const QColor kLightGrey(211, 211, 211);
const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);

QPlainTextEdit* info_pane(QWidget* parent, const QString& text, QRect where) {
    auto* pane = new QPlainTextEdit(parent);
    pane->setReadOnly(true);
    pane->setPlainText(text);
    pane->setGeometry(where);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setFocusPolicy(Qt::NoFocus);
    QPalette p = pane->palette();
    p.setColor(QPalette::Base, window_grey());
    pane->setPalette(p);
    return pane;
}

QLabel* label(QWidget* parent, const QString& text, QRect where) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(where);
    return l;
}

const char* const kKnobTips[kKnobs] = {"Enter 800 rpm value +-30%", "Enter 2400 rpm value +-30%",
                                       "Enter 4000 rpm value +-30%", "Enter 5600 rpm value +-30%",
                                       "Enter 7200 rpm value +-30%"};

}  // namespace

KnobFrame::KnobFrame(ControllerTag tag, platform::FileChooser& chooser) : tag_(tag), chooser_(chooser) {
    setWindowTitle(QStringLiteral("First generation %1 settings").arg(word()));
    setFixedSize(content_width, content_height);
    paint_window_grey(*this);
    use_window_style(*this);
    use_readable_selection(*this);

    info_text =
        info_pane(this,
                  QStringLiteral(
                      "This panel is used to enter/display/save the adjustment settings of the Apexi %1 (5 knob style)")
                      .arg(word()),
                  QRect(10, 8, 610, 40));
    info_text->setObjectName("info_text");

    for (int i = 0; i < kKnobs; ++i) {
        const int x = 60 + 115 * i;
        label(this, QString::number(kKnobSetPoints[i]), QRect(x, 52, 60, 18));
        Value[i] = new QLineEdit(this);
        Value[i]->setObjectName(QStringLiteral("Value_%1").arg(i + 1));
        Value[i]->setToolTip(QString::fromLatin1(kKnobTips[i]));
        Value[i]->setAlignment(Qt::AlignCenter);
        Value[i]->setGeometry(x, 70, 60, 24);
        paint_field(*Value[i], kWhite);
        focus_watchers_.push_back(on_focus_out(*Value[i], [this, i] { knob_left(i); }));
    }
    for (int n = 0; n < kKnobCells; ++n) {
        const int x = 8 + 38 * n;
        label(this, QString::number(500 * (n + 1)), QRect(x - 2, 104, 40, 18));
        Cell[n] = new QLineEdit(this);
        Cell[n]->setObjectName(QStringLiteral("Cell_%1").arg(n + 1));
        Cell[n]->setEnabled(false);
        Cell[n]->setAlignment(Qt::AlignCenter);
        Cell[n]->setGeometry(x, 122, 36, 24);
        paint_field(*Cell[n], kLightGrey);
    }
    map_text = info_pane(this,
                         QStringLiteral("The two lines above show the interpolated adjustment map in 500 rpm "
                                        "increments.  Values are not rounded."),
                         QRect(10, 154, 610, 40));
    map_text->setObjectName("map_text");

    auto button = [this](const QString& text, const QString& tip, int x, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setGeometry(x, 208, 100, 28);
        return b;
    };
    Ok_Button = button("Ok", "Apply and save settings, close the window", 110, "Ok_Button");
    Cancel_Button = button("Cancel", "Ignore changes and close the window", 265, "Cancel_Button");
    Recall_Button = button("Recall", "Recall settings from configuration file", 420, "Recall_Button");
    connect(Ok_Button, &QPushButton::clicked, this, &KnobFrame::save_settings);
    connect(Recall_Button, &QPushButton::clicked, this, &KnobFrame::recall_cfg);

    display_settings();
}

KnobFrame::~KnobFrame() { qDeleteAll(focus_watchers_); }

void KnobFrame::display_settings() {
    const Knobs k = sim_.effective();
    for (int i = 0; i < kKnobs; ++i) Value[i]->setText(QString::number(k[i]));
    const KnobMap map = knob_map(k);
    for (int n = 0; n < kKnobCells; ++n) Cell[n]->setText(QString::number(map[n]));
}

void KnobFrame::knob_left(int i) {
    const QString shown = QString::number(sim_.effective()[i]);
    if (Value[i]->text() == shown) return;  // passed through, not edited
    const FieldCheck check = check_field(Value[i]->text().toStdString(), kKnobField);
    if (!check.value) {
        errors_.error_rtn(field_message(check.refusal));
        Value[i]->setText(shown);
        return;
    }
    sim_.adjust_value[i] = *check.value;
    sim_.sim_adjust[i] = 0;  // the typed value is what the knob shows
    display_settings();
}

void KnobFrame::report_io(const std::string& reason) {
    errors_.error_rtn(QStringLiteral("Unable to open file: ") + QString::fromStdString(reason));
}

void KnobFrame::load_file() {
    // The simulator's moves go first, whatever the file turns out to be:
    // the player's Reset relies on it, and Ok would save them otherwise.
    // No knob carries an offset now, so none stays marked.
    clear_sims();
    mark_knob(std::nullopt);
    display_settings();
    if (file_.isEmpty()) return;
    const FileRead read = read_controller_file((dir_ + file_).toStdString(), tag_, kKnobFileBytes);
    if (std::holds_alternative<WrongTag>(read)) {
        errors_.error_rtn(QStringLiteral("Invalid 1st gen %1 config file!").arg(word()));
        return;
    }
    if (const auto* failed = std::get_if<ReadFailed>(&read)) {
        report_io(failed->reason);
        return;
    }
    const auto* file = std::get_if<FileBytes>(&read);
    if (!file) return;  // missing: nothing to recall
    sim_.adjust_value = decode_knob_settings(file->bytes);
    sim_.rebase();
    display_settings();
    setWindowTitle(QStringLiteral("%1 settings file: ").arg(word()) + dir_ + file_);
}

void KnobFrame::recall_cfg() {
    const auto chosen = choose_settings_file(chooser_, platform::FileChooserMode::Open, "Open", dir_, file_);
    if (!chosen) return;  // the current file stays, as kvt.cfg records it
    file_ = chosen->parts.file;
    dir_ = chosen->parts.dir;
    load_file();
}

void KnobFrame::save_settings() {
    const QString suggested = file_.isEmpty() ? QString(is_afc() ? "afc.cfg" : "itc.cfg") : file_;
    const auto chosen =
        choose_settings_file(chooser_, platform::FileChooserMode::Save,
                             QStringLiteral("Save %1 settings").arg(word()).toStdString(), dir_, suggested);
    if (!chosen) return;
    // The shown knobs, simulated offsets included, become the settings, and
    // the saved map the base the outputs are measured from.
    sim_.adjust_value = sim_.effective();
    sim_.rebase();
    mark_knob(std::nullopt);
    display_settings();
    file_ = chosen->parts.file;
    dir_ = chosen->parts.dir;
    if (auto failure = write_controller_file(chosen->path, encode_knob_file(tag_, sim_.adjust_value)))
        report_io(*failure);
}

void KnobFrame::clear_sims() {
    sim_.sim_adjust = {};
    sim_.sim_base = {};
}

void KnobFrame::light_cell(std::optional<int> cell) {
    if (lit_cell_) paint_field(*Cell[*lit_cell_], kLightGrey);
    lit_cell_ = cell;
    if (cell) paint_field(*Cell[*cell], kRed);
}

void KnobFrame::mark_knob(std::optional<int> knob) {
    if (marked_knob_) paint_field(*Value[*marked_knob_], kWhite);
    marked_knob_ = knob;
    if (knob) paint_field(*Value[*knob], kRed);
}

void KnobFrame::animate(int rpm) {
    const auto cell = knob_cell(rpm);
    light_cell(cell);
    if (!cell) {
        percentage_ = delta_ = 0;
        return;
    }
    const std::int64_t shown = sim_.map()[*cell];
    if (is_afc()) {
        percentage_ = to_int(sim_.sim_base[*cell]);
        delta_ = to_int(shown - sim_.sim_base[*cell]);
    } else {
        percentage_ = to_int(shown);
    }
}

void KnobFrame::simulate(int rpm, int adjustment, int step) {
    mark_knob(std::nullopt);
    if (!knob_cell(rpm)) return;
    const auto knob = sim_.control(rpm, adjustment, step);
    display_settings();
    mark_knob(knob);
}

AFCframe1::AFCframe1(platform::FileChooser& chooser) : KnobFrame(ControllerTag::knob_afc, chooser) {
    setObjectName("AFCframe1");
}

void AFCframe1::set_config(const QString& file, const QString& dir) {
    file_ = file;
    dir_ = dir;
}

ITCframe1::ITCframe1(platform::FileChooser& chooser) : KnobFrame(ControllerTag::knob_itc, chooser) {
    setObjectName("ITCframe1");
}

void ITCframe1::set_config(const QString& file, const QString& dir) {
    file_ = file;
    dir_ = dir;
}

}  // namespace korv::editors
