#pragma once
// How well a text colour stands out from its background: the relative
// luminance and contrast ratio of the common accessibility rule, and the
// text colours picked by it.
#include "common/core/colour.h"

#include <cstdint>

namespace korv {

// Least contrast of text against its background: the rule for body text.
inline constexpr double kReadableContrast = 4.5;

// 0 for black to 1 for white, as the eye weighs the three primaries.
double relative_luminance(Colour c);

// From 1 (the same) to 21 (black on white), whichever colour is the text.
double contrast_ratio(Colour a, Colour b);

// Black or white, whichever stands out more; one of them always reads.
Colour readable_text_on(Colour background);

// Text meant to look greyed: the grey nearest `preferred` that reads on the
// background, looking first among the darker ones (so a light background
// keeps the lightest dark grey that reads, a dark one gets a light grey).
Colour readable_grey_on(Colour background, std::uint8_t preferred);

}  // namespace korv
