#include "common/core/vxm_record_decoder.h"

#include "common/core/byte_order.h"
#include "common/core/java_numbers.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KORV_HAVE_X86_PATHS 1
#endif

namespace korv {
namespace {

float decode_one(const std::uint8_t* src, FloatOrder order) {
    return trim_decimals(order == FloatOrder::big ? load_f32_be(src) : load_f32_le(src));
}

void decode_scalar(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = decode_one(src + 4 * i, order);
}

#if defined(KORV_HAVE_X86_PATHS) && defined(__SSE2__)
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

template <FloatOrder Order>
std::size_t decode_fours(const std::uint8_t* src, float* out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) decode_four<Order>(src + 4 * i, out + i);
    return i;
}

void decode_sse2(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    const std::size_t done = order == FloatOrder::big ? decode_fours<FloatOrder::big>(src, out, n)
                                                      : decode_fours<FloatOrder::little>(src, out, n);
    decode_scalar(src + 4 * done, order, out + done, n - done);
}

// The same steps eight wide. The build stays for any x86-64: only this
// function uses AVX2, and it is called only where the processor has it.
template <FloatOrder Order>
__attribute__((target("avx2"))) std::size_t decode_eights(const std::uint8_t* src, float* out, std::size_t n) {
    const __m256i reverse_each_float = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1,
                                                        0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    const __m256 hundred = _mm256_set1_ps(100.0f);
    const __m256 two_to_31 = _mm256_set1_ps(2147483648.0f);
    const __m256 sign = _mm256_set1_ps(-0.0f);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 4 * i));
        if constexpr (Order == FloatOrder::big) raw = _mm256_shuffle_epi8(raw, reverse_each_float);
        const __m256 x = _mm256_mul_ps(_mm256_castsi256_ps(raw), hundred);
        __m256 t = _mm256_cvtepi32_ps(_mm256_cvttps_epi32(x));
        t = _mm256_xor_ps(t, _mm256_and_ps(_mm256_cmp_ps(x, two_to_31, _CMP_GE_OQ), sign));
        t = _mm256_and_ps(t, _mm256_cmp_ps(x, x, _CMP_ORD_Q));
        // Here the division itself: eight at a time it costs less than the
        // conversions to double and back that stand in for it four wide.
        _mm256_storeu_ps(out + i, _mm256_div_ps(t, hundred));
    }
    return i;
}

void decode_avx2(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    const std::size_t done = order == FloatOrder::big ? decode_eights<FloatOrder::big>(src, out, n)
                                                      : decode_eights<FloatOrder::little>(src, out, n);
    decode_sse2(src + 4 * done, order, out + done, n - done);
}
#endif

using Decoder = void (*)(const std::uint8_t*, FloatOrder, float*, std::size_t);

Decoder decoder_for(DecodePath path) {
    if (!decode_path_available(path)) return decode_scalar;
    switch (path) {
    case DecodePath::scalar: return decode_scalar;
#if defined(KORV_HAVE_X86_PATHS) && defined(__SSE2__)
    case DecodePath::sse2: return decode_sse2;
    case DecodePath::avx2: return decode_avx2;
#else
    default: break;
#endif
    }
    return decode_scalar;
}

Decoder best_decoder() {
    for (DecodePath path : {DecodePath::avx2, DecodePath::sse2}) {
        if (decode_path_available(path)) return decoder_for(path);
    }
    return decode_scalar;
}

}  // namespace

bool decode_path_available(DecodePath path) {
    switch (path) {
    case DecodePath::scalar: return true;
#if defined(KORV_HAVE_X86_PATHS) && defined(__SSE2__)
    case DecodePath::sse2: return true;
    case DecodePath::avx2: return __builtin_cpu_supports("avx2");
#else
    default: return false;
#endif
    }
    return false;
}

void decode_trimmed_floats_with(DecodePath path, const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    decoder_for(path)(src, order, out, n);
}

void decode_trimmed_floats(const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
    static const Decoder decoder = best_decoder();
    decoder(src, order, out, n);
}

}  // namespace korv
