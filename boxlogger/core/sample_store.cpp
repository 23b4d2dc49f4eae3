#include "boxlogger/core/sample_store.h"

#include <algorithm>

namespace korv::boxlogger {

CSampleRing::CSampleRing(std::int64_t tick_frequency) : tick_frequency_(tick_frequency) {
    // Room for a usual channel set, so the poll thread does not allocate.
    for (CSampleArray& frame : frames_) {
        frame.time = -1.0f;
        frame.values.reserve(kInitialValues);
    }
}

void CSampleRing::Reset() {
    enabled_ = true;
    write_index_ = read_index_ = 0;
}

void CSampleRing::Disable() { enabled_ = false; }

void CSampleRing::Clear() {
    Disable();
    time_base_ = kNoTimeBase;
}

CSampleArray* CSampleRing::WriteSlot() { return enabled_ ? &frames_[write_index_] : nullptr; }

void CSampleRing::Commit(std::int64_t cycle_ticks) {
    if (time_base_ == kNoTimeBase) time_base_ = cycle_ticks;
    // Narrowed only after the base is taken off, so times keep their
    // resolution however long the machine has been up.
    frames_[write_index_].time =
        static_cast<float>(static_cast<double>(cycle_ticks - time_base_) / static_cast<double>(tick_frequency_));
    write_index_ = (write_index_ + 1) % kFrames;
    if (write_index_ == read_index_) read_index_ = (read_index_ + 1) % kFrames;
}

const CSampleArray* CSampleRing::Peek() const { return read_index_ == write_index_ ? nullptr : &frames_[read_index_]; }

void CSampleRing::Advance() { read_index_ = (read_index_ + 1) % kFrames; }

void CSampleRing::AddVariable(CVariable* variable) {
    variables_.push_back(variable);
    for (CSampleArray& frame : frames_) {
        if (frame.values.size() == frame.values.capacity()) frame.values.reserve(frame.values.size() + 5);
        frame.values.push_back(0.0f);
    }
}

void CSampleRing::RemoveVariable(CVariable* variable) {
    const auto it = std::find(variables_.begin(), variables_.end(), variable);
    if (it == variables_.end()) return;
    const auto p = it - variables_.begin();
    variables_.erase(it);
    for (CSampleArray& frame : frames_)
        if (p < static_cast<std::ptrdiff_t>(frame.values.size())) frame.values.erase(frame.values.begin() + p);
}

CSampleHub::CSampleHub(CSerialPort& port) : CVariableList(port) {}

CSampleHub::~CSampleHub() {
    std::lock_guard lock(mutex_);
    rings_.clear();
}

int CSampleHub::Poll() {
    // The exchange runs under the table's lock only, so the GUI thread's
    // drains and ring changes never wait for the line.
    const int result = table().PollNext();
    if (result == kCycleComplete) {
        mutex_.lock_after_others();
        std::lock_guard lock(mutex_, std::adopt_lock);
        Fill();
    }
    return result;
}

void CSampleHub::Fill() {
    const std::int64_t cycle_ticks = table().cycle_time();
    for (auto& [key, ring] : rings_) {
        CSampleArray* frame = ring->WriteSlot();
        if (!frame) continue;
        const auto& variables = ring->variables();
        for (std::size_t i = 0; i < variables.size() && i < frame->values.size(); ++i)
            frame->values[i] = variables[i]->Value();
        ring->Commit(cycle_ticks);
    }
}

CSampleRing* CSampleHub::CreateRing() {
    auto ring = std::make_unique<CSampleRing>(CRequestTable::kTickFrequency);
    CSampleRing* raw = ring.get();
    std::lock_guard lock(mutex_);
    rings_.emplace(raw, std::move(ring));
    return raw;
}

void CSampleHub::RemoveRing(CSampleRing* ring) {
    std::lock_guard lock(mutex_);
    const auto it = rings_.find(ring);
    if (it == rings_.end()) return;
    const std::vector<CVariable*> variables = ring->variables();
    for (CVariable* variable : variables) {
        ring->RemoveVariable(variable);
        Release(variable);
    }
    rings_.erase(it);
}

CVariable* CSampleHub::Subscribe(int channel_id, CSampleRing* ring) {
    std::lock_guard lock(mutex_);
    CVariable* variable = Acquire(channel_id);
    if (variable) ring->AddVariable(variable);
    return variable;
}

void CSampleHub::Unsubscribe(CVariable* variable, CSampleRing* ring) {
    std::lock_guard lock(mutex_);
    ring->RemoveVariable(variable);
    Release(variable);
}

void CSampleHub::Drain(CSampleRing* ring, std::vector<CSampleArray>& out) {
    std::lock_guard lock(mutex_);
    while (const CSampleArray* frame = ring->Peek()) {
        out.push_back(*frame);
        ring->Advance();
    }
}

void CSampleList::Append(float time, std::span<const float> values) {
    if (samples_.empty() && samples_.width() == 0) samples_.reset(values.size());
    samples_.append(time, values);
}

void CSampleList::forget_cache() {
    cached_position_.reset();
    cached_time_ = 0.0f;
}

void CSampleList::Reset(std::size_t width) {
    samples_.reset(width);
    forget_cache();
}

void CSampleList::Adopt(VxmSampleTable samples) {
    samples_ = std::move(samples);
    forget_cache();
}

VxmSampleTable CSampleList::Take() {
    VxmSampleTable taken = std::move(samples_);
    samples_ = VxmSampleTable(taken.width());
    forget_cache();
    return taken;
}

std::optional<std::size_t> CSampleList::FindByTime(float t) {
    if (!cached_position_) {
        if (samples_.empty()) return std::nullopt;
        cached_position_ = 0;
        cached_time_ = samples_.time(0);
    }
    if (samples_.empty()) return std::nullopt;
    const std::size_t start = std::min(*cached_position_, samples_.size() - 1);
    const std::size_t last = samples_.size() - 1;
    if (t > cached_time_) {
        std::size_t found = start;
        for (std::size_t i = start; i <= last && samples_.time(i) <= t; ++i) found = i;
        // The last sample has no successor to draw towards: show the one before it.
        if (found == last && start != last) found = last - 1;
        return found;
    }
    if (t < cached_time_) {
        for (std::size_t i = start + 1; i-- > 0;)
            if (samples_.time(i) < t) return i;
        return 0;
    }
    return start;
}

std::optional<std::size_t> CSampleList::SeekTime(float t) {
    const std::optional<std::size_t> found = FindByTime(t);
    cached_position_ = found;
    if (found) cached_time_ = t;
    return found;
}

}  // namespace korv::boxlogger
