#include "dyno/core/dyno_settings.h"

#include "dyno/core/car_table.h"

namespace korv::dyno {

void DynoSettings::choose_car(int row) {
    if (row < 0 || row >= kCarCount) return;
    car = row;
    const CarSpec& spec = car_table()[static_cast<std::size_t>(row)];
    gear_ratio = spec.gears[gear >= 0 && gear < kGearCount ? gear : 1];
    final_drive = spec.final_drive;
    mass = static_cast<float>(spec.weight_lb);
}

void DynoSettings::choose_gear(int index) {
    if (index < 0 || index >= kGearCount) return;
    gear = index;
    gear_ratio = car_table()[static_cast<std::size_t>(car)].gears[index];
}

}  // namespace korv::dyno
