// The peak memory of reading a large 3d.dat, counted by the test toolbox's
// allocation functions for the reading thread.
#include "plot3d/core/database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/core/log_3d.h"
#include "testsupport/allocation_counter.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::plot3d {
namespace {

constexpr std::size_t kTableBytes = std::size_t{20} << 20;

// Header lines, then record lines from `line(i)` until the file holds 20 MB.
std::string table_text(const std::string& header, const std::function<std::string(int)>& line) {
    std::string text = header;
    text.reserve(kTableBytes + 200);
    for (int i = 0; text.size() < kTableBytes; ++i) text += line(i);
    return text;
}

struct Table {
    const char* what;
    std::string text;
    int fields;
};

TEST(DatabaseMemory, ATwentyMegabyteTablePeaksWithinThreeTimesItsFile) {
    const Table tables[] = {
        {"as the player writes it",
         table_text(log3d_names_line() + log3d_types_line(),
                    [](int i) {
                        const float f = static_cast<float>(i);
                        return *log3d_record_line({f, 0.85f, 14.7f, 25.0f, 100.0f, -5.0f, 12.3f, 180.0f, 95.0f}, i);
                    }),
         10},
        {"short numbers", table_text("a b c d\nNUMERIC NUMERIC NUMERIC NUMERIC\n", [](int) { return "1 2 3 4\n"; }), 4},
        {"strings and numbers",
         table_text("mode rpm gear o2\nSTRING NUMERIC STRING NUMERIC\n",
                    [](int i) { return "\"cruise\" " + std::to_string(i) + ".25 \"3rd\" 0.85\n"; }),
         4},
    };
    testsupport::TempFolder folder;
    const std::string path = folder.file("3d.dat");
    for (const Table& table : tables) {
        SCOPED_TRACE(table.what);
        testsupport::write_text(path, table.text);
        const auto file_bytes = static_cast<long long>(std::filesystem::file_size(path));
        long long peak = 0;
        int records = 0;
        {
            testsupport::PeakAllocationCounter counter;
            const Database db(path);
            records = db.reccount;
            EXPECT_EQ(db.fieldcount, table.fields);
            peak = counter.peak();
        }
        EXPECT_GT(records, 100000);
        EXPECT_LE(peak, 3 * file_bytes) << "file " << file_bytes << " bytes, " << records << " records";
    }
}

}  // namespace
}  // namespace korv::plot3d
