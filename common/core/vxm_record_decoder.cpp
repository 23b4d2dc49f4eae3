#include "common/core/vxm_record_decoder.h"

#include "common/core/byte_order.h"
#include "common/core/java_numbers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korv {
namespace {

float decode_one(const std::uint8_t* src, FloatOrder order) {
    return trim_decimals(order == FloatOrder::big ? load_f32_be(src) : load_f32_le(src));
}

#if defined(__SSE2__)
// Four floats at once, bit for bit as trim_decimals. The compiler does not
// vectorise the scalar form (its NaN and range tests are branches it must
// keep), so the steps are spelt out. cvttps2dq gives INT_MIN for NaN and
// for anything out of range, which is already right for x <= -2^31; the
// other two cases are patched: x >= 2^31 becomes 2^31 ((float)INT_MAX
// rounds to it) by flipping the sign of -2^31, and NaN becomes 0.
template <FloatOrder Order>
void decode_four(const std::uint8_t* src, float* out) {
    __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    if constexpr (Order == FloatOrder::big) {
        raw = _mm_or_si128(_mm_slli_epi16(raw, 8), _mm_srli_epi16(raw, 8));
        raw = _mm_shufflelo_epi16(raw, _MM_SHUFFLE(2, 3, 0, 1));
        raw = _mm_shufflehi_epi16(raw, _MM_SHUFFLE(2, 3, 0, 1));
    }
    const __m128 hundred = _mm_set1_ps(100.0f);
    const __m128 x = _mm_mul_ps(_mm_castsi128_ps(raw), hundred);
    __m128 t = _mm_cvtepi32_ps(_mm_cvttps_epi32(x));
    const __m128 too_big = _mm_cmpge_ps(x, _mm_set1_ps(2147483648.0f));
    t = _mm_xor_ps(t, _mm_and_ps(too_big, _mm_set1_ps(-0.0f)));
    t = _mm_and_ps(t, _mm_cmpord_ps(x, x));
    // t / 100 through double: t is a whole number below 2^31 in magnitude, so
    // t * 0.01 in double lies far closer to the true quotient than any float
    // rounding boundary and rounds to the same float as the division (checked
    // for every whole-number float in range). Multiplies are much cheaper.
    const __m128d hundredth = _mm_set1_pd(0.01);
    const __m128 low = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(t), hundredth));
    const __m128 high = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(t, t)), hundredth));
    _mm_storeu_ps(out, _mm_movelh_ps(low, high));
}
#endif

}  // namespace

void decode_trimmed_floats(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    if (order == FloatOrder::big) {
        for (; i + 4 <= n; i += 4) decode_four<FloatOrder::big>(src + 4 * i, out + i);
    } else {
        for (; i + 4 <= n; i += 4) decode_four<FloatOrder::little>(src + 4 * i, out + i);
    }
#endif
    for (; i < n; ++i) out[i] = decode_one(src + 4 * i, order);
}

}  // namespace korv
