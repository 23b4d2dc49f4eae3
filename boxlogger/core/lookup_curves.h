#pragma once
// Temperature curves (degrees Fahrenheit) indexed by a sensor's raw byte:
// whole numbers falling smoothly through the measured rows, flat from 240.
#include <array>

namespace korv::boxlogger {

using LookupCurve = std::array<float, 256>;

const LookupCurve& CoolantCurve();
const LookupCurve& EgrCurve();
const LookupCurve& AirCurve();

}  // namespace korv::boxlogger
