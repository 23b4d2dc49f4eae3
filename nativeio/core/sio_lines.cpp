// Modem lines, break and line errors of an open slot.
#include "nativeio/core/port_table.h"

namespace korv::korvio {
namespace {

using platform::serial::InputLines;

int output_line(int port, int letter, std::uint8_t shadow_bit) {
    return with_open_slot(port, [&](Slot& slot) {
        auto set = [&](bool on) {
            const int e = shadow_bit == kShadowDtr ? slot.tty->set_dtr(on) : slot.tty->set_rts(on);
            if (e != 0) return 0;
            if (on)
                slot.line_shadow |= shadow_bit;
            else
                slot.line_shadow &= static_cast<std::uint8_t>(~shadow_bit);
            return 1;
        };
        switch (letter & 0xFF) {
        case 'S': return set(true);
        case 'C': return set(false);
        case 'R': return static_cast<int>(slot.line_shadow & shadow_bit);
        default: return kBadArgument;
        }
    });
}

int input_line(int port, bool InputLines::*line, int bit) {
    return with_open_slot(port, [&](Slot& slot) {
        InputLines lines;
        if (slot.tty->input_lines(&lines) != 0) return 0;
        return lines.*line ? bit : 0;
    });
}

}  // namespace

int SioDTR(int port, int letter) { return output_line(port, letter, kShadowDtr); }
int SioRTS(int port, int letter) { return output_line(port, letter, kShadowRts); }

int SioCTS(int port) { return input_line(port, &InputLines::cts, 0x10); }
int SioDSR(int port) { return input_line(port, &InputLines::dsr, 0x20); }
int SioRI(int port) { return input_line(port, &InputLines::ri, 0x40); }
int SioDCD(int port) { return input_line(port, &InputLines::dcd, 0x80); }

int SioError(int port, int mask) {
    return with_open_slot(port, [&](Slot& slot) {
        collect_line_errors(slot);
        const unsigned word = slot.error_word;
        slot.error_word = 0;
        return static_cast<int>(word & static_cast<unsigned>(mask));
    });
}

int SioBreak(int port, int letter) {
    return with_open_slot(port, [&](Slot& slot) {
        switch (letter & 0xFF) {
        case 'A': return slot.tty->set_break(true) == 0 ? 1 : 0;
        case 'C': return slot.tty->set_break(false) == 0 ? 1 : 0;
        case 'D': {
            collect_line_errors(slot);
            const unsigned word = slot.error_word;
            slot.error_word = 0;
            return static_cast<int>(word & kErrorBreak);
        }
        default: return kBadArgument;
        }
    });
}

}  // namespace korv::korvio
