#include "platform/serial/line_seam.h"

#include "platform/core/clock.h"

#include <map>

namespace korv::platform::serial {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<LineSeam>> seams;
};

Registry& registry() {
    static Registry* instance = new Registry;  // outlives every port
    return *instance;
}

std::size_t index_of(InputLine line) { return static_cast<std::size_t>(line); }

}  // namespace

void LineSeam::set_input(InputLine line, bool asserted) {
    std::lock_guard lock(mutex_);
    inputs_[index_of(line)] = asserted;
}

void LineSeam::release_input(InputLine line) {
    std::lock_guard lock(mutex_);
    inputs_[index_of(line)].reset();
}

std::optional<bool> LineSeam::input(InputLine line) const {
    std::lock_guard lock(mutex_);
    return inputs_[index_of(line)];
}

std::vector<LineChange> LineSeam::changes() const {
    std::lock_guard lock(mutex_);
    return changes_;
}

void LineSeam::clear_changes() {
    std::lock_guard lock(mutex_);
    changes_.clear();
}

void LineSeam::set_listener(Listener listener) {
    std::lock_guard lock(mutex_);
    listener_ = listener ? std::make_shared<const Listener>(std::move(listener)) : nullptr;
}

void LineSeam::record(OutputLine line, bool on) {
    const LineChange change{line, on, korv::platform::clock().now_us()};
    std::shared_ptr<const Listener> listener;
    {
        std::lock_guard lock(mutex_);
        changes_.push_back(change);
        listener = listener_;
    }
    // Outside the lock: a listener may set input lines in reply.
    if (listener) (*listener)(change);
}

std::shared_ptr<LineSeam> find_line_seam(const std::string& path) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.seams.find(path);
    return it == r.seams.end() ? nullptr : it->second;
}

ScopedLineSeam::ScopedLineSeam(std::string path) : path_(std::move(path)), seam_(std::make_shared<LineSeam>()) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.seams[path_] = seam_;
}

ScopedLineSeam::~ScopedLineSeam() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.seams.find(path_);
    if (it != r.seams.end() && it->second == seam_) r.seams.erase(it);
}

}  // namespace korv::platform::serial
