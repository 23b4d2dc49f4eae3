// DynoSettings through the settings store under their original names.
#include "dyno/core/settings_io.h"

#include "dyno/core/car_table.h"
#include "platform/core/memory_settings_store.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace korv::dyno {
namespace {

using platform::MemorySettingsStore;

TEST(DynoSettings, RoundTripKeepsFloatBits) {
    MemorySettingsStore store;
    DynoSettings out;
    out.choose_car(11);
    out.choose_gear(2);
    out.mass = 3123.4f;
    out.aa = 3;
    out.blend = 0.35f;
    out.loss = 12.5f;
    out.loss_en = 1;
    out.sae_en = 1;
    out.sae_temp = 71.3f;
    out.sae_pressure = 998.1f;
    out.drag_en = 1;
    out.bspline_en = 0;
    out.lopass_en = 2;
    out.rez = 0.7f;
    out.cutoff = 24.5f;
    ASSERT_TRUE(SaveSettings(store, out));

    EXPECT_EQ(store.read_dword({}, "SF"), std::bit_cast<std::uint32_t>(0.35f));
    EXPECT_EQ(store.read_dword({}, "LoPassEn"), 2u);
    EXPECT_EQ(store.value_names({}).size(), 15u);

    DynoSettings in;
    LoadSettings(store, in);
    EXPECT_EQ(in.car, 11);
    EXPECT_EQ(in.gear, 2);
    EXPECT_EQ(in.gear_ratio, car_table()[11].gears[2]);
    EXPECT_EQ(in.final_drive, car_table()[11].final_drive);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.mass), std::bit_cast<std::uint32_t>(3123.4f));
    EXPECT_EQ(in.aa, 3);
    EXPECT_EQ(in.blend, 0.35f);
    EXPECT_EQ(in.loss, 12.5f);
    EXPECT_EQ(in.sae_temp, 71.3f);
    EXPECT_EQ(in.sae_pressure, 998.1f);
    EXPECT_EQ(in.smoothing_mode(), 2);
    EXPECT_EQ(in.rez, 0.7f);
    EXPECT_EQ(in.cutoff, 24.5f);
}

TEST(DynoSettings, OutOfRangeCarAndGearFallBack) {
    MemorySettingsStore store;
    store.write_dword({}, "Car", 16);
    store.write_dword({}, "Gear", 5);
    DynoSettings s;
    LoadSettings(store, s);
    EXPECT_EQ(s.car, 0);
    EXPECT_EQ(s.gear, 1);
    EXPECT_EQ(s.gear_ratio, 1.684);

    store.write_dword({}, "Car", 0xFFFFFFFFu);  // -1
    store.write_dword({}, "Gear", 3);
    DynoSettings t;
    LoadSettings(store, t);
    EXPECT_EQ(t.car, 0);
    EXPECT_EQ(t.gear_ratio, 0.833);
}

TEST(DynoSettings, MissingValuesKeepDefaultsAndCarWeightIsOverridden) {
    MemorySettingsStore store;
    DynoSettings s;
    LoadSettings(store, s);
    EXPECT_EQ(s.mass, 3251.0f);
    EXPECT_EQ(s.blend, 0.7f);
    EXPECT_EQ(s.smoothing_mode(), 1);

    store.write_dword({}, "Car", 3);
    DynoSettings row3;
    LoadSettings(store, row3);
    EXPECT_EQ(row3.mass, 2651.0f);  // the row's weight without a stored "Mass"
    store.write_dword({}, "Mass", std::bit_cast<std::uint32_t>(2500.0f));
    LoadSettings(store, row3);
    EXPECT_EQ(row3.mass, 2500.0f);
}

TEST(DynoSettings, NonFiniteStoredFloatsKeepTheDefault) {
    MemorySettingsStore store;
    store.write_dword({}, "SF", std::bit_cast<std::uint32_t>(NAN));
    store.write_dword({}, "Cutoff", std::bit_cast<std::uint32_t>(INFINITY));
    DynoSettings s;
    LoadSettings(store, s);
    EXPECT_EQ(s.blend, 0.7f);
    EXPECT_EQ(s.cutoff, 32.0f);
}

}  // namespace
}  // namespace korv::dyno
