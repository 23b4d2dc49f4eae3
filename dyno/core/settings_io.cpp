#include "dyno/core/settings_io.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace korv::dyno {
namespace {

const platform::SettingsPath kRoot{};

void read_int(const platform::SettingsStore& store, std::string_view name, int& value) {
    if (auto dword = store.read_dword(kRoot, name)) value = static_cast<int>(static_cast<std::int32_t>(*dword));
}

void read_float(const platform::SettingsStore& store, std::string_view name, float& value) {
    if (auto dword = store.read_dword(kRoot, name)) {
        const float stored = std::bit_cast<float>(*dword);
        if (std::isfinite(stored)) value = stored;
    }
}

bool write_int(platform::SettingsStore& store, std::string_view name, int value) {
    return store.write_dword(kRoot, name, static_cast<std::uint32_t>(value));
}

bool write_float(platform::SettingsStore& store, std::string_view name, float value) {
    return store.write_dword(kRoot, name, std::bit_cast<std::uint32_t>(value));
}

}  // namespace

void LoadSettings(const platform::SettingsStore& store, DynoSettings& s) {
    int car = s.car, gear = s.gear;
    read_int(store, "Car", car);
    read_int(store, "Gear", gear);
    if (car < 0 || car > 15) car = 0;
    if (gear < 0 || gear > 4) gear = 1;
    s.gear = gear;
    s.choose_car(car);  // gear ratio, final drive and weight of the row

    read_float(store, "Mass", s.mass);
    read_int(store, "AA", s.aa);
    read_float(store, "SF", s.blend);
    read_float(store, "Dtl", s.loss);
    read_int(store, "DtlEn", s.loss_en);
    read_int(store, "CorrEn", s.sae_en);
    read_float(store, "CorrTemp", s.sae_temp);
    read_float(store, "CorrPressure", s.sae_pressure);
    read_int(store, "DragEn", s.drag_en);
    read_int(store, "BSplineEn", s.bspline_en);
    read_int(store, "LoPassEn", s.lopass_en);
    read_float(store, "Rez", s.rez);
    read_float(store, "Cutoff", s.cutoff);
}

bool SaveSettings(platform::SettingsStore& store, const DynoSettings& s) {
    bool ok = true;
    ok &= write_int(store, "Car", s.car);
    ok &= write_int(store, "Gear", s.gear);
    ok &= write_float(store, "Mass", s.mass);
    ok &= write_int(store, "AA", s.aa);
    ok &= write_float(store, "SF", s.blend);
    ok &= write_float(store, "Dtl", s.loss);
    ok &= write_int(store, "DtlEn", s.loss_en);
    ok &= write_int(store, "CorrEn", s.sae_en);
    ok &= write_float(store, "CorrTemp", s.sae_temp);
    ok &= write_float(store, "CorrPressure", s.sae_pressure);
    ok &= write_int(store, "DragEn", s.drag_en);
    ok &= write_int(store, "BSplineEn", s.bspline_en);
    ok &= write_int(store, "LoPassEn", s.lopass_en);
    ok &= write_float(store, "Rez", s.rez);
    ok &= write_float(store, "Cutoff", s.cutoff);
    ok &= store.flush();
    return ok;
}

}  // namespace korv::dyno
