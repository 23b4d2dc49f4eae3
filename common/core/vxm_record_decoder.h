#pragma once

#include <cstddef>
#include <cstdint>

#include "common/core/vxm_float_order.h"

namespace korv {

// Decodes n consecutive 4-byte floats stored in `order` and passes each
// through trim_decimals. Gives exactly trim_decimals' results, but in a form
// the compiler vectorises: the player reads every record through here.
void decode_trimmed_floats(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n);

}  // namespace korv
