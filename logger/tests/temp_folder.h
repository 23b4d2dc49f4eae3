#pragma once
// A fresh folder per test, removed with everything in it afterwards.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace korv::logger::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvlog-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The minimal header for these channel codes, built from its description
// rather than from the writer: 4 zero bytes, 0, N, 0, 0, 30 bytes per
// channel with the code at 14, 5 zero bytes.
inline std::vector<std::uint8_t> minimal_header(const std::vector<std::uint8_t>& codes) {
    std::vector<std::uint8_t> out = {0, 0, 0, 0, 0, static_cast<std::uint8_t>(codes.size()), 0, 0};
    for (std::uint8_t code : codes) {
        std::vector<std::uint8_t> descriptor(30, 0);
        descriptor[14] = code;
        out.insert(out.end(), descriptor.begin(), descriptor.end());
    }
    out.insert(out.end(), 5, 0);
    return out;
}

inline void append_be32(std::vector<std::uint8_t>& out, std::uint32_t bits) {
    out.push_back(static_cast<std::uint8_t>(bits >> 24));
    out.push_back(static_cast<std::uint8_t>(bits >> 16));
    out.push_back(static_cast<std::uint8_t>(bits >> 8));
    out.push_back(static_cast<std::uint8_t>(bits));
}

}  // namespace korv::logger::testing
