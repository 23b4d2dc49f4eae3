#pragma once
// The logger sample dump (kvt1.tmp; the DSM engine's kvt2.tmp): a head that
// names the logged channels, then samples in the order taken. The names and
// the layout the logger reads back are in nativeio/include/korvio_files.h.
//
// Samples gather in a buffer that reaches the file in blocks, and only
// whole cycles ever reach it: the reader cuts the samples into records of
// one sample per channel, so one partial cycle would shift every column
// after it.
#include "nativeio/core/working_file.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace korv::korvio {

// Removes an earlier run's dump (or a handheld's under the same name), so
// that a run which fails before its own dump exists leaves none to be taken
// for it. 0, or -100 when a file stays.
int remove_logger_dump(const char* name);

class LoggerDump {
public:
    static constexpr int kBufferSize = 8192;
    // Kept cycles are written once the buffer holds more than this.
    static constexpr int kBlockThreshold = 8000;

    LoggerDump(const char* name, int sample_size);

    // Creates the file anew and writes its head: the number of ids as a
    // signed 32-bit little-endian count, then the low byte of each id.
    // 0, or -100 when the file cannot be created or written. Called again
    // before a cycle was kept, it begins the file anew with the new head
    // and drops the cycle under way.
    int create(const std::vector<int>& ids);

    // Adds a sample of sample_size bytes to the cycle under way.
    void add(const std::uint8_t* sample);

    // Ends the cycle under way: a complete one is kept, one cut short is
    // dropped. Writes the kept samples once the buffer holds more than
    // kBlockThreshold bytes. 0 or -100.
    int end_cycle(bool complete);

    // Writes the kept samples and closes the file. 0 or -100.
    int finish();

private:
    bool write_kept();

    const char* name_;
    int sample_size_;
    std::optional<WorkingFile> file_;
    std::array<std::uint8_t, kBufferSize> buffer_{};
    int offset_ = 0;  // end of the samples gathered
    int mark_ = 0;    // end of the last complete cycle
};

}  // namespace korv::korvio
