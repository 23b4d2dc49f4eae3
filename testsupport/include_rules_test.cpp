// The layer rules, on hand-picked cases and on the whole tree.
#include "testsupport/include_rules.h"

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"
#include "testsupport/thread_start_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

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
        // The tree's own headers count however they are bracketed.
        {"editors/gui/a.cpp", "player/gui/play_frame.h", true, false},
        {"logger/core/a.cpp", "logger/gui/b.h", true, false},
        {"common/core/a.cpp", "nativeio/core/sio.h", true, false},
        {"logger/gui/a.cpp", "common/gui/b.h", true, true},
        {"logger/core/a.cpp", "sys/ioctl.h", true, true},
        // The serial layer is plain C++ like core/.
        {"platform/serial/tty.cpp", "QString", true, false},
        {"platform/serial/tty.cpp", "platform/gui/b.h", false, false},
        {"platform/serial/tty.cpp", "termios.h", true, true},
        {"platform/serial/tty.cpp", "platform/core/clock.h", false, true},
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
    EXPECT_EQ(report(check_tree_thread_starts(KORV_SOURCE_DIR)), "");
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
        {"platform/serial/CMakeLists.txt", "platform/gui/CMakeLists.txt", false},
        {"platform/serial/CMakeLists.txt", "platform/core/CMakeLists.txt", true},
    };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(!forbidden_link(c.file, "lib", c.library_file).has_value(), c.allowed)
            << c.file << " links a library of " << c.library_file;
    }
}

using Planted = std::vector<std::pair<std::string, std::string>>;  // files and their texts

// A small tree with a player, its plug-in target, an editor and two other
// programs, into which a test plants files of its own (replacing any of the
// same name).
class PlantedTree : public ::testing::Test {
protected:
    // The links the checker finds in the tree with `planted`.
    std::string links_with(const Planted& planted) {
        plant(planted);
        return report(check_tree_links(tree.path()));
    }

    // The includes and thread starts the checker finds in the tree with `planted`.
    std::string sources_with(const Planted& planted) {
        plant(planted);
        return report(check_tree_includes(tree.path())) + report(check_tree_thread_starts(tree.path()));
    }

private:
    void plant(const Planted& planted) {
        for (const auto& entry : std::filesystem::directory_iterator(tree.path())) std::filesystem::remove_all(entry);
        write("player/plugin/CMakeLists.txt", "add_library(korv_player_plugin INTERFACE)\n");
        write("player/gui/CMakeLists.txt",
              "add_library(korv_player_gui STATIC a.cpp)\n"
              "target_link_libraries(korv_player_gui PUBLIC korv_player_plugin)\n");
        write("player/gui/play_frame.h", "#pragma once\n");
        write("player/app/CMakeLists.txt",
              "add_executable(Korvview main.cpp)\n"
              "target_link_libraries(Korvview PRIVATE korv_player_gui korv_editors_gui)\n");
        write("editors/gui/CMakeLists.txt",
              "add_library(korv_editors_gui STATIC a.cpp)\n"
              "target_link_libraries(korv_editors_gui PUBLIC korv_player_plugin Qt6::Widgets)\n");
        write("logger/gui/CMakeLists.txt", "add_library(korv_logger_gui STATIC a.cpp)\n");
        write("dyno/gui/CMakeLists.txt", "add_library(korv_dyno_gui STATIC a.cpp)\n");
        for (const auto& [file, text] : planted) write(file, text);
    }

    void write(const std::string& file, const std::string& text) {
        const std::filesystem::path path = std::filesystem::path(tree.path()) / file;
        std::filesystem::create_directories(path.parent_path());
        write_text(path.string(), text);
    }

    TempFolder tree;
};

struct Planting {
    Planted files;
    const char* found;  // empty: the tree still passes
};

TEST_F(PlantedTree, ACrossProgramLinkFailsWhereverItIsWritten) {
    EXPECT_EQ(links_with({}), "");
    const Planting plantings[] = {
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\n# target_link_libraries(korv_dyno_gui korv_logger_gui)\n"
           "target_link_libraries(korv_dyno_gui PUBLIC\n  Qt6::Widgets\n  korv_logger_gui)\n"}},
         "dyno/gui/CMakeLists.txt:5: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        {{{"editors/gui/CMakeLists.txt",
           "add_library(korv_editors_gui STATIC a.cpp)\nTarget_Link_Libraries(korv_editors_gui PUBLIC "
           "korv_player_gui)\n"}},
         "editors/gui/CMakeLists.txt:2: korv_player_gui: editors/ may not link player/'s korv_player_gui\n"},
        {{{"editors/tests/CMakeLists.txt",
           "korv_add_test(editors_tests GUI\n  SOURCES a.cpp\n  LIBS korv_editors_gui korv_player_gui)\n"}},
         "editors/tests/CMakeLists.txt:3: korv_player_gui: editors/ may not link player/'s korv_player_gui\n"},
        {{{"player/plugin/CMakeLists.txt", "add_library(korv_player_plugin STATIC a.cpp)\n"}},
         "player/plugin/CMakeLists.txt:0: korv_player_plugin: the player's plug-in target carries headers only\n"},
        {{{"player/app/tests/CMakeLists.txt",
           "korv_add_test(korvview_tests SOURCES a.cpp LIBS korv_editors_gui korv_player_gui)\n"}},
         ""},
        // The player's folder may link the player, but not into an editor's target.
        {{{"player/gui/CMakeLists.txt",
           "add_library(korv_player_gui STATIC a.cpp)\n"
           "target_link_libraries(korv_editors_gui PRIVATE korv_player_gui)\n"}},
         "player/gui/CMakeLists.txt:2: korv_player_gui: editors/ may not link player/'s korv_player_gui\n"},
        // The player's own target linked from the editors' folder stays the player's.
        {{{"editors/gui/CMakeLists.txt",
           "add_library(korv_editors_gui STATIC a.cpp)\ntarget_link_libraries(korv_player_gui PRIVATE "
           "korv_player_plugin)\n"}},
         ""},
    };
    for (const Planting& p : plantings) EXPECT_EQ(links_with(p.files), p.found) << p.files[0].first;
}

