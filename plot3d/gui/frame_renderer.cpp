#include "plot3d/gui/frame_renderer.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "plot3d/core/cube_drawer.h"
#include "plot3d/core/depth_order.h"
#include "plot3d/core/frame_bands.h"
#include "plot3d/core/view_math.h"
#include "plot3d/gui/cube_painter.h"
#include "plot3d/gui/frame_overlays.h"

namespace korv::plot3d {

namespace {

const QColor kLightGrey(192, 192, 192);

// Points per task of the passes over all points.
constexpr std::size_t kPointsPerTask = 16384;
// Entries between two looks at the cancel flag.
constexpr std::size_t kCancelCheck = 4096;
// Bands per thread: spare bands even out threads that meet slower cubes.
constexpr std::size_t kBandsPerThread = 2;
constexpr int kLeastBandRows = 4;

// A drawn point's screen position in place of its depth: 16 bits a
// coordinate, so a canvas side may not pass kLargestSide (a point drawn lies
// within two canvases of the middle).
constexpr int kLargestSide = 13000;
constexpr std::uint32_t kNotDrawn = 0x80008000u;  // x = y = -32768: never a drawn point's place

std::uint32_t packed_place(ScreenPoint s) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.x)) << 16) | static_cast<std::uint16_t>(s.y);
}
ScreenPoint place_of(std::uint32_t packed) {
    return {static_cast<std::int16_t>(packed >> 16), static_cast<std::int16_t>(packed & 0xFFFFu)};
}

// A cube a canvas away from the middle cannot show, and the painter need not
// meet huge coordinates.
bool drawn(ScreenPoint s, int w, int h) {
    return std::abs(std::int64_t{s.x} - w / 2) <= 2 * std::int64_t{w} &&
           std::abs(std::int64_t{s.y} - h / 2) <= 2 * std::int64_t{h};
}

bool cancelled_now(const std::atomic<bool>* cancelled) {
    return cancelled != nullptr && cancelled->load(std::memory_order_relaxed);
}

std::uint32_t pixel_of(Colour c) { return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

CubeDrawer cube_drawer(const FrameScene& scene) {
    CubeDrawer cubes;
    cubes.reset(scene.transmat, scene.invmat, scene.width, scene.height, scene.bulletsize, scene.xratio, scene.yratio,
                scene.zratio);
    return cubes;
}

// How far from its position any cube of the frame may reach, in pixels.
long long cube_reach(const CubeDrawer& cubes, float largest_size) {
    float reach = std::max(std::fabs(cubes.centerx), std::fabs(cubes.centery));
    for (std::size_t k = 0; k < 6; ++k)
        reach = std::max({reach, std::fabs(cubes.contourx[k]), std::fabs(cubes.contoury[k])});
    const double r = std::ceil(static_cast<double>(reach) * std::max(1.0f, largest_size)) + kPaintReach + 2;
    return r < 1e15 ? static_cast<long long>(r) : static_cast<long long>(1e15);
}

// The back planes, in front of or behind the cubes.
void draw_planes_on(QImage& image, const FrameScene& scene, const std::array<bool, 3>& which, bool value_box) {
    QPainter g(&image);
    g.setFont(scene.labelfont);
    draw_planes(g, scene, which);
    if (value_box && scene.needreport) draw_value_box(g, scene);
}

}  // namespace

FrameRenderer::FrameRenderer(unsigned threads) : team_(threads) {}

std::optional<QImage> FrameRenderer::draw(const FrameScene& scene, const std::atomic<bool>* cancelled) {
    if (scene.width > kLargestSide || scene.height > kLargestSide) return drawDirectly(scene);
    const std::lock_guard guard(lock_);
    QImage image(std::max(scene.width, 0), std::max(scene.height, 0), QImage::Format_RGB32);
    image.fill(kLightGrey);
    const PlaneOrder order = plane_order(scene.invmat);
    draw_planes_on(image, scene, order.before, false);
    if (!drawCubes(scene, image, cancelled)) return std::nullopt;
    draw_planes_on(image, scene, order.after, true);
    return image;
}

