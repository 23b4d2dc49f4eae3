#include "sim/core/cable0_box.h"

namespace korv::sim {

using platform::serial::LineChange;
using platform::serial::OutputLine;

Cable0Box::Cable0Box(Pacing pacing, std::int64_t turnaround_us) : InterfaceBox(pacing, turnaround_us) {}

Cable0Box::~Cable0Box() { stop(); }

void Cable0Box::on_line_change(const LineChange& change) {
    if (change.line == OutputLine::Dtr) set_carrier(change.on);
}

void Cable0Box::hear(std::uint8_t byte) {
    bool powered = false;
    for (const LineChange& change : line_changes_so_far())
        if (change.line == OutputLine::Dtr) powered = change.on;
    if (!powered) return;
    note_frame({byte});
    if (byte == kStartByte) {
        answer({kStartByte});
        return;
    }
    const auto data = car().data(byte);
    if (!data || data->empty()) return;  // a parameter the car lacks: silence
    answer({byte, (*data)[0], data->size() > 1 ? (*data)[1] : std::uint8_t{0}});
}

}  // namespace korv::sim
