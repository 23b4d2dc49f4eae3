#pragma once
// The colours of the 3-D plot: the named ones, the darkened ones and the
// colour rows and default colours the options dialog offers.
#include "common/core/colour.h"
#include "plot3d/core/mapper.h"  // kYellow, the mapper's default

#include <array>
#include <cstdint>
#include <string_view>

namespace korv::plot3d {

// One step darker: each component times 0.7, truncated.
constexpr Colour darker(Colour c) {
    auto dim = [](std::uint8_t v) { return static_cast<std::uint8_t>(static_cast<int>(v * 0.7)); };
    return {dim(c.r), dim(c.g), dim(c.b)};
}

inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kPink{255, 175, 175};
inline constexpr Colour kLightGrey{192, 192, 192};
inline constexpr Colour kGrey{128, 128, 128};
inline constexpr Colour kDarkGrey{64, 64, 64};
inline constexpr Colour kLegendLabelRed = darker(kRed);

// "Default" of the options, in the order it lists them.
inline constexpr std::array<std::string_view, 6> kDefaultColourNames{"Yellow", "Red", "Blue", "Green", "White", "Pink"};
inline constexpr std::array<Colour, 6> kDefaultColours{kYellow, kRed, kBlue, kGreen, kWhite, kPink};

// The twelve colour rows: the six plain colours, then each darkened twice.
inline constexpr std::array<std::string_view, 12> kColourRowNames{
    "Yellow",      "Red",      "Blue",      "Green",      "White",      "Pink",
    "Dark Yellow", "Dark Red", "Dark Blue", "Dark Green", "Dark White", "Dark Pink"};

constexpr std::array<Colour, 12> colour_rows() {
    std::array<Colour, 12> rows{};
    for (std::size_t i = 0; i < kDefaultColours.size(); ++i) {
        rows[i] = kDefaultColours[i];
        rows[i + 6] = darker(darker(kDefaultColours[i]));
    }
    return rows;
}

}  // namespace korv::plot3d
