#pragma once
// The trouble-code catalogue dtc.txt: text lines, of which those at least
// 6 characters long (line end included) that begin with a code text (P, C,
// B or U and four lower-case hexadecimal digits) describe that code. It is
// read from the working directory; one that has none gets the catalogue
// shipped beside libkorvio.so, since the programs run wherever the user
// keeps their files.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korv::korvio {

class DtcCatalogue {
public:
    static constexpr char kName[] = "dtc.txt";

    // The working directory's dtc.txt, else the one in fallback_directory;
    // none when neither can be read.
    static std::optional<DtcCatalogue> open(const std::filesystem::path& fallback_directory);
    // The same with the directory of libkorvio.so.
    static std::optional<DtcCatalogue> open();
    static std::optional<DtcCatalogue> load(const std::filesystem::path& path);

    // The first line that describes the code, as read, ending in a line end
    // even where the file's last line has none.
    std::optional<std::string> find(const std::string& code_text) const;

private:
    std::vector<std::string> lines_;  // each with its line end, if it had one
};

// The directory of the module holding korvio's code: that of libkorvio.so,
// or of a program linked with the same objects. Empty when unknown.
std::filesystem::path library_directory();

}  // namespace korv::korvio
