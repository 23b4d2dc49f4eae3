#pragma once
// The 3-D plot's canvas: the records as small cubes in a rotatable cube of
// back planes. Frames are drawn off the GUI thread, on all cores, from a copy
// of the view's state, and each finished frame is copied to the screen in
// one go; a change while a frame is drawn asks for the next (see
// FrameWorker). A drag turns the scene; a click picks the front-most point
// within 5 pixels of the frame on screen and shows its values on the next
// frame.
#include <QFont>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plot3d/core/database.h"
#include "plot3d/core/mapper.h"
#include "plot3d/core/plot_data.h"
#include "plot3d/core/point_cloud.h"
#include "plot3d/core/view_math.h"
#include "plot3d/gui/frame_renderer.h"
#include "plot3d/gui/frame_worker.h"
#include "plot3d/gui/widget_clients.h"

namespace korv::plot3d {

// What the legend shows after each setData.
struct LegendValues {
    std::string xlabel;
    float minx = 0, maxx = 0;
    std::string ylabel;
    float miny = 0, maxy = 0;
    std::string zlabel;
    float minz = 0, maxz = 0;
    std::string sizelabel;
};

class PlotView : public QWidget, public WheelClient, public ButtonClient, public CheckerClient {
    Q_OBJECT
public:
    PlotView(QWidget* plotter, int width, int height);
    ~PlotView() override;

    // Handed the legend's values at every successful setData.
    void setLegendCallback(std::function<void(const LegendValues&)> legend) { legend_ = std::move(legend); }

    // One point per record of `db` (kept for the value box). With `rescale`
    // the bounds come from the mapper, else they stay, so points kept by a
    // filter stay in place. False, changing nothing, for a table without records.
    bool setData(std::shared_ptr<const Database> db, const Mapper& mapper, bool rescale);
    // These points, without a table behind them (no value box).
    void setPoints(std::shared_ptr<const PointCloud> points);
    // Nothing to show: a filter kept no record.
    void clearData();
    // The points shown; null before the first data.
    const std::shared_ptr<const PointCloud>& points() const { return points_; }
    // Rebuilds the view matrix from viewpoint, roll, zoom and ratios.
    void setView();
    void setXRatio(float r) { xratio = r; }
    void setYRatio(float r) { yratio = r; }
    void setZRatio(float r) { zratio = r; }
    // The window's Grid button: grid lines, and opaque planes.
    void onCheckrClick(bool grid, bool opaque);
    // Clears the user rotation.
    void onWheelResetButton();
    // As a drag of d pixels down (about the x axis) or right (about the y axis).
    void rotatexaxis(double d);
    void rotateyaxis(double d);
    // Seen from v (an axis for the view buttons), user rotation cleared.
    void setViewpoint(const Vector3D& v);

    // The picture widgets, told apart by their text: "grid" and
    // "transparency" toggles, "xview", "yview" and "zview" buttons, and the
    // wheels, which turn the scene about x (vertical) or y (horizontal).
    void onWheelMotion(Wheel& wheel, int delta) override;
    void onWheelReset(Wheel& wheel) override;
    void onButtonClick(ImageButton& button) override;
    void onCheckerClick(Checker& checker, bool state) override;

    // Mouse handling in canvas pixels (the widget's events come here).
    void onMousePress(int x, int y);
    void onMouseDrag(int x, int y);
    void onMouseRelease(int x, int y);

    // Draws a frame at once on this thread (with the team) and shows it.
    const QImage& drawFrame();
    // A frame with the points of `path` (record indexes) moved along it up
    // to `step`, the one at `step` by `fraction`; the points stay where they are.
    const QImage& drawPath(const std::vector<int>& path, int step, float fraction);
    // The frame on screen (null before the first).
    const QImage& shownFrame() const { return image_; }

    // State the window and the widgets read or set.
    int datacount = 0;
    Bounds bounds;
    std::string xlabel, ylabel, zlabel, sizelabel;
    int selectid = -1;
    bool needgrid = false, opaqueplane = false;
    bool needreport = false;
    int reportx = 0, reporty = 0;
    float bulletsize = 0.075f;
    float xratio = 1, yratio = 1, zratio = 1;
    float zoomer = 0.25f;
    Vector3D viewpoint{1, 1, 1};
    double viewangle;
    Matrix3D viewmat, deltamat, transmat, invmat;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    // The view changed: the next paint asks for a frame.
    void changed();
    // The state a frame is drawn from; the value box goes on this frame only.
    FrameScene scene();
    void present(QImage image, const FrameScene& scene);

    std::shared_ptr<const Database> db_;
    std::shared_ptr<const PointCloud> points_;
    QFont reportfont_;
    std::function<void(const LegendValues&)> legend_;
    int downx_ = 0, downy_ = 0, prevx_ = 0, prevy_ = 0;
    bool mousedown_ = false;

    FrameRenderer renderer_;
    FrameWorker worker_;
    std::uint64_t generation_ = 1;  // of the view's state
    std::uint64_t asked_ = 0;       // the generation last handed to the worker
    QSize asked_size_;
    std::uint64_t data_generation_ = 0;  // frames before the data's last change are not shown
    QImage image_;                       // the frame on screen
    std::optional<FrameScene> shown_;    // what it shows, for picking
};

}  // namespace korv::plot3d
