#include "plot3d/gui/option_box.h"

#include "common/gui/qt_colour.h"
#include "common/gui/window_style.h"
#include "plot3d/core/database.h"
#include "plot3d/core/filter_choices.h"
#include "plot3d/core/mapper.h"
#include "plot3d/core/option_rules.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/plot_panel.h"
#include "plot3d/gui/screen_scroll.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace korv::plot3d {

namespace {

QString text_of(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QLabel* label(QWidget* parent, const QString& text, QRect where) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    return l;
}

// -1 for "None" (the last entry), else the field behind the entry.
int chosen_field(const QComboBox* choice, const std::vector<int>& fields) {
    const int i = choice->currentIndex();
    return i >= 0 && i < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(i)] : -1;
}

}  // namespace

OptionBox::OptionBox(PlotPanel& panel, QWidget* parent) : QDialog(parent), panel_(panel) {
    setWindowTitle("Visualization Options");
    use_window_style(*this);
    paint_dialog_grey(*this, to_qcolor(kLightGrey));
    QWidget* page = new_scroll_page(*this, QSize(715, 390));

    const Database& db = panel_.originalTable();
    for (int f = 0; f < db.fieldcount; ++f) {
        if (db.fieldtype[static_cast<std::size_t>(f)] == Database::NUMERIC) numeric_.push_back(f);
        if (db.fieldtype[static_cast<std::size_t>(f)] == Database::STRING) strings_.push_back(f);
    }
    auto field_choice = [&](const std::vector<int>& fields, int y) {
        auto* c = new QComboBox(page);
        for (int f : fields) c->addItem(QString::fromStdString(db.fieldname[static_cast<std::size_t>(f)]));
        c->addItem("None");
        c->setGeometry(100, y, 150, 24);
        return c;
    };

    const char* names[] = {"X Field", "Y Field", "Z Field", "Size Field"};
    for (int i = 0; i < 4; ++i) {
        label(page, names[i], QRect(10, 10 + 32 * i, 85, 24));
        fields_[static_cast<std::size_t>(i)] = field_choice(numeric_, 10 + 32 * i);
    }
    label(page, "Color Field", QRect(10, 138, 85, 24));
    colorField_ = field_choice(strings_, 138);
    label(page, "Default", QRect(10, 170, 85, 24));
    defaultColour_ = new QComboBox(page);
    for (std::string_view name : kDefaultColourNames) defaultColour_->addItem(text_of(name));
    defaultColour_->setGeometry(100, 170, 150, 24);

    label(page, "Scale", QRect(270, 10, 60, 24));
    label(page, "Min", QRect(320, 34, 90, 20));
    label(page, "Max", QRect(420, 34, 90, 20));
    const char* axes[] = {"X", "Y", "Z", "Size"};
    for (int i = 0; i < 4; ++i) {
        label(page, axes[i], QRect(270, 58 + 32 * i, 45, 24));
        mins_[static_cast<std::size_t>(i)] = new QLineEdit(page);
        mins_[static_cast<std::size_t>(i)]->setGeometry(320, 58 + 32 * i, 90, 24);
        maxs_[static_cast<std::size_t>(i)] = new QLineEdit(page);
        maxs_[static_cast<std::size_t>(i)]->setGeometry(420, 58 + 32 * i, 90, 24);
    }

    for (std::size_t i = 0; i < colourRows_.size(); ++i) {
        const int y = 10 + 26 * static_cast<int>(i);
        label(page, text_of(kColourRowNames[i]), QRect(525, y, 75, 24));
        colourRows_[i] = new QComboBox(page);
        colourRows_[i]->setGeometry(600, y, 105, 24);
    }
    rebuildColourRows();
    connect(colorField_, &QComboBox::currentIndexChanged, this, [this] { rebuildColourRows(); });

    message1_ = label(page, "", QRect(10, 300, 500, 20));
    message2_ = label(page, "", QRect(10, 320, 500, 20));
    ok_ = new QPushButton("OK", page);
    apply_ = new QPushButton("Apply", page);
    cancel_ = new QPushButton("Cancel", page);
    ok_->setGeometry(190, 352, 90, 28);
    apply_->setGeometry(312, 352, 90, 28);
    cancel_->setGeometry(434, 352, 90, 28);
    resize(scroll_page(*this, *page, true));
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (apply()) close();
    });
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
}

void OptionBox::rebuildColourRows() {
    // The colour field's distinct values in the order they first occur.
    QStringList values;
    QSet<QString> seen;
    const int field = chosen_field(colorField_, strings_);
    if (field >= 0) {
        const Database& db = panel_.originalTable();
        for (int r = 0; r < db.reccount; ++r) {
            const QString v = QString::fromStdString(db.stringValue(r, field));
            if (!seen.contains(v)) {
                seen.insert(v);
                values << v;
            }
        }
    }
    for (QComboBox* row : colourRows_) {
        row->clear();
        row->addItem(text_of(kNotApplicable));
        row->addItems(values);
    }
}

QStringList OptionBox::message() const { return {message1_->text(), message2_->text()}; }

void OptionBox::showMessage(std::string_view first, std::string_view second) {
    message1_->setText(text_of(first));
    message2_->setText(text_of(second));
}

bool OptionBox::apply() {
    std::array<int, 4> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = chosen_field(fields_[i], numeric_);
    if (!choices_distinct(fields)) {
        showMessage(kIdenticalChoices.first, kIdenticalChoices.second);
        return false;
    }
    const int color = chosen_field(colorField_, strings_);
    const Colour defcolor = kDefaultColours[static_cast<std::size_t>(std::max(0, defaultColour_->currentIndex()))];

    std::array<std::optional<std::string>, 12> picked;
    for (std::size_t i = 0; i < picked.size(); ++i)
        if (colourRows_[i]->currentIndex() > 0) picked[i] = colourRows_[i]->currentText().toStdString();
    const auto table = colour_table(picked);
    if (!table) {
        showMessage(kSameStringTwice.first, kSameStringTwice.second);
        return false;
    }

    std::array<std::string, 4> min_texts, max_texts;
    for (std::size_t i = 0; i < 4; ++i) {
        min_texts[i] = mins_[i]->text().toStdString();
        max_texts[i] = maxs_[i]->text().toStdString();
    }
    const auto scales = read_scales({min_texts[0], min_texts[1], min_texts[2], min_texts[3]},
                                    {max_texts[0], max_texts[1], max_texts[2], max_texts[3]});
    if (const auto* failed = std::get_if<OptionMessage>(&scales)) {
        showMessage(failed->first, failed->second);
        return false;
    }
    const auto& s = std::get<std::array<ScaleBounds, 4>>(scales);

    Mapper mapper(fields[0], fields[1], fields[2], fields[3], color, defcolor, s[0].min, s[0].max, s[1].min, s[1].max,
                  s[2].min, s[2].max, s[3].min, s[3].max, *table);
    mapper.rescale(panel_.originalTable(), s[0].from_data, s[1].from_data, s[2].from_data, s[3].from_data);
    panel_.applyMapper(mapper);
    return true;
}

}  // namespace korv::plot3d
