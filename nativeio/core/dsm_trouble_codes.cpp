// Trouble codes of a first-generation DSM ECU: four command bytes, each
// echoed; the echoes of 3B and 3C are followed by the high and low byte of
// the code word, one bit per code.
#include "nativeio/core/dtc_report.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "nativeio/core/trouble_codes.h"

namespace korv::korvio {
namespace {

constexpr std::uint8_t kEnter = 0xFE;
constexpr std::uint8_t kHighByte = 0x3B;
constexpr std::uint8_t kLowByte = 0x3C;
constexpr std::uint8_t kLeave = 0xFD;
constexpr int kAttempts = 3;
constexpr int kEchoSeconds = 2;
constexpr int kValueSeconds = 1;
constexpr std::uint16_t kDemoCodeWord = 0xFFFF;

// Up to three tries; the first byte that comes decides.
bool command(int port, std::uint8_t byte) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        SioDrainRx(port);
        SioPutc(port, byte);
        if (wait_for_reply_within(port, 1, kEchoSeconds) != kDone) continue;
        return SioGetc(port) == byte;
    }
    return false;
}

int value_byte(int port) {
    if (wait_for_reply_within(port, 1, kValueSeconds) != kDone) return -1;
    return SioGetc(port);
}

int read_code_word(int port, std::uint16_t* word) {
    SioDrainRx(port);
    if (!command(port, kEnter)) return kDsmFirstEchoWrong;
    if (!command(port, kHighByte)) return kDsmHighEchoWrong;
    const int high = value_byte(port);
    if (high < 0) return kDsmHighByteMissing;
    if (!command(port, kLowByte)) return kDsmLowEchoWrong;
    const int low = value_byte(port);
    if (low < 0) return kDsmLowByteMissing;
    if (!command(port, kLeave)) return kDsmLastEchoWrong;
    *word = static_cast<std::uint16_t>((high << 8) | low);
    return kDone;
}

}  // namespace

int read_dsm_trouble_codes(int port) {
    std::uint16_t word = kDemoCodeWord;
    if (port != kDemoPort)
        if (int r = read_code_word(port, &word); r != kDone) return r;
    WorkingFile file(korvio_files::kDtcReportName);
    return write_dtc_report(file, dsm_report(word)) ? kDone : kWorkingFileFailed;
}

}  // namespace korv::korvio
