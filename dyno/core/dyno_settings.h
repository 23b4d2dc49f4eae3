#pragma once
// Ergomark's program-wide settings: vehicle, corrections and smoothing.
#include "dyno/core/smoothing.h"

namespace korv::dyno {

struct DynoSettings {
    // Stored values, in the order they are written.
    int car = 0;
    int gear = 1;          // 2nd
    float mass = 3251.0f;  // lb
    int aa = 1;            // averaging window is aa + 1 samples
    float blend = 0.7f;    // "SF": time blend, s
    float loss = 0.0f;     // "Dtl": drivetrain loss, %
    int loss_en = 0;
    int sae_en = 0;
    float sae_temp = 80.0f;        // F
    float sae_pressure = 1013.0f;  // mbar, dry air
    int drag_en = 0;
    int bspline_en = 1;  // smoothing mode bit 0, 0 or 1
    int lopass_en = 0;   // smoothing mode bit 1, stored as 0 or 2
    float rez = 1.0f;
    float cutoff = 32.0f;

    // Held while the program runs, not stored.
    int gap = 1;               // samples between the two averaging windows
    float tyre_revs = 861.0f;  // tyre revolutions per mile
    double gear_ratio = 1.684;
    double final_drive = 4.929;

    // Car row: takes its gear ratio, final drive and weight. Rows outside the
    // table are ignored.
    void choose_car(int row);
    // Gear 0..4 of the current car; others are ignored.
    void choose_gear(int index);

    int smoothing_mode() const { return (bspline_en ? 1 : 0) | (lopass_en ? 2 : 0); }
    SmoothingParams smoothing() const { return {smoothing_mode(), blend, cutoff, rez}; }
};

}  // namespace korv::dyno
