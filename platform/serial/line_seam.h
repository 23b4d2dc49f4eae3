#pragma once
// A pty has no modem lines and ignores break. A seam attached to a device
// path records what the serial layer does to the output lines (with the
// process clock's time) and lets a test or a simulated device drive the input
// lines that a real cable would.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korv::platform::serial {

enum class OutputLine { Dtr, Rts, Break };
enum class InputLine { Cts, Dsr, Ri, Dcd };

struct LineChange {
    OutputLine line;
    bool on;
    std::int64_t at_us;  // process clock
    bool operator==(const LineChange&) const = default;
};

class LineSeam {
public:
    using Listener = std::function<void(const LineChange&)>;

    // Overrides what the device reports for the line until released.
    void set_input(InputLine line, bool asserted);
    void release_input(InputLine line);
    std::optional<bool> input(InputLine line) const;

    std::vector<LineChange> changes() const;
    void clear_changes();

    // Told of each change on the thread that made it, after it is recorded.
    void set_listener(Listener listener);

    // Called by the serial layer.
    void record(OutputLine line, bool on);

private:
    mutable std::mutex mutex_;
    std::optional<bool> inputs_[4];
    std::vector<LineChange> changes_;
    std::shared_ptr<const Listener> listener_;
};

// The seam a device path opened now would use, if any.
std::shared_ptr<LineSeam> find_line_seam(const std::string& path);

// Attaches a fresh seam to a path for its lifetime. Ports opened while it is
// attached keep using it until they close.
class ScopedLineSeam {
public:
    explicit ScopedLineSeam(std::string path);
    ~ScopedLineSeam();
    ScopedLineSeam(const ScopedLineSeam&) = delete;
    ScopedLineSeam& operator=(const ScopedLineSeam&) = delete;

    LineSeam& seam() const { return *seam_; }
    LineSeam* operator->() const { return seam_.get(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::shared_ptr<LineSeam> seam_;
};

}  // namespace korv::platform::serial
