#pragma once
// What the options and filter dialogs work on: the table read from 3d.dat
// and the panel that shows it.
#include <memory>

namespace korv::plot3d {

class Database;
class Mapper;

class PlotPanel {
public:
    virtual ~PlotPanel() = default;
    // The table as read; dialogs always start from it.
    virtual const Database& originalTable() const = 0;
    // Redraws the shown table with this mapping and its bounds.
    virtual void applyMapper(const Mapper& mapper) = 0;
    // Shows this filtered copy of the original with the current mapping and bounds.
    virtual void applyFilter(std::shared_ptr<Database> table) = 0;
};

}  // namespace korv::plot3d
