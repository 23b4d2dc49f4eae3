#include "plot3d/core/mapper.h"

#include <algorithm>

namespace korv::plot3d {

namespace {

void widen(const Database& db, int field, float& lo, float& hi) {
    if (field < 0 || db.reccount == 0) return;
    lo = hi = db.numericValue(0, field);
    for (int r = 1; r < db.reccount; ++r) {
        const float v = db.numericValue(r, field);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

}  // namespace

Mapper::Mapper(const Database& db) {
    int* const slots[] = {&x, &y, &z, &size};
    std::size_t next = 0;
    for (int f = 0; f < db.fieldcount && next < std::size(slots); ++f) {
        if (db.fieldtype[static_cast<std::size_t>(f)] == Database::NUMERIC) *slots[next++] = f;
    }
    rescale(db, true, true, true, true);
}

Mapper::Mapper(int x_, int y_, int z_, int size_, int color_, Colour defcolor_, float minx_, float maxx_, float miny_,
               float maxy_, float minz_, float maxz_, float minsize_, float maxsize_,
               std::optional<ColourTable> colorhash_)
    : x(x_),
      y(y_),
      z(z_),
      size(size_),
      color(color_),
      defcolor(defcolor_),
      colorhash(std::move(colorhash_)),
      minx(x_ < 0 ? -1 : minx_),
      maxx(x_ < 0 ? 1 : maxx_),
      miny(y_ < 0 ? -1 : miny_),
      maxy(y_ < 0 ? 1 : maxy_),
      minz(z_ < 0 ? -1 : minz_),
      maxz(z_ < 0 ? 1 : maxz_),
      minsize(size_ < 0 ? 1 : minsize_),
      maxsize(size_ < 0 ? 2 : maxsize_) {}

Colour Mapper::getcolor(const std::string& value) const {
    if (color == -1 || !colorhash) return defcolor;
    const auto it = colorhash->find(value);
    return it != colorhash->end() ? it->second : defcolor;
}

void Mapper::rescale(const Database& db, bool doX, bool doY, bool doZ, bool doSize) {
    if (doX) widen(db, x, minx, maxx);
    if (doY) widen(db, y, miny, maxy);
    if (doZ) widen(db, z, minz, maxz);
    if (doSize) widen(db, size, minsize, maxsize);
}

}  // namespace korv::plot3d
