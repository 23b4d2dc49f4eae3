#pragma once
// The OBD-II logging engines of cables 0-3: one loop (obd_engine.cpp) and,
// per cable, a link that knows its frames, its start request and what it
// does on leaving a pause.
#include "nativeio/core/obd_channels.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace korv::korvio {

// Result of a resume that gave up because the caller no longer asks to run.
inline constexpr int kResumeAbandoned = 1;

// The fixed sample the demonstration port gives cables 0, 2 and 3.
inline constexpr std::uint8_t kDemoA = 0x00;
inline constexpr std::uint8_t kDemoB = 0x50;

struct ObdSample {
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    // Cable 1: the car sent nothing for the request (the exchange gives -3,
    // which is also a closed port's code).
    bool no_data = false;
};

class ObdLink {
public:
    explicit ObdLink(std::vector<ChannelRow> rows) : rows_(std::move(rows)) {}
    virtual ~ObdLink() = default;
    ObdLink(const ObdLink&) = delete;
    ObdLink& operator=(const ObdLink&) = delete;

    const std::vector<ChannelRow>& rows() const { return rows_; }
    // Polls no more for row `index`; the rows after it move up.
    void drop_row(std::size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

    // A run's link set-up, before its look-ups (cables 2 and 3).
    virtual int set_up_run() { return 0; }
    // Once the run's dump exists.
    virtual void dump_created() {}
    // The start request. A probe (mode 1, or any mode but 2) ends with its
    // result; a run goes on unless it fails.
    virtual int start(int mode) = 0;
    // One request and its reply for row `index`.
    virtual int exchange(std::size_t index, ObdSample* sample) = 0;
    // Leaving a pause. still_running() turns false once the caller no longer
    // asks to run; a long set-up may then give up with kResumeAbandoned.
    virtual int resume(const std::function<bool()>& still_running) = 0;

protected:
    std::vector<ChannelRow> rows_;
};

std::unique_ptr<ObdLink> make_cable0_link(int port, const std::vector<int>& items);
std::unique_ptr<ObdLink> make_cable1_link(int port, const std::vector<int>& items);
std::unique_ptr<ObdLink> make_cable2_link(int port, const std::vector<int>& items);
std::unique_ptr<ObdLink> make_cable3_link(int port, const std::vector<int>& items);

}  // namespace korv::korvio
