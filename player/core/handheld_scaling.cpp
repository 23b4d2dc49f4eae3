#include "player/core/handheld_scaling.h"

namespace korv::player {
namespace {

float percent_of_128(float a) { return (a / 128.0f * 100.0f) - 100.0f; }
float percent_of_255(float a) { return a / 255.0f * 100.0f; }

// Codes 90-96 scale alike in both widths; any other code is 0.0.
float common_row(int code, float a) {
    switch (code) {
    case 90: return a * 0.621f;
    case 91: return a * 0.2952f;
    case 92:
    case 93: return percent_of_128(a);
    case 94: return percent_of_255(a);
    case 95: return a * 0.005f;
    case 96: return a;
    default: return 0.0f;
    }
}

float two_byte(int code, float a, float ab) {
    switch (code) {
    case 0: return (a - 128.0f) * 0.5f;
    case 1: return (a - 40.0f) * 1.8f + 32.0f;
    case 3: return a * 0.005f;
    case 7: return percent_of_255(a);
    case 9: return ab / 4.0f;
    case 10: return a * 0.256f;
    case 11: return (a - 40.0f) * 1.8f + 32.0f;
    case 12:
    case 13:
    case 14: return percent_of_128(a);
    case 15:
    case 17: return a;
    case kHandheldAirFlowCode: return ab / 100.0f * 60.0f * 0.002205f;
    case 20: return a * 0.6214f;
    default: return common_row(code, a);
    }
}

float one_byte(int code, float a) {
    switch (code) {
    case 0: return a / 3.0f;
    case 1: return 198.0f - a;
    case 3: return a * 0.02f;
    case 7: return a / 2.5f;
    case 9: return a * 31.37f;
    case 10: return a * 0.256f;
    case 11: return 211.0f - a;
    case 12:
    case 13:
    case 14: return a * 1.27f;
    case 15:
    case 17:
    case kHandheldAirFlowCode: return a;
    case 20: return 0.0f;
    default: return common_row(code, a);
    }
}

}  // namespace

float convert_handheld_sample(HandheldLogKind kind, int code, std::uint8_t a, std::uint8_t b) {
    const float fa = static_cast<float>(a);
    if (kind == HandheldLogKind::two_byte) return two_byte(code, fa, static_cast<float>(a * 256 + b));
    return one_byte(code, fa);
}

}  // namespace korv::player
