// Loading under a memory limit: blank lines cost nothing, and running out of
// memory is a message that keeps the log already open.
#include "dyno/core/dyno_session.h"
#include "testsupport/allocation_counter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "testsupport/temp_folder.h"

namespace korv::dyno {
namespace {

using korv::testsupport::AllocationBudget;

constexpr std::size_t kBudget = std::size_t{1} << 20;

std::string small_log() { return "x\nTime,RPM\n0,2000\n0.1,2100\n0.2,2200\n"; }

class DynoLoadMemory : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(session_.load_text(small_log(), "small.csv"), LogReadStatus::ok); }

    void expect_small_log_open() {
        EXPECT_EQ(session_.file_name(), "small.csv");
        EXPECT_EQ(session_.samples().size(), 3u);
        EXPECT_TRUE(session_.loaded());
    }

    testsupport::TempFolder dir_;
    DynoSession session_;
};

TEST_F(DynoLoadMemory, BlankLinesTakeNoMemory) {
    // Millions of line ends in every spelling, then two rows.
    const std::string path = dir_.file("blank.csv");
    {
        std::ofstream out(path, std::ios::binary);
        out << "x\nTime,RPM\n";
        const std::string block(1 << 16, '\n');
        const std::string crlf = [] {
            std::string s;
            for (int k = 0; k < (1 << 14); ++k) s += "\r\n\r";
            return s;
        }();
        for (int k = 0; k < 64; ++k) out << block << crlf;
        out << "0,3000\n0.1,3100\n";
    }
    LogReadStatus status;
    {
        AllocationBudget budget(kBudget);
        status = session_.open_log(path);
        EXPECT_FALSE(budget.refused());
    }
    EXPECT_EQ(status, LogReadStatus::ok);
    EXPECT_EQ(session_.samples().size(), 2u);

    // Blank lines alone are a log without samples.
    testsupport::TempFolder other;
    std::ofstream(other.file("empty.csv"), std::ios::binary) << "x\nTime,RPM\n" << std::string(1 << 22, '\n');
    AllocationBudget budget(kBudget);
    EXPECT_EQ(session_.open_log(other.file("empty.csv")), LogReadStatus::too_few_samples);
}

TEST_F(DynoLoadMemory, RunningOutIsAMessageAndTheOpenLogStays) {
    const std::string path = dir_.file("big.csv");
    {
        std::ofstream out(path, std::ios::binary);
        out << "x\nTime,RPM\n";
        for (int k = 0; k < 100000; ++k) out << k * 0.01 << ',' << 2000 + k % 5000 << '\n';
    }
    LogReadStatus status;
    {
        AllocationBudget budget(kBudget);
        status = session_.open_log(path);
        EXPECT_TRUE(budget.refused());
    }
    EXPECT_EQ(status, LogReadStatus::out_of_memory);
    EXPECT_EQ(log_read_message(status), "Not enough memory to load this log");
    expect_small_log_open();
    // With memory to spare the same file loads.
    EXPECT_EQ(session_.open_log(path), LogReadStatus::ok);
    EXPECT_EQ(session_.samples().size(), 100000u);
}

}  // namespace
}  // namespace korv::dyno
