// The layer rules, on hand-picked cases and on the whole tree.
#include "testsupport/include_rules.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korv::testsupport {
namespace {

struct Case {
    const char* file;
    const char* header;
    bool angled;
    bool allowed;
};

TEST(include_rules, follow_the_layers) {
    const Case cases[] = {
        {"logger/core/a.cpp", "QString", true, false},
        {"logger/core/a.cpp", "qdrawutil.h", true, false},
        {"logger/core/a.cpp", "vector", true, true},
        {"logger/gui/a.cpp", "QString", true, true},
        {"logger/core/a.cpp", "logger/gui/b.h", false, false},
        {"common/core/a.cpp", "common/gui/b.h", false, false},
        {"platform/core/a.cpp", "common/core/b.h", false, false},
        {"platform/gui/a.cpp", "platform/core/b.h", false, true},
        {"nativeio/core/a.cpp", "common/core/b.h", false, false},
        {"nativeio/core/a.cpp", "platform/serial/tty.h", false, true},
        {"nativeio/tests/a.cpp", "sim/core/peer.h", false, true},
        {"nativeio/tests/a.cpp", "testsupport/temp_folder.h", false, true},
        {"sim/core/a.cpp", "nativeio/core/b.h", false, false},
        {"common/core/a.cpp", "nativeio/include/korvio.h", false, true},
        {"common/core/a.cpp", "nativeio/core/sio.h", false, false},
        {"common/core/a.cpp", "logger/core/b.h", false, false},
        {"logger/gui/a.cpp", "player/core/b.h", false, false},
        {"logger/gui/a.cpp", "nativeio/core/b.h", false, false},
        {"logger/tests/a.cpp", "nativeio/include/korvio.h", false, true},
        {"dyno/gui/a.cpp", "common/gui/b.h", false, true},
        {"editors/gui/a.cpp", "player/gui/controller_editors.h", false, true},
        {"plot3d/gui/a.cpp", "player/gui/playback_hooks.h", false, true},
        {"editors/gui/a.cpp", "player/gui/play_frame.h", false, false},
        {"player/gui/a.cpp", "editors/gui/b.h", false, false},
        {"player/app/main.cpp", "editors/gui/b.h", false, true},
        {"player/app/main.cpp", "plot3d/gui/b.h", false, true},
        {"logger/app/main.cpp", "editors/gui/b.h", false, false},
        {"bench/a.cpp", "player/core/b.h", false, true},
        {"logger/core/a.cpp", "sim/core/peer.h", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(!forbidden_include(c.file, c.header, c.angled).has_value(), c.allowed)
            << c.file << " includes " << c.header;
    }
}

TEST(include_rules, hold_on_every_file_of_the_tree) {
    std::ostringstream report;
    for (const IncludeViolation& v : check_tree_includes(KORV_SOURCE_DIR))
        report << v.file << ":" << v.line << ": #include " << v.header << ": " << v.why << "\n";
    EXPECT_EQ(report.str(), "");
}

}  // namespace
}  // namespace korv::testsupport
