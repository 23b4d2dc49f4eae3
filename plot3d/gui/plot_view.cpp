#include "plot3d/gui/plot_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "common/core/java_numbers.h"
#include "platform/gui/windows1252_text.h"
#include "plot3d/gui/checker.h"
#include "plot3d/gui/cube_painter.h"
#include "plot3d/gui/image_button.h"
#include "plot3d/gui/wheel.h"

namespace korv::plot3d {

namespace {

const QColor kLightGrey(192, 192, 192);
const QColor kGrey(128, 128, 128);

QPoint qpoint(ScreenPoint p) { return {p.x, p.y}; }

}  // namespace

PlotView::PlotView(QWidget* plotter, int width, int height)
    : QWidget(plotter), viewangle(std::numbers::pi), reportfont_("Helvetica") {
    reportfont_.setPointSize(10);
    resize(width, height);
    setView();
}

bool PlotView::setData(std::shared_ptr<const Database> db, const Mapper& mapper, bool rescale) {
    if (!db || db->reccount <= 0) return false;
    db_ = std::move(db);
    const AxisLabels labels = axis_labels(*db_, mapper);
    xlabel = labels.x, ylabel = labels.y, zlabel = labels.z, sizelabel = labels.size;
    if (rescale) bounds = Bounds::of(mapper);
    data = plot_points(*db_, mapper, bounds);
    datacount = static_cast<int>(data.size());
    vdata_.clear();
    screen_.clear();
    if (legend_)
        legend_({xlabel, bounds.minx, bounds.maxx, ylabel, bounds.miny, bounds.maxy, zlabel, bounds.minz, bounds.maxz,
                 sizelabel});
    selectid = -1;
    update();
    return true;
}

void PlotView::setView() { viewmat = view_matrix(viewpoint, viewangle, zoomer, xratio, yratio, zratio); }

void PlotView::onCheckrClick(bool grid, bool opaque) {
    needgrid = grid;
    opaqueplane = opaque;
    update();
}

void PlotView::onWheelResetButton() {
    deltamat.unify();
    update();
}

void PlotView::rotatexaxis(double d) {
    deltamat.postRotateX(2 * std::numbers::pi * d / height());
    update();
}

void PlotView::rotateyaxis(double d) {
    deltamat.postRotateY(2 * std::numbers::pi * d / width());
    update();
}

void PlotView::setViewpoint(const Vector3D& v) {
    viewpoint = v;
    setView();
    deltamat.unify();
    update();
}

void PlotView::onWheelMotion(Wheel& wheel, int delta) {
    if (wheel.orientation() == Wheel::VERTICAL)
        rotatexaxis(delta);
    else
        rotateyaxis(delta);
}

void PlotView::onWheelReset(Wheel&) { onWheelResetButton(); }

void PlotView::onButtonClick(ImageButton& button) {
    if (button.text() == "xview") setViewpoint({1, 0, 0});
    if (button.text() == "yview") setViewpoint({0, 1, 0});
    if (button.text() == "zview") setViewpoint({0, 0, 1});
}

void PlotView::onCheckerClick(Checker& checker, bool state) {
    if (checker.text() == "transparency") {
        opaqueplane = !state;
        update();
    } else if (checker.text() == "grid") {
        needgrid = state;
        update();
    }
}

void PlotView::onMousePress(int x, int y) {
    downx_ = prevx_ = x;
    downy_ = prevy_ = y;
    mousedown_ = true;
}

void PlotView::onMouseDrag(int x, int y) {
    if (!mousedown_) return;
    deltamat.postRotateX(2 * std::numbers::pi * (y - prevy_) / height());
    deltamat.postRotateY(2 * std::numbers::pi * (x - prevx_) / width());
    prevx_ = x;
    prevy_ = y;
    update();
}

void PlotView::onMouseRelease(int x, int y) {
    const bool click = mousedown_ && x == downx_ && y == downy_;
    mousedown_ = false;
    if (!click) return;
    const int hit = pick_index(screen_, x, y);
    selectid = next_selection(hit >= 0 ? vdata_[static_cast<std::size_t>(hit)].id : -1, selectid);
    if (selectid >= 0) {
        needreport = true;
        reportx = x;
        reporty = y;
    }
    update();
}

const QImage& PlotView::drawFrame() {
    const int w = width(), h = height();
    if (image_.isNull() || image_.width() != w || image_.height() != h) image_ = QImage(w, h, QImage::Format_RGB32);
    image_.fill(kLightGrey);
    QPainter g(&image_);

    transmat = Matrix3D(deltamat, viewmat);
    invmat = transmat.inverse();
    cubes_.reset(transmat, invmat, w, h, bulletsize, xratio, yratio, zratio);

    const PlaneOrder order = plane_order(invmat);
    drawPlanes(g, order.before);

    vdata_.assign(data.begin(), data.end());
    for (auto& p : vdata_) p.viewvec = transmat.transform(p.vec);
    depth_sort(vdata_);
    screen_.resize(vdata_.size());
    CubePainter canvas(g);
    for (std::size_t i = 0; i < vdata_.size(); ++i) {
        const PlotData& p = vdata_[i];
        screen_[i] = screen_of(*p.viewvec, w, h);
        // A cube is a small fraction of the canvas: one a canvas away from
        // it cannot show, and the painter need not meet huge coordinates.
        if (std::abs(std::int64_t{screen_[i].x} - w / 2) > 2 * std::int64_t{w} ||
            std::abs(std::int64_t{screen_[i].y} - h / 2) > 2 * std::int64_t{h})
            continue;
        const auto colour = p.id == selectid ? std::nullopt : std::optional<Colour>(p.color);
        cubes_.draw(canvas, colour, p.size, screen_[i].x, screen_[i].y);
    }

    drawPlanes(g, order.after);
    if (needreport) {
        drawValueBox(g);
        needreport = false;
    }
    return image_;
}

const QImage& PlotView::drawPath(const std::vector<int>& path, int step, float fraction) {
    const auto saved = move_along_path(data, path, step, fraction);
    drawFrame();
    restore_path(data, path, saved);
    return image_;
}

void PlotView::drawPlanes(QPainter& g, const std::array<bool, 3>& which) {
    const std::string* labels[3] = {&ylabel, &zlabel, &xlabel};
    for (int plane = 0; plane < 3; ++plane) {
        if (!which[static_cast<std::size_t>(plane)]) continue;
        const PlaneShape s = plane_shape(plane, transmat, width(), height(), needgrid);
        if (opaqueplane) {
            QPolygon quad;
            for (const auto& p : s.quad) quad << qpoint(p);
            g.setPen(Qt::black);
            g.setBrush(kGrey);
            g.drawPolygon(quad);
        } else {
            g.setPen(Qt::black);
            for (const auto& line : s.axis) g.drawLine(qpoint(line.a), qpoint(line.b));
            if (s.arrow) {
                QPolygon head;
                for (const auto& p : s.head) head << qpoint(p);
                g.setBrush(Qt::black);
                g.drawPolygon(head);
                g.drawText(s.label.x, s.label.y, platform::qstring_from_windows1252(*labels[plane]));
            }
        }
        g.setPen(Qt::white);
        for (const auto& line : s.grid) g.drawLine(qpoint(line.a), qpoint(line.b));
    }
}

void PlotView::drawValueBox(QPainter& g) {
    if (!db_ || selectid < 0 || selectid >= db_->reccount) return;
    const int n = db_->fieldcount;
    const BoxPlace box = value_box_place(reportx, reporty, n, width(), height());
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(box.left, box.top, box.width, box.height);
    g.setFont(reportfont_);
    for (int i = 0; i < n; ++i) {
        const int y = box.top + kValueBoxLine * (i + 1);
        const Value& v = db_->value(selectid, i);
        std::string text;
        if (const auto* f = std::get_if<float>(&v)) text = java_float_to_string(*f);
        if (const auto* s = std::get_if<std::string>(&v)) text = *s;
        g.drawText(box.left + 5, y, platform::qstring_from_windows1252(db_->fieldname[static_cast<std::size_t>(i)]));
        g.drawText(box.left + 75, y, platform::qstring_from_windows1252(text));
    }
}

void PlotView::paintEvent(QPaintEvent*) {
    drawFrame();
    QPainter(this).drawImage(0, 0, image_);
}

void PlotView::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    onMousePress(p.x(), p.y());
}

void PlotView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    onMouseDrag(p.x(), p.y());
}

void PlotView::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    onMouseRelease(p.x(), p.y());
}

}  // namespace korv::plot3d
