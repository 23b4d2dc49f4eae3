#pragma once
// Draws frames of the 3-D view on all the machine's cores. The planes, their
// labels and the value box are painted as ever; the cubes, which take nearly
// all of a frame, are shared out: the points are put in depth order by the
// team, and each thread then draws every cube that reaches its own band of
// rows, nearest first into the pixels no nearer cube took, from stamps of
// the painter's own pixels. So each pixel comes out as the one-thread frame,
// drawing far first, paints it, which drawDirectly() still does.
#include <QImage>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "plot3d/core/thread_team.h"
#include "plot3d/gui/cube_sprites.h"
#include "plot3d/gui/frame_scene.h"

namespace korv::plot3d {

class FrameRenderer {
public:
    // `threads` counts the caller; 0 takes one per core.
    explicit FrameRenderer(unsigned threads = 0);

    // The frame of `scene`; none when `cancelled` was set while it was being
    // drawn. One frame at a time: a second caller waits for the first.
    std::optional<QImage> draw(const FrameScene& scene, const std::atomic<bool>* cancelled = nullptr);

    // The same frame painted cube by cube on this thread alone. Also the
    // way for a canvas too large for the bands' packed positions.
    static QImage drawDirectly(const FrameScene& scene);

    unsigned threads() const { return team_.size(); }

private:
    bool drawCubes(const FrameScene& scene, QImage& image, const std::atomic<bool>* cancelled);

    std::mutex lock_;  // one frame at a time
    ThreadTeam team_;
    std::vector<CubeSprites> sprites_;              // one per thread of the team
    std::vector<Coverage> coverage_;                // one per thread of the team
    std::vector<std::uint64_t> entries_;            // the points in drawing order, reused
    std::vector<std::vector<std::uint32_t>> rows_;  // cubes per row, one count per thread
};

}  // namespace korv::plot3d
