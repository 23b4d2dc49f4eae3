#include "editors/core/pms_settings_file.h"

#include "common/core/atomic_file_writer.h"
#include "common/core/count_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace korv::editors::pms {
namespace {

bool file_exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<std::string> write_whole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    AtomicFileWriter writer;
    if (auto failed = writer.open(path)) return failed;
    writer.write(bytes.data(), bytes.size());
    return writer.commit();
}

}  // namespace

std::string PmsSettings::working_copy_path() const {
    if (work_dir_.empty()) return kWorkingCopyName;
    return work_dir_ + (work_dir_.back() == '/' ? "" : "/") + kWorkingCopyName;
}

PmsSettings::ProgramLoad PmsSettings::recall_program(int program, const std::string& path) {
    ProgramLoad load;
    cells_.reset_sim();
    if (!file_exists(path)) return load;
    load.found = true;

    std::vector<std::uint8_t> bytes;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        load.error = std::string(kUnableToOpenFile) + std::strerror(errno ? errno : EIO);
    } else {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) load.error = std::string(kUnableToOpenFile) + std::strerror(EIO);
    }
    image_ = bytes;
    // Kept for those who look at it; a failure here costs nothing.
    if (!bytes.empty()) (void)write_whole(working_copy_path(), bytes);

    const std::size_t start = static_cast<std::size_t>(program) * kBlockSize;
    if (!load.error && bytes.size() < start + kReadWindow) {
        load.error =
            std::string(kUnableToOpenFile) +
            (bytes.empty() ? "the file is empty" : "the file ends after " + counted(bytes.size(), "byte", "bytes"));
    }
    const std::size_t available = bytes.size() > start ? bytes.size() - start : 0;
    cells_.decode_program(program, available ? bytes.data() + start : nullptr,
                          std::min<std::size_t>(available, kBlockSize));
    return load;
}

namespace {

// "program 3", "programs 1 and 3", "programs 1, 2 and 3".
std::string program_list(const std::vector<int>& programs) {
    std::string out = programs.size() == 1 ? "program " : "programs ";
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (i > 0) out += i + 1 == programs.size() ? " and " : ", ";
        out += std::to_string(programs[i] + 1);
    }
    return out;
}

}  // namespace

PmsSettings::ProgramLoad PmsSettings::recall_data(const std::string& path) {
    ProgramLoad all;
    // Each reason once, with the programs it kept from being read.
    std::vector<std::pair<std::string, std::vector<int>>> failures;
    for (int p = 0; p < kPrograms; ++p) {
        const ProgramLoad load = recall_program(p, path);
        all.found = all.found || load.found;
        if (!load.error) continue;
        auto same = std::find_if(failures.begin(), failures.end(),
                                 [&](const auto& failure) { return failure.first == *load.error; });
        if (same == failures.end()) same = failures.insert(failures.end(), {*load.error, {}});
        same->second.push_back(p);
    }
    for (const auto& [reason, programs] : failures) {
        const std::string part = reason + "; " + program_list(programs) + " could not be read";
        all.error = all.error ? *all.error + "\n" + part : part;
    }
    return all;
}

std::optional<std::string> PmsSettings::save(const std::string& path) {
    const std::vector<std::uint8_t> rebuilt = cells_.rebuild(image_);
    if (auto failed = write_whole(path, rebuilt)) return std::string(kUnableToOpenFile) + *failed;
    (void)write_whole(working_copy_path(), rebuilt);
    image_ = rebuilt;
    // Locks and side values survive: decoding touches only mapped values.
    for (int p = 0; p < kPrograms; ++p) cells_.decode_program(p, image_.data() + p * kBlockSize, kBlockSize);
    cells_.reset_sim();
    return std::nullopt;
}

}  // namespace korv::editors::pms
