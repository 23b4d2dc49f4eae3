#pragma once
// Shared by the player's tests: a scratch working folder and hand-built log bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::player::testing_support {

using testsupport::append;
using testsupport::append_f32_be;
using testsupport::append_f32_le;
using testsupport::append_zeros;
using testsupport::Bytes;
using testsupport::minimal_header;
using testsupport::read_bytes;
using testsupport::write_bytes;
using testsupport::write_text;

// Every test runs in a fresh folder that is also the working folder, where
// the player keeps kvt.cfg and csv.tmp.
class InScratchFolder : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_.file(name); }

    testsupport::WorkingFolder folder_;
};

// A big-endian minimal log: each record's time slot 0.0, then its values.
inline Bytes minimal_log(std::initializer_list<std::uint8_t> ids, const std::vector<std::vector<float>>& records) {
    Bytes out = minimal_header(std::vector<std::uint8_t>(ids));
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

}  // namespace korv::player::testing_support
