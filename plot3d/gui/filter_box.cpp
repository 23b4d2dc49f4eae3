#include "plot3d/gui/filter_box.h"

#include "common/gui/qt_colour.h"
#include "common/gui/window_style.h"
#include "plot3d/core/database.h"
#include "plot3d/core/filter_choices.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/plot_panel.h"
#include "plot3d/gui/screen_scroll.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace korv::plot3d {

namespace {

QComboBox* choice(QWidget* parent, const std::array<std::string, 10>& values, QRect where) {
    auto* c = new QComboBox(parent);
    c->addItem(QString::fromUtf8(kNotApplicable.data(), static_cast<qsizetype>(kNotApplicable.size())));
    for (const std::string& v : values) c->addItem(QString::fromStdString(v));
    c->setGeometry(where);
    return c;
}

}  // namespace

FilterBox::FilterBox(PlotPanel& panel, QWidget* parent) : QDialog(parent), panel_(panel) {
    setWindowTitle("Database Filter");
    use_window_style(*this);
    paint_dialog_grey(*this, to_qcolor(kLightGrey));

    const Database& db = panel_.originalTable();
    int n = 0;
    for (int f = 0; f < db.fieldcount; ++f) n += db.fieldtype[static_cast<std::size_t>(f)] == Database::NUMERIC;
    QWidget* page = new_scroll_page(*this, QSize(300, 140 + 40 * n));
    int y = 10;
    for (int f = 0; f < db.fieldcount; ++f) {
        if (db.fieldtype[static_cast<std::size_t>(f)] != Database::NUMERIC) continue;
        float min = 0, max = 0;
        for (int r = 0; r < db.reccount; ++r) {
            const float v = db.numericValue(r, f);
            min = r == 0 ? v : std::min(min, v);
            max = r == 0 ? v : std::max(max, v);
        }
        const auto values = filter_step_texts(min, max);
        auto* name = new QLabel(QString::fromStdString(db.fieldname[static_cast<std::size_t>(f)]), page);
        name->setGeometry(10, y, 280, 16);
        rows_.push_back(
            {f, choice(page, values, QRect(10, y + 16, 135, 22)), choice(page, values, QRect(155, y + 16, 135, 22))});
        y += 40;
    }
    message_ = new QLabel(page);
    message_->setGeometry(10, 20 + 40 * n, 280, 20);
    ok_ = new QPushButton("OK", page);
    apply_ = new QPushButton("Apply", page);
    cancel_ = new QPushButton("Cancel", page);
    ok_->setGeometry(20, 60 + 40 * n, 80, 28);
    apply_->setGeometry(110, 60 + 40 * n, 80, 28);
    cancel_->setGeometry(200, 60 + 40 * n, 80, 28);
    setFixedSize(scroll_page(*this, *page, false));
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (apply()) close();
    });
    connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
}

QString FilterBox::message() const { return message_->text(); }

bool FilterBox::apply() {
    const Database& db = panel_.originalTable();
    Filter filter(static_cast<int>(rows_.size()));
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const FilterRow row{filter_choice_value(rows_[k].min->currentText().toStdString()),
                            filter_choice_value(rows_[k].max->currentText().toStdString())};
        if (filter_row_mismatch(row)) {
            message_->setText("Min/Max mismatch for " +
                              QString::fromStdString(db.fieldname[static_cast<std::size_t>(rows_[k].field)]));
            return false;
        }
        filter.findex[k] = rows_[k].field;
        filter.needmin[k] = row.min.has_value();
        filter.needmax[k] = row.max.has_value();
        filter.min[k] = row.min.value_or(0.0f);
        filter.max[k] = row.max.value_or(0.0f);
    }
    auto kept = std::make_shared<Database>(db, filter);
    // An earlier refusal no longer holds; an empty result says so.
    message_->setText(kept->reccount == 0 ? QString::fromUtf8(kNoRecordPasses.data(), kNoRecordPasses.size())
                                          : QString());
    panel_.applyFilter(std::move(kept));
    return true;
}

}  // namespace korv::plot3d
