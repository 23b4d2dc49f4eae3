// Frames of the 3-D view drawn on all cores: every pixel as one painter on
// one thread draws it, over many scenes, canvas sizes and turns; frames off
// the GUI thread, the newest first, none queued behind another.
#include "plot3d/gui/frame_renderer.h"
#include "plot3d/gui/frame_worker.h"
#include "plot3d/gui/plot_view.h"

#include <gtest/gtest.h>

#include <QObject>

#include <condition_variable>
#include <mutex>
#include <numbers>
#include <random>
#include <vector>

#include "plot3d/core/view_math.h"
#include "testsupport/event_wait.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

struct SceneCase {
    const char* what;
    int points;
    int width, height;
    float spread = 1.0f;                    // model positions in [-spread, spread]
    float smallest = 1.0f, largest = 2.0f;  // sizes
    float ratio = 1.0f;
    bool grid = false, opaque = false;
    int colours = 1;
    bool select = false;
};

const Colour kColours[] = {{255, 255, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 175, 175}, {124, 124, 0}};

FrameScene scene_of(const SceneCase& c, std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f), share(0.0f, 1.0f);
    std::vector<PlotData> points;
    for (int i = 0; i < c.points; ++i) {
        const Vector3D v(c.spread * unit(random), c.spread * unit(random), c.spread * unit(random));
        const float size = c.smallest + (c.largest - c.smallest) * share(random);
        points.emplace_back(i, v, kColours[static_cast<std::size_t>(random() % static_cast<unsigned>(c.colours))],
                            size);
    }
    FrameScene s;
    s.points = std::make_shared<const PointCloud>(points);
    s.width = c.width;
    s.height = c.height;
    s.xratio = s.yratio = s.zratio = c.ratio;
    Matrix3D turn;
    turn.postRotateX(std::numbers::pi * unit(random));
    turn.postRotateY(std::numbers::pi * unit(random));
    s.transmat = Matrix3D(turn, view_matrix(Vector3D(1, 1, 1), std::numbers::pi, 0.25f, c.ratio, c.ratio, c.ratio));
    s.invmat = s.transmat.inverse();
    s.needgrid = c.grid;
    s.opaqueplane = c.opaque;
    s.selectid = c.select && c.points > 0 ? c.points / 2 : -1;
    s.xlabel = "Rpms", s.ylabel = "O2", s.zlabel = "Timing";
    s.reportfont = QFont("Helvetica");
    s.reportfont.setPointSize(10);
    return s;
}

// Where two frames differ: the first pixel and how many.
std::string difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    int count = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0) first = QPoint(x, y);
    if (count == 0) return "";
    return std::to_string(count) + " pixels, the first at " + std::to_string(first.x()) + "," +
           std::to_string(first.y());
}

}  // namespace

TEST(FrameRenderer, EveryPixelAsOnePainterOnOneThreadDrawsIt) {
    const SceneCase cases[] = {
        {"no points", 0, 400, 400},
        {"one point", 1, 400, 400},
        {"as the benchmark", 20000, 600, 600, 1.0f, 1.0f, 2.0f},
        {"the window's canvas", 5000, 460, 425},
        {"narrow and tall", 3000, 37, 300},
        {"odd sizes", 3000, 173, 97},
        {"many off the canvas", 6000, 400, 300, 2.5f, 0.5f, 3.0f},
        {"cubes too large to keep", 400, 500, 500, 1.0f, 6.0f, 14.0f},
        {"tiny cubes", 4000, 300, 300, 1.0f, 0.0f, 0.3f},
        {"stretched axes", 3000, 400, 400, 1.0f, 1.0f, 2.0f, 1.9f},
        {"shrunk axes", 3000, 400, 400, 1.0f, 1.0f, 2.0f, 0.5f},
        {"grid", 2000, 400, 400, 1.0f, 1.0f, 2.0f, 1.0f, true},
        {"opaque planes", 2000, 400, 400, 1.0f, 1.0f, 2.0f, 1.0f, true, true},
        {"colours and a selection", 5000, 400, 400, 1.0f, 1.0f, 2.0f, 1.0f, false, false, 6, true},
        {"a crowd in a few rows", 8000, 400, 400, 0.02f, 1.0f, 2.0f},
    };
    FrameRenderer many(4), alone(1);
    std::mt19937 random(11);
    for (const SceneCase& c : cases) {
        for (int turn = 0; turn < 3; ++turn) {
            SCOPED_TRACE(std::string(c.what) + ", turn " + std::to_string(turn));
            const FrameScene scene = scene_of(c, random);
            const QImage painted = FrameRenderer::drawDirectly(scene);
            EXPECT_EQ(difference(*many.draw(scene), painted), "");
            if (turn == 0) {
                EXPECT_EQ(difference(*alone.draw(scene), painted), "");
            }
        }
    }
}