bool FrameRenderer::drawCubes(const FrameScene& scene, QImage& image, const std::atomic<bool>* cancelled) {
    if (!scene.points || scene.points->count() == 0 || image.isNull()) return !cancelled_now(cancelled);
    const PointCloud& points = *scene.points;
    const Matrix3D& m = scene.transmat;
    const int w = scene.width, h = scene.height;
    const std::size_t n = points.count();
    const std::size_t tasks = (n + kPointsPerTask - 1) / kPointsPerTask;
    const auto task_range = [&](std::size_t task) {
        return std::pair{task * kPointsPerTask, std::min(n, (task + 1) * kPointsPerTask)};
    };

    // Depth order: the entries sort as plain numbers.
    entries_.resize(n);
    team_.run(tasks, [&](std::size_t task, unsigned) {
        const auto [from, to] = task_range(task);
        for (std::size_t i = from; i < to; ++i)
            entries_[i] = depth_entry(m.transform(points.position(i)).z, static_cast<std::uint32_t>(i));
    });
    if (cancelled_now(cancelled)) return false;
    sort_depth_entries(entries_, team_);
    if (cancelled_now(cancelled)) return false;

    // Screen positions in place of the depths, and the cubes on each row.
    rows_.resize(team_.size());
    for (auto& counts : rows_) counts.assign(static_cast<std::size_t>(h), 0);
    team_.run(tasks, [&](std::size_t task, unsigned worker) {
        const auto [from, to] = task_range(task);
        std::vector<std::uint32_t>& counts = rows_[worker];
        for (std::size_t k = from; k < to; ++k) {
            const std::uint32_t i = entry_index(entries_[k]);
            const ScreenPoint s = screen_of(m.transform(points.position(i)), w, h);
            std::uint32_t place = kNotDrawn;
            if (drawn(s, w, h)) {
                place = packed_place(s);
                ++counts[static_cast<std::size_t>(std::clamp(s.y, 0, h - 1))];
            }
            entries_[k] = (std::uint64_t{place} << 32) | i;
        }
    });
    if (cancelled_now(cancelled)) return false;
    std::vector<std::uint32_t> per_row(static_cast<std::size_t>(h), 0);
    for (const auto& counts : rows_)
        for (std::size_t r = 0; r < per_row.size(); ++r) per_row[r] += counts[r];
    const std::vector<int> bands = plan_bands(per_row, kBandsPerThread * team_.size(), kLeastBandRows);

    const CubeDrawer cubes = cube_drawer(scene);
    const long long reach = cube_reach(cubes, points.largestSize());
    sprites_.resize(team_.size());
    auto* const pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    const std::size_t stride = static_cast<std::size_t>(image.bytesPerLine()) / sizeof(std::uint32_t);
    const std::uint32_t black = pixel_of({0, 0, 0}), white = pixel_of({255, 255, 255});
    std::atomic<bool> stopped{false};

    // Each band draws its cubes nearest first, into what no nearer cube took.
    coverage_.resize(team_.size());
    team_.run(bands.size() - 1, [&](std::size_t band, unsigned worker) {
        const int top = bands[band], bottom = bands[band + 1];
        CubeSprites& sprites = sprites_[worker];
        Coverage& coverage = coverage_[worker];
        coverage.reset(w, top, bottom);
        for (std::size_t k = n; k-- > 0;) {
            if (k % kCancelCheck == 0 && cancelled_now(cancelled)) {
                stopped = true;
                return;
            }
            const std::uint32_t place = entry_key(entries_[k]);
            if (place == kNotDrawn) continue;
            const ScreenPoint s = place_of(place);
            if (s.y + reach < top || s.y - reach >= bottom) continue;
            const std::uint32_t i = entry_index(entries_[k]);
            const CubeShape shape = cubes.shape(points.size(i), s.x, s.y);
            const PixelBox box = box_of(shape);
            if (box.bottom + kPaintReach < top || box.top - kPaintReach >= bottom) continue;
            // Wholly off the canvas: the painter draws none of it.
            if (box.right + kPaintReach < 0 || box.left - kPaintReach >= w || box.bottom + kPaintReach < 0 ||
                box.top - kPaintReach >= h)
                continue;
            // Behind nearer cubes wherever it could reach in this band.
            if (coverage.taken(std::max(box.left - kPaintReach, 0), std::max(box.top - kPaintReach, top),
                               std::min(box.right + kPaintReach, w - 1),
                               std::min(box.bottom + kPaintReach, bottom - 1)))
                continue;
            const bool selected = static_cast<int>(i) == scene.selectid;
            const std::uint32_t fill = selected ? black : pixel_of(points.colour(i));
            const std::uint32_t edge = selected ? white : black;
            const bool clear_of_edges = box.left - kPaintReach >= 0 && box.right + kPaintReach < w &&
                                        box.top - kPaintReach >= 0 && box.bottom + kPaintReach < h;
            const std::optional<StampKey> key = clear_of_edges ? stamp_key(shape, s.x, s.y) : std::nullopt;
            const CubeStamp& stamp =
                key ? sprites.stamp(*key, shape, s.x, s.y) : sprites.clipped(shape, s.x, s.y, w, h);
            if (stamp.hidden(coverage, w, top, bottom, s.x, s.y)) continue;
            stamp.draw(pixels, stride, w, top, bottom, s.x, s.y, fill, edge, &coverage);
        }
    });
    return !stopped && !cancelled_now(cancelled);
}

QImage FrameRenderer::drawDirectly(const FrameScene& scene) {
    QImage image(std::max(scene.width, 0), std::max(scene.height, 0), QImage::Format_RGB32);
    image.fill(kLightGrey);
    if (image.isNull()) return image;
    const int w = scene.width, h = scene.height;
    QPainter g(&image);
    g.setFont(scene.labelfont);
    const PlaneOrder order = plane_order(scene.invmat);
    draw_planes(g, scene, order.before);
    if (scene.points) {
        const PointCloud& points = *scene.points;
        struct Placed {
            float z;
            std::uint32_t index;
        };
        std::vector<Placed> sorted(points.count());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const float z = scene.transmat.transform(points.position(i)).z;
            sorted[i] = {std::isnan(z) ? -std::numeric_limits<float>::infinity() : z, static_cast<std::uint32_t>(i)};
        }
        std::stable_sort(sorted.begin(), sorted.end(), [](const Placed& a, const Placed& b) { return a.z < b.z; });
        const CubeDrawer cubes = cube_drawer(scene);
        CubePainter canvas(g);
        for (const Placed& p : sorted) {
            const ScreenPoint s = screen_of(scene.transmat.transform(points.position(p.index)), w, h);
            if (!drawn(s, w, h)) continue;
            // No colour: the selected point, drawn black with white edges.
            std::optional<Colour> colour;
            if (static_cast<int>(p.index) != scene.selectid) colour = points.colour(p.index);
            cubes.draw(canvas, colour, points.size(p.index), s.x, s.y);
        }
        canvas.forget();
    }
    draw_planes(g, scene, order.after);
    if (scene.needreport) draw_value_box(g, scene);
    return image;
}

}  // namespace korv::plot3d
