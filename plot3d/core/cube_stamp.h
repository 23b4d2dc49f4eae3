#pragma once
// A cube as the painter draws it, kept as runs of pixels along each row
// relative to the cube's screen position: which pixels its fill takes and
// which its edges. The painter's pixels of a shape do not depend on where
// the shape lies, as long as the canvas edges do not clip it, so the runs of
// one cube serve every cube of the same shape, and drawing a cube is copying
// its runs. A part of the canvas can be drawn on its own by copying only
// the runs of its rows.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "plot3d/core/cube_drawer.h"

namespace korv::plot3d {

struct StampRun {
    std::int16_t dy = 0, dx = 0;
    std::uint16_t length = 0;
    bool edge = false;  // else fill
};

// The pixel classes of a drawn cube.
enum class CubePixel : std::uint8_t { none, fill, edge };

// The pixels of a band of rows that a cube has taken, for drawing the cubes
// nearest first: a pixel keeps the colour of the first cube to reach it,
// which is the one a painter drawing far first would have drawn there last.
// Most cubes of a large plot lie behind others, and cost a look at their
// runs instead of their pixels.
class Coverage {
public:
    // Nothing taken in the rows [top, bottom) of a canvas `width` pixels wide.
    void reset(int width, int top, int bottom);
    // Sets the pixels of [from, to) in `row` (of this band) that are not
    // taken yet to `value`, in `pixels` (the row's first pixel), and takes them.
    // Inline: a frame fills millions of runs.
    void fill(std::uint32_t* pixels, int row, int from, int to, std::uint32_t value) {
        std::uint64_t* taken = taken_.data() + static_cast<std::size_t>(row - top_) * words_;
        for (int x = from; x < to;) {
            const auto word = static_cast<std::size_t>(x) / 64;
            const int bit = x % 64;
            const int n = std::min(to - x, 64 - bit);
            const std::uint64_t run = (n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1) << bit;
            std::uint64_t free = run & ~taken[word];
            if (free != 0) {
                taken[word] |= free;
                if (free == run) {
                    std::fill(pixels + x, pixels + x + n, value);
                } else {
                    for (; free != 0; free &= free - 1)
                        pixels[word * 64 + static_cast<std::size_t>(__builtin_ctzll(free))] = value;
                }
            }
            x += n;
        }
    }
    // Whether every pixel of columns [left, right] in rows [top, bottom] of
    // the band is taken (the box lies inside the band and the canvas).
    bool taken(int left, int top, int right, int bottom) const;

private:
    std::size_t words_ = 0;  // per row, a bit a pixel
    int top_ = 0;
    std::vector<std::uint64_t> taken_;
};

// The pixels a stamp takes in one row lie between from and to.
struct StampRow {
    std::int16_t dy = 0, from = 0, to = 0;  // columns [from, to) from the position
};

struct CubeStamp {
    std::vector<StampRun> runs;
    std::vector<StampRow> rows;

    // Whether every pixel it would draw at (x, y) into the rows [top,
    // bottom) of a canvas `width` pixels wide is taken already.
    bool hidden(const Coverage& coverage, int width, int top, int bottom, int x, int y) const;

    // The runs as drawn at (x, y) into the rows [top, bottom) of a canvas
    // `width` pixels wide, row r starting at rows + r * stride; pixels
    // outside those rows or the canvas are left out. With `coverage` (of
    // those rows), only where no cube was drawn before.
    void draw(std::uint32_t* rows, std::size_t stride, int width, int top, int bottom, int x, int y, std::uint32_t fill,
              std::uint32_t edge, Coverage* coverage = nullptr) const;
};

// The runs of the pixels of the box [left, right] x [top, bottom], read as
// pixel(column, row), relative to (x, y).
template <class PixelAt>
CubeStamp stamp_of(PixelAt pixel, int left, int top, int right, int bottom, int x, int y) {
    CubeStamp stamp;
    for (int row = top; row <= bottom; ++row) {
        int column = left;
        while (column <= right) {
            const CubePixel c = pixel(column, row);
            if (c == CubePixel::none) {
                ++column;
                continue;
            }
            const int start = column;
            while (column <= right && pixel(column, row) == c) ++column;
            stamp.runs.push_back({static_cast<std::int16_t>(row - y), static_cast<std::int16_t>(start - x),
                                  static_cast<std::uint16_t>(column - start), c == CubePixel::edge});
            const auto dy = static_cast<std::int16_t>(row - y);
            const auto to = static_cast<std::int16_t>(column - x);
            if (stamp.rows.empty() || stamp.rows.back().dy != dy)
                stamp.rows.push_back({dy, static_cast<std::int16_t>(start - x), to});
            else
                stamp.rows.back().to = to;
        }
    }
    return stamp;
}

// The shape's corners and near corner relative to its position: all that
// decides its pixels away from the canvas edges. None when a corner lies
// more than 127 pixels away.
struct StampKey {
    std::array<std::int8_t, 14> offsets{};
    bool operator==(const StampKey&) const = default;
};
struct StampKeyHash {
    std::size_t operator()(const StampKey& key) const;
};
std::optional<StampKey> stamp_key(const CubeShape& shape, int x, int y);

// How far past its corners the painter's pixels of a cube may reach (its
// pen's square ends).
inline constexpr int kPaintReach = 2;

// The pixels the shape's corners span.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};
PixelBox box_of(const CubeShape& shape);

}  // namespace korv::plot3d
