#include <algorithm>

#include "common/core/vxm_document.h"

namespace korv {

void VxmSampleTable::append(float time, std::span<const float> values) {
    times_.push_back(time);
    const std::size_t kept = std::min(values.size(), width_);
    values_.insert(values_.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(kept));
    values_.resize(times_.size() * width_, 0.0f);
}

void VxmSampleTable::resize(std::size_t count) {
    times_.resize(count, -1.0f);
    values_.resize(count * width_, 0.0f);
}

void VxmSampleTable::reserve(std::size_t count) {
    times_.reserve(count);
    values_.reserve(count * width_);
}

void VxmSampleTable::clear() {
    times_.clear();
    values_.clear();
}

void VxmSampleTable::reset(std::size_t width) {
    std::vector<float>().swap(times_);
    std::vector<float>().swap(values_);
    width_ = width;
}

}  // namespace korv
