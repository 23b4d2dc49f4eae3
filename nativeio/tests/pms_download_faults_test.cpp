// The PMS download through the faults of a real line: a unit or a hub that
// stops for a while, an answer that comes late, a byte lost or added. The
// download runs against the simulated unit on the wire at 9600 baud, in
// lockstep on the test clock, so every time here is exact however loaded
// the machine is. Whatever the fault, the user gets the whole, exact image,
// or a dump cut short that Korvview refuses ("EEprom download incomplete!"),
// never a wrong block.
#include "nativeio/core/pms_frame.h"
#include "nativeio/include/korvio_files.h"
#include "nativeio/tests/pms_test_support.h"
#include "sim/core/line_glitch.h"
#include "testsupport/file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>

namespace korv::korvio {
namespace {

using sim::PeerOnPort;
using sim::PmsPeer;
using testing::expected_dump;
using testing::kPmsBlocks;

// A unit busy with its engine: each answer begins this long after its
// request, so a block's reply is still coming when the download's 50-ms
// pause after the request is over.
constexpr std::int64_t kUnitThinksUs = 20'000;

// The unit's answers before the download: the wake-up and seven commands.
constexpr int kOpeningAnswers = 8;

struct Place {
    const char* name;
    int answers_before;  // answered untouched before the fault
    int block;           // the block asked for first after the spoilt answer
};

const Place kPlaces[] = {
    {"opening's last answer", kOpeningAnswers - 1, 0},
    {"mid-download", kOpeningAnswers + kPmsBlocks / 2, kPmsBlocks / 2},
};

enum class Outcome { WholeImage, CutShort };

struct Row {
    Place place;
    const char* fault_name;
    std::optional<sim::LineGlitch> fault;  // none: a sound line, for the download's own time
    Outcome expected;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.place.name << ", " << row.fault_name; }

std::vector<Row> rows() {
    std::vector<Row> out{{kPlaces[1], "no fault", std::nullopt, Outcome::WholeImage}};
    for (const Place& place : kPlaces)
        for (const sim::NamedGlitch& fault : sim::fault_table(place.answers_before))
            out.push_back({place, fault.name, fault.glitch, Outcome::WholeImage});
    // Gone for longer than every try of a block together: the download ends.
    out.push_back({kPlaces[1], "stall 60 s",
                   sim::LineGlitch{sim::Glitch::Stall, 60'000'000, 0, kPlaces[1].answers_before}, Outcome::CutShort});
    return out;
}

// When the unit began to hear the read of a block, first; none when never.
std::optional<std::int64_t> first_asked(const std::vector<sim::Peer::HeardByte>& heard, int block) {
    const unsigned start = pms::kFirstAddress + static_cast<unsigned>(block) * pms::kBlockBytes;
    const std::vector<std::uint8_t> request = pms::frame(pms::memory_read_payload(start, start + 15));
    const auto at = std::search(heard.begin(), heard.end(), request.begin(), request.end(),
                                [](const sim::Peer::HeardByte& h, std::uint8_t b) { return h.byte == b; });
    if (at == heard.end()) return std::nullopt;
    return at->at_us;
}

class PmsDownloadThroughFaults : public testing::PmsTest, public ::testing::WithParamInterface<Row> {};

TEST_P(PmsDownloadThroughFaults, GivesTheWholeImageOrEndsShortWithNothingWrong) {
    const Row& row = GetParam();
    PeerOnPort<PmsPeer> unit(0, sim::Pacing::Wire);
    unit->set_fault(sim::Fault::Late, kUnitThinksUs);
    if (row.fault) unit->inject(*row.fault);
    ASSERT_EQ(get_pms(unit.peer(), 0, 1), 0);
    ASSERT_EQ(unit->glitches_pending(), 0) << "the fault was played";
    const std::int64_t back = unit->line_back_at_us();

    const std::string dump = testsupport::read_text(korvio_files::kPmsDumpName);
    const std::string whole = expected_dump(PmsPeer::sample_memory());
    const std::size_t trace = std::filesystem::file_size(korvio_files::kPmsTraceName);
    // Only whole accepted blocks, in address order: what came is the image's start.
    ASSERT_EQ(dump.size() % korvio_files::kPmsRecordSize, 0u);
    EXPECT_EQ(dump, whole.substr(0, dump.size())) << "a wrong block was stored";
    EXPECT_EQ(trace, dump.size() / korvio_files::kPmsRecordSize * pms::kReadReplySize);

    const std::optional<std::int64_t> next = first_asked(unit->heard(), row.place.block + 1);
    switch (row.expected) {
    case Outcome::WholeImage:
        EXPECT_EQ(dump.size(), static_cast<std::size_t>(korvio_files::kPmsDumpSize)) << "the image was cut short";
        ASSERT_TRUE(next);
        std::printf("PMS download, %s, %s: whole exact image, done at %lld ms", row.place.name, row.fault_name,
                    static_cast<long long>(ended_us_ / 1000));
        if (row.fault)
            std::printf("; the next block asked %lld ms after the line went on",
                        static_cast<long long>((*next - back) / 1000));
        std::printf("\n");
        break;
    case Outcome::CutShort:
        // Korvview refuses a dump this short with "EEprom download incomplete!".
        EXPECT_EQ(dump.size(), static_cast<std::size_t>(row.place.block * korvio_files::kPmsRecordSize));
        EXPECT_FALSE(next);
        std::printf(
            "PMS download, %s, %s: ends short after %zu of %d blocks (\"EEprom download incomplete!\") "
            "at %lld ms, before the line went on\n",
            row.place.name, row.fault_name, dump.size() / korvio_files::kPmsRecordSize, kPmsBlocks,
            static_cast<long long>(ended_us_ / 1000));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(FaultTable, PmsDownloadThroughFaults, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name = std::string(info.param.place.name) + "_" + info.param.fault_name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace korv::korvio
