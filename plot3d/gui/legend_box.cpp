#include "plot3d/gui/legend_box.h"

#include "common/gui/qt_colour.h"
#include "common/core/java_numbers.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/info_line.h"

#include <QPainter>

namespace korv::plot3d {

namespace {

QString number(float v) { return QString::fromStdString(java_float_to_string(v)); }

constexpr int kFirstLabelY = LegendBox::kRuleY + 25;
constexpr int kAxisBlock = 45;  // name line, value line, gap
constexpr int kLeft = 10;
constexpr int kRight = 138;

}  // namespace

LegendBox::LegendBox(QWidget* parent) : QWidget(parent) { resize(150, 420); }

void LegendBox::setScale(const QString& xlabel, float xmin, float xmax, const QString& ylabel, float ymin, float ymax,
                         const QString& zlabel, float zmin, float zmax, const QString& sizelabel) {
    axes_[0] = {xlabel, xmin, xmax};
    axes_[1] = {ylabel, ymin, ymax};
    axes_[2] = {zlabel, zmin, zmax};
    sizelabel_ = sizelabel;
    labeldone_ = true;
    update();
}

QStringList LegendBox::texts() const {
    QStringList out;
    if (!labeldone_) return out;
    for (const Axis& a : axes_) out << a.label << number(a.min) << number(a.max);
    if (!sizelabel_.isEmpty()) out << sizelabel_ + " for Size";
    return out;
}

void LegendBox::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), to_qcolor(kLightGrey));
    // Engraved rules: a white line with a grey one beside it.
    g.setPen(to_qcolor(kWhite));
    g.drawLine(10, kRuleY, width() - 10, kRuleY);
    g.drawLine(width() - 3, 10, width() - 3, height() - 10);
    g.setPen(to_qcolor(kGrey));
    g.drawLine(10, kRuleY + 1, width() - 10, kRuleY + 1);
    g.drawLine(width() - 2, 10, width() - 2, height() - 10);
    if (!labeldone_) return;

    g.setFont(plot_text_font());
    const QFontMetrics metrics(g.font());
    int y = kFirstLabelY;
    for (const Axis& a : axes_) {
        g.setPen(to_qcolor(kLegendLabelRed));
        g.drawText(kLeft, y, a.label);
        g.setPen(to_qcolor(kBlack));
        g.drawText(kLeft, y + 15, number(a.min));
        const QString max = number(a.max);
        g.drawText(kRight - metrics.horizontalAdvance(max), y + 15, max);
        y += kAxisBlock;
    }
    if (!sizelabel_.isEmpty()) {
        g.setPen(to_qcolor(kLegendLabelRed));
        g.drawText(kLeft, y, sizelabel_ + " for Size");
    }
}

}  // namespace korv::plot3d
