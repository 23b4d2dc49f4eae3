#pragma once
// Shared by the player's tests: a scratch working folder and hand-built log bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace korv::player::testing_support {

using Bytes = std::vector<std::uint8_t>;

// Every test runs in a fresh folder that is also the working folder, where
// the player keeps kvt.cfg and csv.tmp.
class InScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/korv_player_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

inline void write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
inline void write_text(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}
inline Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void append(Bytes& out, std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }
inline void append_zeros(Bytes& out, std::size_t n) { out.insert(out.end(), n, 0); }
inline void append_f32_be(Bytes& out, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    append(out, {std::uint8_t(u >> 24), std::uint8_t(u >> 16), std::uint8_t(u >> 8), std::uint8_t(u)});
}
inline void append_f32_le(Bytes& out, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    append(out, {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)});
}

// The minimal header, byte by byte: version 0, empty title, N, two zero
// bytes, 30-byte descriptors holding only the id at byte 14, five zero bytes.
inline Bytes minimal_header(std::initializer_list<std::uint8_t> ids) {
    Bytes out;
    append_zeros(out, 5);
    out.push_back(std::uint8_t(ids.size()));
    append_zeros(out, 2);
    for (std::uint8_t id : ids) {
        append_zeros(out, 14);
        out.push_back(id);
        append_zeros(out, 15);
    }
    append_zeros(out, 5);
    return out;
}

// A big-endian minimal log: each record's time slot 0.0, then its values.
inline Bytes minimal_log(std::initializer_list<std::uint8_t> ids, const std::vector<std::vector<float>>& records) {
    Bytes out = minimal_header(ids);
    for (const auto& record : records) {
        append_f32_be(out, 0.0f);
        for (float v : record) append_f32_be(out, v);
    }
    return out;
}

// A .dab record: 64 bytes, all zero but the given (offset, byte) pairs.
inline Bytes dab_record(std::initializer_list<std::pair<int, std::uint8_t>> fields) {
    Bytes record(64, 0);
    for (const auto& [offset, byte] : fields) record[std::size_t(offset)] = byte;
    return record;
}
inline Bytes dab_log(const std::vector<Bytes>& records) {
    Bytes out(64, 0xAA);  // a header the player never reads
    for (const Bytes& r : records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

} // namespace korv::player::testing_support
