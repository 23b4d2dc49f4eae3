#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Writes a file so that a failure never leaves a half-written file in place
// of a good one: the bytes go to a temporary file beside the target, which
// replaces the target only on commit(). Until then the target is untouched;
// a writer destroyed or discarded without commit removes its temporary file.
//
// Writes are buffered; a write error is kept and reported by commit().
namespace korv {

class AtomicFileWriter {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

    explicit AtomicFileWriter(std::size_t buffer_size = kDefaultBufferSize);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file. nullopt on success, else the reason.
    std::optional<std::string> open(const std::string& target_path);
    bool is_open() const { return fd_ >= 0; }

    void write(const void* data, std::size_t n);

    // Flushes, syncs and renames the temporary file over the target.
    std::optional<std::string> commit();
    // Drops everything written; the target stays as it was.
    void discard();

    const std::string& target_path() const { return target_; }

private:
    void flush();
    void write_through(const std::uint8_t* data, std::size_t n);

    int fd_ = -1;
    std::string target_;
    std::string temp_;
    // Left unfilled: memory a writer of only large pieces never touches
    // costs nothing.
    std::unique_ptr<std::uint8_t[]> buf_;
    std::size_t buf_size_;
    std::size_t buf_len_ = 0;
    static constexpr std::uint64_t kWritebackBytes = std::uint64_t{4} << 20;
    std::uint64_t written_ = 0;         // bytes in the temporary file
    std::uint64_t handed_to_disk_ = 0;  // of which the disk was asked to start writing

    std::string error_;  // first write error
};

}  // namespace korv
