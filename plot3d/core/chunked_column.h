#pragma once
// A column that grows in fixed chunks instead of doubling one array, so a
// long read never holds a spare half of the column, nor an old and a new
// copy of it at once. A small column stays in one small chunk.
#include <cstddef>
#include <vector>

namespace korv::plot3d {

template <class T, std::size_t kChunk = 16384>
class ChunkedColumn {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    void push_back(const T& value) {
        if (chunks_.empty() || chunks_.back().size() == kChunk) {
            chunks_.emplace_back();
            // The first chunk grows as it needs; a later one is known to fill.
            if (chunks_.size() > 1) chunks_.back().reserve(kChunk);
        }
        chunks_.back().push_back(value);
        ++size_;
    }

    const T& operator[](std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }

    // Gives back what the first chunk took beyond its values.
    void shrink_to_fit() {
        if (chunks_.size() == 1) chunks_.front().shrink_to_fit();
    }

private:
    std::vector<std::vector<T>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace korv::plot3d
