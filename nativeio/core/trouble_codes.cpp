#include "nativeio/core/trouble_codes.h"

#include "nativeio/core/engines.h"

#include <cstdio>

namespace korv::korvio {

std::string obd_code_text(std::uint8_t high, std::uint8_t low) {
    static constexpr char kLetters[] = {'P', 'C', 'B', 'U'};
    char text[8];
    std::snprintf(text, sizeof text, "%c%.4x", kLetters[high >> 6], ((high & 0x3F) << 8) | low);
    return text;
}

const char* dsm_code_text(int bit) {
    static constexpr const char* kTexts[16] = {
        "11 - O2 sensor",     "12 - Air flow sensor",   "13 - Intake air temp", "14 - TPS",
        "15 - ISC",           "21 - Engine coolant",    "22 - Crank sensor",    "23 - Cam sensor",
        "24 - Speed sensor",  "25 - Barometric sensor", "31 - Knock sensor",    "36 - Ignition timing",
        "41 - Fuel injector", "42 - Fuel pump",         "43 - EGR system",      "44 - Ignition system",
    };
    return bit >= 0 && bit < 16 ? kTexts[bit] : "";
}

int read_trouble_codes(int port, int cable) {
    return cable == 4 ? read_dsm_trouble_codes(port) : read_obd_trouble_codes(port);
}

}  // namespace korv::korvio
