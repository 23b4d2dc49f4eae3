#pragma once
// Draws each point as a small cube: a filled hexagon (the cube's silhouette)
// with the three edges that meet at its near corner. The silhouette depends
// only on the view, so it is worked out once per frame and each point is a
// shift and scale of it.
#include <array>
#include <optional>

#include "common/core/colour.h"
#include "common/core/java_numbers.h"
#include "plot3d/core/matrix3d.h"

namespace korv::plot3d {

struct CubeShape {
    std::array<int, 7> xpoints{}, ypoints{};  // the closed hexagon
    int centerx = 0, centery = 0;             // the near corner
};

class CubeDrawer {
public:
    // Corner i of [-1, 1]^3: x = +1 when bit 2 is set, y bit 1, z bit 0.
    static const std::array<Vector3D, 8> vertextable;
    // Row = view octant; the silhouette's corners in drawing order.
    static constexpr int contourtable[8][6] = {{4, 5, 1, 3, 2, 6}, {5, 7, 3, 2, 0, 4}, {6, 4, 0, 1, 3, 7},
                                               {7, 6, 2, 0, 1, 5}, {5, 1, 0, 2, 6, 7}, {1, 0, 4, 6, 7, 3},
                                               {4, 0, 2, 3, 7, 5}, {5, 4, 6, 2, 3, 1}};

    // Once per frame. Dividing the corners by the ratios keeps cubes cubic
    // when an axis is stretched.
    void reset(const Matrix3D& transmat, const Matrix3D& invmat, int width, int height, float bulletsize, float xratio,
               float yratio, float zratio);
    int octant() const { return octant_; }

    CubeShape shape(float size, int x, int y) const;

    // Canvas: cube(const CubeShape&, Colour fill, Colour edge) fills the
    // hexagon and draws its outline and the three near edges from the centre
    // to points 0, 2 and 4. Without a colour the cube is black with white
    // edges (the selected point).
    template <class Canvas>
    void draw(Canvas& g, std::optional<Colour> colour, float size, int x, int y) const {
        const Colour black{0, 0, 0}, white{255, 255, 255};
        g.cube(shape(size, x, y), colour.value_or(black), colour ? black : white);
    }

    std::array<float, 6> contourx{}, contoury{};
    float centerx = 0, centery = 0;

private:
    int octant_ = 0;
};

}  // namespace korv::plot3d
