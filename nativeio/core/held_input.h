#pragma once
// Bytes a wait has already taken off the device but nobody has read yet.
//
// A wait that polls the device for the rest of a reply must first take the
// bytes that came, or every poll returns at once. They are held here and
// read before anything still on the device, in the order they came.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korv::korvio {

class HeldInput {
public:
    int size() const { return static_cast<int>(bytes_.size() - from_); }
    bool empty() const { return from_ == bytes_.size(); }

    // Appends what read(buffer, room) puts in buffer: its count, or its
    // negative failure with nothing appended.
    template <class Read>
    int append_from(Read&& read, int room) {
        if (empty()) clear();
        const std::size_t before = bytes_.size();
        bytes_.resize(before + static_cast<std::size_t>(room));
        const int n = read(bytes_.data() + before, room);
        bytes_.resize(before + static_cast<std::size_t>(std::max(n, 0)));
        return n;
    }

    // Moves up to `count` held bytes to out: how many.
    int take(std::uint8_t* out, int count) {
        const int n = std::clamp(count, 0, size());
        std::copy_n(bytes_.data() + from_, n, out);
        from_ += static_cast<std::size_t>(n);
        return n;
    }

    void clear() {
        bytes_.clear();
        from_ = 0;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t from_ = 0;  // the first byte not yet read
};

}  // namespace korv::korvio
