#pragma once
// Built-in vehicle data: gearing, weight and drag of the supported cars.
#include <array>
#include <string_view>

namespace korv::dyno {

struct CarSpec {
    double gears[5];  // 1st..5th; 0 means the gear does not exist
    double final_drive;
    double weight_lb;
    double cd;       // drag coefficient
    double area_m2;  // frontal area
    char name[16];
};

inline constexpr int kCarCount = 16;
inline constexpr int kGearCount = 5;

const std::array<CarSpec, kCarCount>& car_table();
// "1st" .. "5th"; empty outside 0..4.
std::string_view gear_name(int gear);

}  // namespace korv::dyno