TEST_F(PlantedTree, LinksAreReadAsCMakeExpandsThem) {
    const Planting plantings[] = {
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\nset(ui_libs Qt6::Widgets korv_logger_gui)\n"
           "target_link_libraries(korv_dyno_gui PRIVATE ${ui_libs})\n"}},
         "dyno/gui/CMakeLists.txt:3: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        // A parent folder's variable, a nested reference, a list appended to.
        {{{"dyno/CMakeLists.txt", "set(program logger)\nset(logger_libs korv_${program}_gui)\n"},
          {"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\nset(which logger)\nlist(APPEND libs ${${which}_libs})\n"
           "korv_add_test(dyno_tests SOURCES a.cpp LIBS \"${libs}\")\n"}},
         "dyno/gui/CMakeLists.txt:4: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        // A sibling's variable does not reach: it names no target.
        {{{"logger/CMakeLists.txt", "set(lib korv_logger_gui)\n"},
          {"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\ntarget_link_libraries(korv_dyno_gui PRIVATE ${lib} "
           "${CMAKE_DL_LIBS})\n"}},
         ""},
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\n"
           "target_link_libraries(korv_dyno_gui PRIVATE $<$<CONFIG:Debug>:korv_logger_gui> "
           "$<LINK_ONLY:korv_player_gui>)\n"}},
         "dyno/gui/CMakeLists.txt:2: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"
         "dyno/gui/CMakeLists.txt:2: korv_player_gui: dyno/ may not link player/'s korv_player_gui\n"},
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\nforeach(program IN ITEMS dyno logger)\n"
           "  if(NOT program STREQUAL \"logger\")\n  else()\n"
           "    target_link_libraries(korv_dyno_gui PRIVATE korv_${program}_gui)\n  endif()\nendforeach()\n"}},
         "dyno/gui/CMakeLists.txt:5: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\nset(programs dyno logger)\n"
           "foreach(program IN LISTS programs)\n  korv_add_test(${program}_tests SOURCES a.cpp LIBS "
           "korv_${program}_gui)\n"
           "endforeach()\n"}},
         "dyno/gui/CMakeLists.txt:4: korv_logger_gui: dyno/ may not link logger/'s korv_logger_gui\n"},
        // An alias is the target it stands for, wherever it is made.
        {{{"dyno/gui/CMakeLists.txt",
           "add_library(korv_dyno_gui STATIC a.cpp)\nadd_library(korv::logger ALIAS korv_logger_gui)\n"
           "target_link_libraries(korv_dyno_gui PRIVATE korv::logger)\n"}},
         "dyno/gui/CMakeLists.txt:3: korv::logger: dyno/ may not link logger/'s korv::logger\n"},
        {{{"platform/gui/CMakeLists.txt", "add_library(korv_platform_gui STATIC a.cpp)\n"},
          {"platform/serial/CMakeLists.txt",
           "add_library(korv_platform_serial STATIC a.cpp)\n"
           "target_link_libraries(korv_platform_serial PUBLIC korv_platform_gui)\n"}},
         "platform/serial/CMakeLists.txt:2: korv_platform_gui: platform/serial code links a gui/ or app/ library\n"},
    };
    for (const Planting& p : plantings) EXPECT_EQ(links_with(p.files), p.found) << p.files.back().first;
}

TEST_F(PlantedTree, IncludesOfTheTreeAreJudgedHoweverTheyAreBracketed) {
    EXPECT_EQ(sources_with({}), "");
    const Planting plantings[] = {
        {{{"editors/gui/a.cpp", "#include <vector>\n#include <player/gui/play_frame.h>\n"}},
         "editors/gui/a.cpp:2: player/gui/play_frame.h: editors/ may not include player/\n"},
        {{{"player/gui/a.cpp", "#include <player/gui/missing.h>\n"}},
         "player/gui/a.cpp:1: player/gui/missing.h: not a path from the repository root\n"},
        {{{"platform/serial/tty.cpp", "#include <sys/ioctl.h>\n#include <QString>\n"}},
         "platform/serial/tty.cpp:2: QString: platform/serial code includes Qt\n"},
    };
    for (const Planting& p : plantings) EXPECT_EQ(sources_with(p.files), p.found) << p.files[0].first;
}

TEST_F(PlantedTree, AThreadQtStartsIsRefusedOutsideTheToolbox) {
    EXPECT_EQ(
        sources_with({{"logger/gui/a.cpp", "#include <QThread>\n\nvoid f(QObject& o) { o.moveToThread(nullptr); }\n"},
                      {"testsupport/a.cpp", "#include <QThreadPool>\n"}}),
        "logger/gui/a.cpp:3: moveToThread: our code runs on our own threads, never on one Qt starts\n");
    EXPECT_EQ(
        links_with({{"dyno/gui/CMakeLists.txt",
                     "add_library(korv_dyno_gui STATIC a.cpp)\n"
                     "target_link_libraries(korv_dyno_gui PRIVATE Qt6::Concurrent)\n"},
                    {"testsupport/CMakeLists.txt", "korv_add_test(pool_tests SOURCES a.cpp LIBS Qt6::Concurrent)\n"}}),
        "dyno/gui/CMakeLists.txt:2: Qt6::Concurrent: our code runs on our own threads, never on one Qt starts\n");
}

}  // namespace
}  // namespace korv::testsupport
