#pragma once
// Byte helpers for tests that build files by hand and read back what the
// code wrote.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace korv::testsupport {

using Bytes = std::vector<std::uint8_t>;

inline Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void write_text(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// "00 80 3B 45" -> {0x00, 0x80, 0x3B, 0x45}; blanks are ignored.
inline Bytes hex(const std::string& text) {
    Bytes out;
    std::string digits;
    for (char c : text) {
        if (c == ' ') continue;
        digits.push_back(c);
        if (digits.size() == 2) {
            out.push_back(static_cast<std::uint8_t>(std::stoi(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return out;
}

// Joins hand-built pieces: header + records.
inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline void append(Bytes& out, std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }
inline void append_zeros(Bytes& out, std::size_t n) { out.insert(out.end(), n, 0); }

inline void append_be32(Bytes& out, std::uint32_t bits) {
    append(out, {std::uint8_t(bits >> 24), std::uint8_t(bits >> 16), std::uint8_t(bits >> 8), std::uint8_t(bits)});
}
inline void append_le32(Bytes& out, std::uint32_t bits) {
    append(out, {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)});
}
inline std::uint32_t float_bits(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    return u;
}
inline void append_f32_be(Bytes& out, float v) { append_be32(out, float_bits(v)); }
inline void append_f32_le(Bytes& out, float v) { append_le32(out, float_bits(v)); }

// The minimal big-endian VXM log header for these channel ids, built from
// its description rather than from the writer: version 0 and an empty title
// (5 zero bytes), the count N, two zero bytes, one 30-byte descriptor per
// channel holding only the id at byte 14, five zero bytes.
inline Bytes minimal_header(const std::vector<std::uint8_t>& ids) {
    Bytes out;
    append_zeros(out, 5);
    out.push_back(static_cast<std::uint8_t>(ids.size()));
    append_zeros(out, 2);
    for (std::uint8_t id : ids) {
        append_zeros(out, 14);
        out.push_back(id);
        append_zeros(out, 15);
    }
    append_zeros(out, 5);
    return out;
}

}  // namespace korv::testsupport
