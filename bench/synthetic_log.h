#pragma once
// A large minimal-header log of made-up values, for the benchmarks that read
// logs back.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/core/vxm_minimal_writer.h"

namespace korv::bench {

// A file just written lies in the page cache in whatever pieces its writing
// left, and how fast it reads back differs from one run to the next: written
// out, dropped and read once in order, it lies there as reading leaves it.
inline void settle_in_page_cache(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    std::vector<char> buffer(std::size_t{1} << 20);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {}
    ::close(fd);
}

// Writes `records` records of the channels `ids`, each value from
// value(record, channel). Says why on stderr and returns false on failure.
template <typename ValueOf>
bool write_synthetic_log(const std::string& path, const std::vector<std::uint8_t>& ids, std::int64_t records,
                         ValueOf value) {
    VxmMinimalWriter writer;
    if (auto error = writer.open(path, ids)) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return false;
    }
    std::vector<float> record(ids.size());
    for (std::int64_t r = 0; r < records; ++r) {
        for (std::size_t c = 0; c < record.size(); ++c) record[c] = value(r, static_cast<std::int64_t>(c));
        if (auto error = writer.append_record(record)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return false;
        }
    }
    if (auto error = writer.commit()) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return false;
    }
    settle_in_page_cache(path);
    return true;
}

// The values the player benchmarks use: steps that cover the charts' ranges.
inline float player_bench_value(std::int64_t record, std::int64_t channel) {
    return static_cast<float>((record * 13 + channel * 577) % 7000) * 0.71f;
}

}  // namespace korv::bench
