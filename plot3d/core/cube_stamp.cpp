#include "plot3d/core/cube_stamp.h"

#include <algorithm>
#include <cstring>

namespace korv::plot3d {

void Coverage::reset(int width, int top, int bottom) {
    words_ = (static_cast<std::size_t>(std::max(width, 0)) + 63) / 64;
    top_ = top;
    taken_.assign(words_ * static_cast<std::size_t>(std::max(bottom - top, 0)), 0);
}

bool Coverage::taken(int left, int top, int right, int bottom) const {
    const auto first = static_cast<std::size_t>(left) / 64, last = static_cast<std::size_t>(right) / 64;
    const std::uint64_t head = ~std::uint64_t{0} << (left % 64);
    const std::uint64_t tail = ~std::uint64_t{0} >> (63 - right % 64);
    for (int row = top; row <= bottom; ++row) {
        const std::uint64_t* taken = taken_.data() + static_cast<std::size_t>(row - top_) * words_;
        for (std::size_t word = first; word <= last; ++word) {
            std::uint64_t need = ~std::uint64_t{0};
            if (word == first) need &= head;
            if (word == last) need &= tail;
            if ((taken[word] & need) != need) return false;
        }
    }
    return true;
}

bool CubeStamp::hidden(const Coverage& coverage, int width, int top, int bottom, int x, int y) const {
    for (const StampRow& r : rows) {
        const long long row = static_cast<long long>(y) + r.dy;
        if (row < top || row >= bottom) continue;
        const long long from = std::max(static_cast<long long>(x) + r.from, 0LL);
        const long long to = std::min(static_cast<long long>(x) + r.to, static_cast<long long>(width));
        if (from < to && !coverage.taken(static_cast<int>(from), static_cast<int>(row), static_cast<int>(to - 1),
                                         static_cast<int>(row)))
            return false;
    }
    return true;
}

void CubeStamp::draw(std::uint32_t* rows, std::size_t stride, int width, int top, int bottom, int x, int y,
                     std::uint32_t fill, std::uint32_t edge, Coverage* coverage) const {
    for (const StampRun& run : runs) {
        const long long row = static_cast<long long>(y) + run.dy;
        if (row < top || row >= bottom) continue;
        long long from = static_cast<long long>(x) + run.dx;
        long long to = from + run.length;
        from = std::max(from, 0LL);
        to = std::min(to, static_cast<long long>(width));
        if (from >= to) continue;
        std::uint32_t* const pixels = rows + static_cast<std::size_t>(row) * stride;
        if (coverage != nullptr) {
            coverage->fill(pixels, static_cast<int>(row), static_cast<int>(from), static_cast<int>(to),
                           run.edge ? edge : fill);
        } else {
            std::fill(pixels + from, pixels + to, run.edge ? edge : fill);
        }
    }
}

std::size_t StampKeyHash::operator()(const StampKey& key) const {
    std::uint64_t a = 0, b = 0;
    std::memcpy(&a, key.offsets.data(), 8);
    std::memcpy(&b, key.offsets.data() + 8, 6);
    const std::uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b + 0x632BE59BD9B4E019ull + (a >> 29));
    return static_cast<std::size_t>(h ^ (h >> 31));
}

std::optional<StampKey> stamp_key(const CubeShape& s, int x, int y) {
    StampKey key;
    const auto put = [&](std::size_t at, int v, int origin) {
        const long long d = static_cast<long long>(v) - origin;
        if (d < -127 || d > 127) return false;
        key.offsets[at] = static_cast<std::int8_t>(d);
        return true;
    };
    for (std::size_t k = 0; k < 6; ++k) {
        if (!put(2 * k, s.xpoints[k], x) || !put(2 * k + 1, s.ypoints[k], y)) return std::nullopt;
    }
    if (!put(12, s.centerx, x) || !put(13, s.centery, y)) return std::nullopt;
    return key;
}

PixelBox box_of(const CubeShape& s) {
    PixelBox box{s.centerx, s.centery, s.centerx, s.centery};
    for (std::size_t k = 0; k < 6; ++k) {
        box.left = std::min(box.left, s.xpoints[k]);
        box.right = std::max(box.right, s.xpoints[k]);
        box.top = std::min(box.top, s.ypoints[k]);
        box.bottom = std::max(box.bottom, s.ypoints[k]);
    }
    return box;
}

}  // namespace korv::plot3d