TEST(FrameRenderer, TheValueBoxAndLabelsAsOnePainterDrawsThem) {
    testsupport::WorkingFolder folder;
    testsupport::write_text(folder.file("3d.dat"),
                            "rpm o2 mode\nNUMERIC NUMERIC STRING\n3000 0.85 \"boost\"\n1000 0.2 \"idle\"\n");
    std::mt19937 random(5);
    FrameScene scene = scene_of({"a value box", 2, 400, 400}, random);
    scene.table = std::make_shared<const Database>();
    scene.selectid = 1;
    scene.needreport = true;
    scene.reportx = 390;  // near the corner: the box moves inside
    scene.reporty = 380;
    FrameRenderer renderer(4);
    const QImage painted = FrameRenderer::drawDirectly(scene);
    EXPECT_EQ(difference(*renderer.draw(scene), painted), "");
    scene.needreport = false;
    EXPECT_NE(difference(*renderer.draw(scene), painted), "");  // the box was there
}

namespace {

// Holds each frame as it begins until the test lets it go, and keeps what comes back.
class HeldFrames {
public:
    explicit HeldFrames(FrameWorker& worker) : worker_(worker) {
        worker.setFrameBegun([this](std::uint64_t generation) {
            std::unique_lock guard(lock_);
            begun_.push_back(generation);
            changed_.notify_all();
            changed_.wait(guard, [&] { return released_ >= begun_.size(); });
        });
    }
    ~HeldFrames() {
        releaseAll();
        worker_.setFrameBegun(nullptr);
    }
    // Waits until `n` frames have begun.
    void waitBegun(std::size_t n) {
        std::unique_lock guard(lock_);
        changed_.wait(guard, [&] { return begun_.size() >= n; });
    }
    void releaseOne() {
        const std::lock_guard guard(lock_);
        ++released_;
        changed_.notify_all();
    }
    void releaseAll() {
        const std::lock_guard guard(lock_);
        released_ = 1000000;
        changed_.notify_all();
    }
    std::vector<std::uint64_t> begun() {
        const std::lock_guard guard(lock_);
        return begun_;
    }

private:
    FrameWorker& worker_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::uint64_t> begun_;
    std::size_t released_ = 0;
};

FrameScene numbered(std::uint64_t generation) {
    std::mt19937 random(static_cast<unsigned>(generation));
    FrameScene s = scene_of({"numbered", 200, 120, 120}, random);
    s.generation = generation;
    return s;
}

}  // namespace

TEST(FrameWorker, AFrameInFlightIsDroppedForANewerSceneAndNoneIsQueued) {
    FrameRenderer renderer(2);
    QObject context;
    std::vector<std::uint64_t> delivered;
    FrameWorker worker(renderer, context, [&](QImage image, FrameScene scene) {
        EXPECT_FALSE(image.isNull());
        delivered.push_back(scene.generation);
    });
    {
        HeldFrames held(worker);
        worker.submit(numbered(1));
        held.waitBegun(1);
        worker.submit(numbered(2));  // drops 1, waits
        worker.submit(numbered(3));  // takes 2's place: 2 is never drawn
        held.releaseAll();
        ASSERT_TRUE(testsupport::run_events_until([&] { return !delivered.empty(); }));
        EXPECT_EQ(held.begun(), (std::vector<std::uint64_t>{1, 3}));
    }
    EXPECT_EQ(delivered, (std::vector<std::uint64_t>{3}));

    // Turned without a pause: after two frames dropped in a row, the third is finished.
    delivered.clear();
    {
        HeldFrames held(worker);
        worker.submit(numbered(10));
        held.waitBegun(1);
        for (std::uint64_t g = 11; g <= 13; ++g) {
            worker.submit(numbered(g));  // 11 drops 10, 12 drops 11; 13 waits for 12
            if (g == 13) break;
            held.releaseOne();
            held.waitBegun(g - 9);
        }
        held.releaseAll();
        ASSERT_TRUE(testsupport::run_events_until([&] { return delivered.size() == 2; }));
        EXPECT_EQ(held.begun(), (std::vector<std::uint64_t>{10, 11, 12, 13}));
    }
    EXPECT_EQ(delivered, (std::vector<std::uint64_t>{12, 13}));
}

TEST(PlotView, FramesOnScreenComeFromTheWorkerAndFollowTheView) {
    std::vector<PlotData> points;
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int i = 0; i < 3000; ++i)
        points.emplace_back(i, Vector3D(unit(random), unit(random), unit(random)), kYellow, 1.5f);
    PlotView view(nullptr, 300, 280);
    view.setPoints(std::make_shared<const PointCloud>(points));
    view.show();
    ASSERT_TRUE(testsupport::run_events_until([&] { return !view.shownFrame().isNull(); }));
    const QImage first = view.shownFrame().copy();
    EXPECT_EQ(first, view.drawFrame());  // the frame of the view as it stands

    view.rotateyaxis(40);
    ASSERT_TRUE(testsupport::run_events_until([&] { return view.shownFrame() != first; }));
    const QImage turned = view.shownFrame().copy();
    EXPECT_EQ(turned, view.drawFrame());
}
