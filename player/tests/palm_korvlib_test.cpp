// korvlib: binding by name, the progress callback and its status texts,
// against the stand-in library and the built libkorvio.so.
#include "player/core/korvlib.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <climits>
#include <filesystem>
#include <vector>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

struct StatusLog final : PnkorvStatus {
    void show_status(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

TEST(KorvlibStatus, FirstStepAsksForTheButtonThenCountsUp) {
    EXPECT_EQ(pnkorv_status_text(1), "Press the TRANSFER button");
    EXPECT_EQ(pnkorv_status_text(2), "Active: 2");
    EXPECT_EQ(pnkorv_status_text(0), "Active: 0");

    const auto missing = korv::KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    korvlib lib(*missing);
    StatusLog status;
    lib.pd = &status;
    lib.update_pnkorv(1);
    lib.update_pnkorv(1);
    lib.update_pnkorv(2);
    EXPECT_EQ(lib.block_count, 4);
    EXPECT_EQ(status.texts, (std::vector<std::string>{"Press the TRANSFER button", "Active: 2", "Active: 4"}));
    lib.block_count = INT_MAX - 1;
    lib.update_pnkorv(5);
    EXPECT_EQ(lib.block_count, INT_MAX);
}

TEST(KorvlibBinding, MissingLibraryIsReportedNotCalled) {
    const auto missing = korv::KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    korvlib lib(*missing);
    StatusLog status;
    lib.pd = &status;
    EXPECT_THROW(lib.getver(), korv::KorvioUnavailable);
    EXPECT_THROW(lib.getPNKORV(0), korv::KorvioUnavailable);
    EXPECT_THROW(lib.getPMS(0, 1, 0, 0), korv::KorvioUnavailable);
    EXPECT_TRUE(status.texts.empty());  // no transfer began
}

class KorvlibOnLibrary : public InScratchFolder {};

TEST_F(KorvlibOnLibrary, TransferCallsBackOnTheCallingObject) {
    const auto standin = korv::KorvioLibrary::load_from(PALM_STANDIN_PATH);
    ASSERT_TRUE(standin->available()) << standin->load_error();
    using Script = void (*)(int, int, const std::uint8_t*, int);
    void* handle = dlopen(PALM_STANDIN_PATH, RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    auto script = reinterpret_cast<Script>(dlsym(handle, "palm_standin_script"));
    ASSERT_NE(script, nullptr);
    const Bytes dump{1, 1, 9, 9, 0x80};
    script(6, 0, dump.data(), int(dump.size()));

    korvlib lib(*standin);
    StatusLog status;
    lib.pd = &status;
    EXPECT_EQ(lib.getver(), 6);
    EXPECT_EQ(lib.getPNKORV(2), 0);
    EXPECT_EQ(lib.block_count, 3 + 5);
    ASSERT_FALSE(status.texts.empty());
    EXPECT_EQ(status.texts.front(), "Press the TRANSFER button");
    EXPECT_EQ(status.texts.back(), "Active: 8");
    EXPECT_EQ(read_bytes(path("kvt1.tmp")), dump);
    dlclose(handle);
}

#ifdef KORVIO_LIBRARY_PATH
TEST_F(KorvlibOnLibrary, BuiltLibraryIsVersionSixAndItsDemonstrationPortHasNoHandheld) {
    const auto built = korv::KorvioLibrary::load_from(KORVIO_LIBRARY_PATH);
    ASSERT_TRUE(built->available()) << built->load_error();
    korvlib lib(*built);
    StatusLog status;
    lib.pd = &status;
    EXPECT_EQ(lib.getver(), korv::kRequiredKorvioVersion);
    EXPECT_EQ(lib.getPNKORV(4), 0);
    EXPECT_EQ(status.texts, std::vector<std::string>{"Press the TRANSFER button"});
    ASSERT_TRUE(std::filesystem::exists(path("kvt1.tmp")));
    EXPECT_EQ(std::filesystem::file_size(path("kvt1.tmp")), 0u);
}
#endif

}  // namespace
