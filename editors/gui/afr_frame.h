#pragma once
// The air/fuel statistics grid the player fills while a PMS log plays.
#include "editors/core/afr_cells.h"
#include "player/plugin/editor_plugin.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QRadioButton;

class AFRframe : public QWidget, public korv::player::AirFuelGrid {
    Q_OBJECT
public:
    static constexpr int kGridRows = korv::editors::afr::kRows;
    static constexpr int kGridColumns = korv::editors::afr::kColumns;

    AFRframe();
    // Builds the grid and empties every value.
    void add_controls();

    QWidget* window() override { return this; }
    void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc, float value, int kind,
                       bool low) override;
    // Shows the selected kind (the first when none is selected).
    void display_pgm();

    std::array<std::array<QLineEdit*, kGridColumns>, kGridRows> display_cells{};  // [0][0] is null
    std::array<QRadioButton*, korv::editors::afr::kKinds> kind_buttons{};

private:
    korv::editors::afr::AfrCells cell_values_;
};
