#include "editors/core/controller_file.h"

#include "common/core/atomic_file_writer.h"
#include "common/core/byte_order.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace korv::editors {

std::string_view controller_title(ControllerTag tag) {
    switch (tag) {
    case ControllerTag::knob_afc: return "AFC 1st generation configuration file";
    case ControllerTag::knob_itc: return "ITC 1st generation configuration file";
    case ControllerTag::vcd_afc: break;
    }
    return "AFC 2nd generation configuration file";
}

void append_i16_be(std::vector<std::uint8_t>& out, int value) {
    std::uint8_t b[2];
    store_u16_be(b, static_cast<std::uint16_t>(value));
    out.insert(out.end(), b, b + 2);
}

void append_header(std::vector<std::uint8_t>& out, ControllerTag tag) {
    append_i16_be(out, static_cast<int>(tag));
    const std::string_view title = controller_title(tag);
    out.insert(out.end(), title.begin(), title.end());
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads up to n bytes; false with errno set on a read error.
bool read_up_to(int fd, std::uint8_t* out, std::size_t n, std::size_t& got) {
    got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, out + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

}  // namespace

FileRead read_controller_file(const std::string& path, ControllerTag tag, std::size_t size) {
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return FileMissing{};
        return ReadFailed{std::strerror(errno)};
    }
    std::vector<std::uint8_t> bytes(size);
    std::size_t got = 0;
    if (!read_up_to(fd.get(), bytes.data(), size, got)) return ReadFailed{std::strerror(errno)};
    if (got < 2) return ReadFailed{"the file ends before its tag"};
    if (load_u16_be(bytes.data()) != static_cast<std::uint16_t>(tag)) return WrongTag{};
    if (got < size)
        return ReadFailed{"the file ends after " + std::to_string(got) + " of its " + std::to_string(size) + " bytes"};
    return FileBytes{std::move(bytes)};
}

std::optional<std::string> write_controller_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    AtomicFileWriter writer(bytes.size());
    if (auto failure = writer.open(path)) return failure;
    writer.write(bytes.data(), bytes.size());
    return writer.commit();
}

std::int64_t calculate_point(std::int64_t y2, std::int64_t y1, std::int64_t x2, std::int64_t x1, std::int64_t x) {
    if (x2 == x1) return y1;
    return (y2 - y1) * (x - x1) / (x2 - x1) + y1;
}

int to_int(std::int64_t value) {
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace korv::editors
