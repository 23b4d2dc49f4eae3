#include "plot3d/gui/plot_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <numbers>

#include "plot3d/gui/checker.h"
#include "plot3d/gui/image_button.h"
#include "plot3d/gui/wheel.h"

namespace korv::plot3d {

namespace {

const QColor kLightGrey(192, 192, 192);

}  // namespace

PlotView::PlotView(QWidget* plotter, int width, int height)
    : QWidget(plotter),
      viewangle(std::numbers::pi),
      reportfont_("Helvetica"),
      worker_(renderer_, *this, [this](QImage image, FrameScene scene) { present(std::move(image), scene); }) {
    reportfont_.setPointSize(10);
    resize(width, height);
    setView();
}

// The worker goes first (it is declared after the renderer it draws with).
PlotView::~PlotView() = default;

bool PlotView::setData(std::shared_ptr<const Database> db, const Mapper& mapper, bool rescale) {
    if (!db || db->reccount <= 0) return false;
    db_ = std::move(db);
    const AxisLabels labels = axis_labels(*db_, mapper);
    xlabel = labels.x, ylabel = labels.y, zlabel = labels.z, sizelabel = labels.size;
    if (rescale) bounds = Bounds::of(mapper);
    setPoints(std::make_shared<const PointCloud>(*db_, mapper, bounds));
    if (legend_)
        legend_({xlabel, bounds.minx, bounds.maxx, ylabel, bounds.miny, bounds.maxy, zlabel, bounds.minz, bounds.maxz,
                 sizelabel});
    return true;
}

void PlotView::setPoints(std::shared_ptr<const PointCloud> points) {
    points_ = std::move(points);
    datacount = points_ ? static_cast<int>(points_->count()) : 0;
    selectid = -1;
    // A click picks among these points only once a frame of them is on screen.
    shown_.reset();
    changed();
    data_generation_ = generation_;
}

void PlotView::clearData() {
    db_.reset();
    setPoints(nullptr);
}

void PlotView::setView() {
    viewmat = view_matrix(viewpoint, viewangle, zoomer, xratio, yratio, zratio);
    changed();
}

void PlotView::onCheckrClick(bool grid, bool opaque) {
    needgrid = grid;
    opaqueplane = opaque;
    changed();
}

void PlotView::onWheelResetButton() {
    deltamat.unify();
    changed();
}

void PlotView::rotatexaxis(double d) {
    deltamat.postRotateX(2 * std::numbers::pi * d / height());
    changed();
}

void PlotView::rotateyaxis(double d) {
    deltamat.postRotateY(2 * std::numbers::pi * d / width());
    changed();
}

void PlotView::setViewpoint(const Vector3D& v) {
    viewpoint = v;
    setView();
    deltamat.unify();
    changed();
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
        changed();
    } else if (checker.text() == "grid") {
        needgrid = state;
        changed();
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
    changed();
}

void PlotView::onMouseRelease(int x, int y) {
    const bool click = mousedown_ && x == downx_ && y == downy_;
    mousedown_ = false;
    if (!click) return;
    // Picked on the frame on screen, where the user saw the points.
    const int hit = shown_ && shown_->points
                        ? pick_point(*shown_->points, shown_->transmat, shown_->width, shown_->height, x, y)
                        : -1;
    selectid = next_selection(hit, selectid);
    if (selectid >= 0) {
        needreport = true;
        reportx = x;
        reporty = y;
    }
    changed();
}

void PlotView::changed() {
    ++generation_;
    update();
}

FrameScene PlotView::scene() {
    FrameScene s;
    s.generation = generation_;
    s.points = points_;
    s.table = db_;
    s.width = width();
    s.height = height();
    transmat = Matrix3D(deltamat, viewmat);
    invmat = transmat.inverse();
    s.transmat = transmat;
    s.invmat = invmat;
    s.bulletsize = bulletsize;
    s.xratio = xratio, s.yratio = yratio, s.zratio = zratio;
    s.selectid = selectid;
    s.needgrid = needgrid, s.opaqueplane = opaqueplane;
    s.needreport = needreport;
    s.reportx = reportx, s.reporty = reporty;
    needreport = false;
    s.xlabel = xlabel, s.ylabel = ylabel, s.zlabel = zlabel;
    s.labelfont = QFont();
    s.reportfont = reportfont_;
    return s;
}

void PlotView::present(QImage image, const FrameScene& scene) {
    // A frame older than the one on screen, or of points since replaced, stays unseen.
    if (scene.generation < data_generation_ || (shown_ && scene.generation < shown_->generation)) return;
    image_ = std::move(image);
    shown_ = scene;
    update();
}

const QImage& PlotView::drawFrame() {
    worker_.dropAll();
    const FrameScene s = scene();
    present(*renderer_.draw(s), s);
    asked_ = generation_;
    asked_size_ = size();
    return image_;
}

const QImage& PlotView::drawPath(const std::vector<int>& path, int step, float fraction) {
    worker_.dropAll();
    FrameScene s = scene();
    if (points_) s.points = std::make_shared<const PointCloud>(points_->movedAlong(path, step, fraction));
    present(*renderer_.draw(s), s);
    return image_;
}

void PlotView::paintEvent(QPaintEvent*) {
    if (asked_ != generation_ || asked_size_ != size()) {
        asked_ = generation_;
        asked_size_ = size();
        worker_.submit(scene());
    }
    QPainter g(this);
    if (image_.isNull())
        g.fillRect(rect(), kLightGrey);
    else
        g.drawImage(0, 0, image_);
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
