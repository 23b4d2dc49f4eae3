// The layer rules, on hand-picked cases and on the whole tree.
#include "testsupport/include_rules.h"

#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
        {"editors/gui/a.cpp", "player/plugin/editor_plugin.h", false, true},
        {"plot3d/gui/a.cpp", "player/plugin/plot3d_plugin.h", false, true},
        {"editors/gui/a.cpp", "player/gui/controller_editors.h", false, false},
        {"plot3d/gui/a.cpp", "player/gui/playback_hooks.h", false, false},
        {"editors/gui/a.cpp", "player/gui/play_frame.h", false, false},
        {"logger/gui/a.cpp", "player/plugin/editor_plugin.h", false, false},
        {"player/plugin/a.h", "QString", true, true},
        {"player/plugin/a.h", "player/plugin/b.h", false, true},
        {"player/plugin/a.h", "player/core/kvt_config.h", false, false},
        {"player/plugin/a.h", "common/core/b.h", false, false},
        {"player/gui/a.cpp", "player/plugin/b.h", false, true},
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

std::string report(const std::vector<LayerViolation>& found) {
    std::ostringstream out;
    for (const LayerViolation& v : found) out << v.file << ":" << v.line << ": " << v.used << ": " << v.why << "\n";
    return out.str();
}

TEST(include_rules, hold_on_every_file_of_the_tree) {
    EXPECT_EQ(report(check_tree_includes(KORV_SOURCE_DIR)), "");
    EXPECT_EQ(report(check_tree_links(KORV_SOURCE_DIR)), "");
}

TEST(link_rules, follow_the_include_rules) {
    struct LinkCase {
        const char* file;
        const char* library_file;  // where the linked library is made
        bool allowed;
    };
    const LinkCase cases[] = {
        {"dyno/gui/CMakeLists.txt", "dyno/core/CMakeLists.txt", true},
        {"dyno/gui/CMakeLists.txt", "common/gui/CMakeLists.txt", true},
        {"dyno/gui/CMakeLists.txt", "logger/gui/CMakeLists.txt", false},
        {"editors/gui/CMakeLists.txt", "player/plugin/CMakeLists.txt", true},
        {"plot3d/gui/CMakeLists.txt", "player/plugin/CMakeLists.txt", true},
        {"editors/gui/CMakeLists.txt", "player/gui/CMakeLists.txt", false},
        {"editors/tests/CMakeLists.txt", "player/gui/CMakeLists.txt", false},
        {"logger/gui/CMakeLists.txt", "player/plugin/CMakeLists.txt", false},
        {"player/app/CMakeLists.txt", "editors/gui/CMakeLists.txt", true},
        {"player/app/tests/CMakeLists.txt", "plot3d/gui/CMakeLists.txt", true},
        {"player/gui/CMakeLists.txt", "editors/gui/CMakeLists.txt", false},
        {"editors/core/CMakeLists.txt", "common/gui/CMakeLists.txt", false},
        {"boxlogger/tests/CMakeLists.txt", "sim/core/CMakeLists.txt", true},
        {"boxlogger/gui/CMakeLists.txt", "sim/core/CMakeLists.txt", false},
        {"bench/CMakeLists.txt", "player/gui/CMakeLists.txt", true},
    };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(!forbidden_link(c.file, "lib", c.library_file).has_value(), c.allowed)
            << c.file << " links a library of " << c.library_file;
    }
}

// A small tree with a player, its plug-in target, an editor and two other
// programs, into which a test plants one more CMakeLists.txt.
class PlantedTree : public ::testing::Test {
protected:
    // The links the checker finds in the tree with `text` planted as `file`.
    std::string links_with(const std::string& file, const std::string& text) {
        for (const auto& entry : std::filesystem::directory_iterator(tree.path())) std::filesystem::remove_all(entry);
        write("player/plugin/CMakeLists.txt", "add_library(korv_player_plugin INTERFACE)\n");
        write("player/gui/CMakeLists.txt",
              "add_library(korv_player_gui STATIC a.cpp)\n"
              "target_link_libraries(korv_player_gui PUBLIC korv_player_plugin)\n");
        write("player/app/CMakeLists.txt",
              "add_executable(Korvview main.cpp)\n"
              "target_link_libraries(Korvview PRIVATE korv_player_gui korv_editors_gui)\n");
        write("editors/gui/CMakeLists.txt",
              "add_library(korv_editors_gui STATIC a.cpp)\n"
              "target_link_libraries(korv_editors_gui PUBLIC korv_player_plugin Qt6::Widgets)\n");
        write("logger/gui/CMakeLists.txt", "add_library(korv_logger_gui STATIC a.cpp)\n");
        write("dyno/gui/CMakeLists.txt", "add_library(korv_dyno_gui STATIC a.cpp)\n");
        if (!file.empty()) write(file, text);
        return report(check_tree_links(tree.path()));
    }

private:
    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = std::filesystem::path(tree.path()) / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    TempFolder tree;
};

TEST_F(PlantedTree, ACrossProgramLinkFailsWhereverItIsWritten) {
    EXPECT_EQ(links_with("", ""), "");
    struct Planting {
        const char* file;
        const char* text;
        const char* found;  // empty: the tree still passes
    };
    const Planting plantings[] = {
        {"dyno/gui/CMakeLists.txt",
         "add_library(korv_dyno_gui STATIC a.cpp)\n# target_link_libraries(korv_dyno_gui korv_logger_gui)\n"
         "target_link_libraries(korv_dyno_gui PUBLIC\n  Qt6::Widgets\n  korv_logger_gui)\n",
         "dyno/gui/CMakeLists.txt:5: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        {"editors/gui/CMakeLists.txt",
         "add_library(korv_editors_gui STATIC a.cpp)\nTarget_Link_Libraries(korv_editors_gui PUBLIC korv_player_gui)\n",
         "editors/gui/CMakeLists.txt:2: korv_player_gui: editors/ may not link player/'s korv_player_gui\n"},
        {"editors/tests/CMakeLists.txt",
         "korv_add_test(editors_tests GUI\n  SOURCES a.cpp\n  LIBS korv_editors_gui korv_player_gui)\n",
         "editors/tests/CMakeLists.txt:3: korv_player_gui: editors/ may not link player/'s korv_player_gui\n"},
        {"player/plugin/CMakeLists.txt", "add_library(korv_player_plugin STATIC a.cpp)\n",
         "player/plugin/CMakeLists.txt:0: korv_player_plugin: the player's plug-in target carries headers only\n"},
        {"player/app/tests/CMakeLists.txt",
         "korv_add_test(korvview_tests SOURCES a.cpp LIBS korv_editors_gui korv_player_gui)\n", ""},
    };
    for (const Planting& p : plantings) EXPECT_EQ(links_with(p.file, p.text), p.found) << p.file;
}

}  // namespace
}  // namespace korv::testsupport
