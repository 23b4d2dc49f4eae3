#include "plot3d/gui/frame_worker.h"

#include "platform/gui/queued_call.h"

namespace korv::plot3d {

FrameWorker::FrameWorker(FrameRenderer& renderer, QObject& context, Delivery deliver)
    : renderer_(renderer), context_(context), deliver_(std::move(deliver)) {}

FrameWorker::~FrameWorker() {
    {
        const std::lock_guard guard(lock_);
        closing_ = true;
        waiting_.reset();
        drop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void FrameWorker::setFrameBegun(std::function<void(std::uint64_t)> begun) {
    const std::lock_guard guard(lock_);
    begun_ = std::move(begun);
}

void FrameWorker::submit(FrameScene scene) {
    {
        const std::lock_guard guard(lock_);
        waiting_ = std::move(scene);
        if (drawing_ && !drop_ && dropped_in_a_row_ < kDropsInARow) {
            drop_ = true;
            ++dropped_in_a_row_;
        }
        if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
    }
    wake_.notify_one();
}

void FrameWorker::dropAll() {
    const std::lock_guard guard(lock_);
    waiting_.reset();
    if (drawing_) drop_ = true;
}

void FrameWorker::loop() {
    for (;;) {
        FrameScene scene;
        std::function<void(std::uint64_t)> begun;
        {
            std::unique_lock guard(lock_);
            wake_.wait(guard, [this] { return closing_ || waiting_.has_value(); });
            if (closing_) return;
            scene = std::move(*waiting_);
            waiting_.reset();
            drawing_ = true;
            drop_ = false;
            begun = begun_;
        }
        if (begun) begun(scene.generation);
        std::optional<QImage> image = renderer_.draw(scene, &drop_);
        const std::lock_guard guard(lock_);
        drawing_ = false;
        if (!image || drop_) continue;
        dropped_in_a_row_ = 0;
        platform::post_queued(&context_, [deliver = deliver_, image = std::move(*image), scene = std::move(scene)] {
            deliver(image, scene);
        });
    }
}

}  // namespace korv::plot3d
