#pragma once
// korvio keeps its working files in the current directory: each test that
// makes them runs in a fresh one, removed afterwards.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korv::korvio::testing {

class WorkingDirectory {
public:
    WorkingDirectory() : previous_(std::filesystem::current_path()) {
        char name[] = "/tmp/korvio-cwd-XXXXXX";
        dir_ = mkdtemp(name);
        std::filesystem::current_path(dir_);
    }
    ~WorkingDirectory() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

inline std::vector<std::uint8_t> file_bytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string file_text(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace korv::korvio::testing
