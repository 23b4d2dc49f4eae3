// The one binding of libkorvio.so: what a missing or foreign library gives,
// for every entry point either program calls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/core/korvio_library.h"

namespace korv {
namespace {

struct EntryPoint {
    const char* name;
    std::function<int(const KorvioLibrary&)> call;
};

// Each entry point of korvio.h, called with harmless arguments.
const std::vector<EntryPoint>& every_entry_point() {
    static const std::vector<EntryPoint> all = {
        {"SioReset", [](const KorvioLibrary& l) { return l.SioReset(99, 4, 1024, 1024); }},
        {"SioDone", [](const KorvioLibrary& l) { return l.SioDone(4); }},
        {"logdata", [](const KorvioLibrary& l) { return l.logdata(nullptr, 4, 2, 1, nullptr, 0, 0); }},
        {"getDTC", [](const KorvioLibrary& l) { return l.getDTC(4, 1); }},
        {"clearDTC", [](const KorvioLibrary& l) { return l.clearDTC(4); }},
        {"getver", [](const KorvioLibrary& l) { return l.getver(); }},
        {"dodiag", [](const KorvioLibrary& l) { return l.dodiag(4, 0); }},
        {"getPMS", [](const KorvioLibrary& l) { return l.getPMS(4, 1, 0, 0); }},
        {"getPNKORV", [](const KorvioLibrary& l) { return l.getPNKORV(nullptr, 4); }},
    };
    return all;
}

TEST(KorvioLibrary, AnUnusableLibraryMakesEveryEntryPointThrowWithTheReason) {
    for (const char* path : {"/nonexistent/libkorvio.so", "libc.so.6"}) {
        const auto library = KorvioLibrary::load_from(path);
        EXPECT_FALSE(library->available()) << path;
        ASSERT_FALSE(library->load_error().empty()) << path;
        for (const EntryPoint& entry : every_entry_point()) {
            try {
                entry.call(*library);
                ADD_FAILURE() << entry.name << " of " << path << " did not throw";
            } catch (const KorvioUnavailable& unavailable) {
                EXPECT_EQ(unavailable.what(), library->load_error()) << entry.name << " of " << path;
            }
        }
    }
}

TEST(KorvioLibrary, LibraryWithoutTheEntryPointsIsRefused) {
    const auto library = KorvioLibrary::load_from("libc.so.6");
    EXPECT_FALSE(library->available());
    EXPECT_NE(library->load_error().find("SioReset"), std::string::npos) << library->load_error();
    EXPECT_NE(library->load_error().find("getPNKORV"), std::string::npos) << library->load_error();
}

TEST(KorvioLibrary, ExecutableDirectoryIsWhereThisProgramLies) {
    const std::string folder = executable_directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back() == '/', false);
    EXPECT_NE(folder.find("tests"), std::string::npos) << folder;
}

}  // namespace
}  // namespace korv
