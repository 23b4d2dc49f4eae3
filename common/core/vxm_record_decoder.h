#pragma once

#include <cstddef>
#include <cstdint>

#include "common/core/vxm_float_order.h"

namespace korv {

// Decodes n consecutive 4-byte floats stored in `order` and passes each
// through trim_decimals. Gives exactly trim_decimals' results, but several
// at a time: the player reads every record through here. The widest path
// the processor offers is chosen once, at the first call.
void decode_trimmed_floats(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n);

// The decoder's paths, so that each can be checked against the others.
enum class DecodePath { scalar, sse2, avx2 };
bool decode_path_available(DecodePath path);
// As decode_trimmed_floats through one path; an unavailable path falls back
// to the scalar one.
void decode_trimmed_floats_with(DecodePath path, const std::uint8_t* src, FloatOrder order, float* out, std::size_t n);

}  // namespace korv
