#pragma once
// Draws the 3-D view's frames on a thread of its own, so the GUI thread
// never waits for one. Only the newest scene is drawn: a scene handed in
// while another waits replaces it, and a frame in flight is dropped for a
// newer scene, unless the frames before it were dropped too (so a view
// turned without a pause still shows some). Finished frames come back to
// the GUI thread.
#include <QImage>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "plot3d/gui/frame_renderer.h"
#include "plot3d/gui/frame_scene.h"

namespace korv::plot3d {

class FrameWorker {
public:
    // A frame in flight is dropped for a newer scene at most this many times in a row.
    static constexpr int kDropsInARow = 2;

    using Delivery = std::function<void(QImage image, FrameScene scene)>;
    // Frames are delivered on the thread of `context`, while it lives.
    FrameWorker(FrameRenderer& renderer, QObject& context, Delivery deliver);
    // Drops what waits and what is in flight, and ends the thread.
    ~FrameWorker();
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    void submit(FrameScene scene);
    // Drops what waits and what is in flight: a frame drawn at once on the
    // GUI thread takes their place.
    void dropAll();

    // For tests: called on the worker's thread as each frame begins, with its
    // generation (may block, to hold the frame in flight).
    void setFrameBegun(std::function<void(std::uint64_t generation)> begun);

private:
    void loop();

    FrameRenderer& renderer_;
    QObject& context_;
    Delivery deliver_;
    std::function<void(std::uint64_t)> begun_;

    std::mutex lock_;
    std::condition_variable wake_;
    std::optional<FrameScene> waiting_;
    bool drawing_ = false;
    int dropped_in_a_row_ = 0;
    bool closing_ = false;
    std::atomic<bool> drop_{false};  // the frame in flight stops
    std::thread thread_;
};

}  // namespace korv::plot3d
