#pragma once
// Which fields of the table drive the x, y and z axes, the size and the
// colour of the plotted points, and the value ranges mapped onto them.
#include <map>
#include <optional>
#include <string>

#include "common/core/colour.h"
#include "plot3d/core/database.h"

namespace korv::plot3d {

inline constexpr Colour kYellow{255, 255, 0};

class Mapper {
public:
    using ColourTable = std::map<std::string, Colour>;

    // NUMERIC fields in field order to x, y, z and size; ranges from the table.
    explicit Mapper(const Database& db);
    // As given, except that an unmapped axis (index below 0) gets -1 .. 1
    // and an unmapped size 1 .. 2.
    Mapper(int x, int y, int z, int size, int color, Colour defcolor, float minx, float maxx, float miny, float maxy,
           float minz, float maxz, float minsize, float maxsize, std::optional<ColourTable> colorhash);

    // defcolor when no colour field is mapped or the value has no entry.
    Colour getcolor(const std::string& value) const;
    // Each requested and mapped range becomes the values' range in the table;
    // a table without records changes nothing.
    void rescale(const Database& db, bool doX, bool doY, bool doZ, bool doSize);

    int x = -1, y = -1, z = -1, size = -1, color = -1;
    Colour defcolor = kYellow;
    std::optional<ColourTable> colorhash;
    float minx = -1, maxx = 1, miny = -1, maxy = 1, minz = -1, maxz = 1, minsize = 1, maxsize = 2;
};

}  // namespace korv::plot3d
