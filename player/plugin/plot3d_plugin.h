#pragma once
// What Korvview's player calls on the 3-D plot: a factory for its window.
#include <QWidget>

#include <memory>

namespace korv::player {

// The 3-D window (CHART3Dframe), built hidden; it reads 3d.dat when shown.
// The default builds none: the player then has no 3-D window.
class Plot3dWindowFactory {
public:
    virtual ~Plot3dWindowFactory() = default;
    virtual std::unique_ptr<QWidget> make_CHART3Dframe() { return nullptr; }
};

}  // namespace korv::player
