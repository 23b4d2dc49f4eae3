#include "common/core/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

Colour grey(int level) {
    const auto g = static_cast<std::uint8_t>(level);
    return Colour{g, g, g};
}

}  // namespace

double relative_luminance(Colour c) {
    const auto linear = [](std::uint8_t byte) {
        const double v = byte / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast_ratio(Colour a, Colour b) {
    const double la = relative_luminance(a), lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour readable_text_on(Colour background) {
    const Colour black = grey(0), white = grey(255);
    return contrast_ratio(black, background) >= contrast_ratio(white, background) ? black : white;
}

Colour readable_grey_on(Colour background, std::uint8_t preferred) {
    const auto reads = [&](int level) { return contrast_ratio(grey(level), background) >= kReadableContrast; };
    for (int level = preferred; level >= 0; --level)
        if (reads(level)) return grey(level);
    for (int level = preferred + 1; level <= 255; ++level)
        if (reads(level)) return grey(level);
    return readable_text_on(background);
}

}  // namespace korv
