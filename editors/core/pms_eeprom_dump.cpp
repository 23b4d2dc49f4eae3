#include "editors/core/pms_eeprom_dump.h"

#include "common/core/atomic_file_writer.h"
#include "nativeio/include/korvio_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace korv::editors::pms {
namespace {

namespace files = korv::korvio_files;

constexpr unsigned kFirstAddress = 0xA000;
// A shorter dump cannot be whole; the last record may still be cut.
constexpr std::size_t kShortestDump = files::kPmsDumpSize - 2;
constexpr std::size_t kLastRecordStart = files::kPmsDumpSize - 3;

std::optional<unsigned> parse_hex(const std::uint8_t* text, int digits) {
    unsigned value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = static_cast<char>(text[i]);
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

DumpParse parse_eeprom_dump(const std::vector<std::uint8_t>& dump) {
    DumpParse parse;
    parse.buffer.assign(kDumpBufferBytes, 0);
    if (dump.size() < kShortestDump) {
        parse.message = kDownloadIncomplete;
        return parse;
    }
    std::vector<bool> seen(files::kPmsRecords, false);
    bool skipped = false;
    std::size_t pos = 0;
    do {
        if (dump.size() - pos < static_cast<std::size_t>(files::kPmsRecordSize)) {
            parse.outcome = DumpParse::Outcome::unreadable;
            parse.message = std::string(kUnableToProcessDownload) + "unexpected end of file";
            return parse;
        }
        const std::uint8_t* record = dump.data() + pos;
        pos += files::kPmsRecordSize;
        const std::optional<unsigned> address = parse_hex(record, files::kPmsAddressDigits);
        std::uint8_t bytes[16];
        bool good = address.has_value() && *address >= kFirstAddress;
        for (int i = 0; good && i < 16; ++i) {
            const auto byte = parse_hex(record + files::kPmsAddressDigits + 2 * i, 2);
            if (!byte)
                good = false;
            else
                bytes[i] = static_cast<std::uint8_t>(*byte);
        }
        if (!good) {
            skipped = true;
            continue;
        }
        const unsigned index = *address - kFirstAddress;
        for (unsigned i = 0; i < 16; ++i)
            if (index + i < static_cast<unsigned>(kDumpBufferBytes)) parse.buffer[index + i] = bytes[i];
        if (index % 16 == 0 && index / 16 < seen.size()) seen[index / 16] = true;
    } while (pos < kLastRecordStart);

    bool whole = !skipped;
    for (bool block : seen) whole = whole && block;
    if (whole) {
        parse.outcome = DumpParse::Outcome::complete;
    } else {
        parse.message = kDownloadIncomplete;
    }
    return parse;
}

std::string convert_eeprom_dump(const std::string& dump_path, const std::string& image_path) {
    std::ifstream in(dump_path, std::ios::binary);
    if (!in) return kDownloadIncomplete;  // no dump: nothing was downloaded
    const std::vector<std::uint8_t> dump{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::string(kUnableToProcessDownload) + std::strerror(EIO);
    const DumpParse parse = parse_eeprom_dump(dump);
    if (parse.outcome != DumpParse::Outcome::complete) return parse.message;

    AtomicFileWriter writer;
    if (auto failed = writer.open(image_path)) return std::string(kUnableToProcessDownload) + *failed;
    writer.write(parse.buffer.data(), kImageBytes);
    if (auto failed = writer.commit()) return std::string(kUnableToProcessDownload) + *failed;
    return {};
}

}  // namespace korv::editors::pms
