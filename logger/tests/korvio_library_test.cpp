// Binding a library by path, and what a missing or foreign library gives.
#include "logger/core/korvio_library.h"

#include <gtest/gtest.h>

namespace korv::logger {
namespace {

TEST(LoggerKorvioBinding, BindsEveryEntryPointOfALibraryWithTheAbi) {
    const auto library = KorvioLibrary::load_from(KORVIO_STANDIN_PATH);
    ASSERT_TRUE(library->available()) << library->load_error();
    EXPECT_TRUE(library->load_error().empty());
    EXPECT_EQ(library->getver(), kRequiredKorvioVersion);
    EXPECT_EQ(library->logdata(nullptr, 0, 1, 7, nullptr, 0, 0), 7);  // unknown cable comes back
}

TEST(LoggerKorvioBinding, MissingLibraryMakesEveryEntryPointFail) {
    const auto library = KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    EXPECT_FALSE(library->available());
    EXPECT_FALSE(library->load_error().empty());
    EXPECT_THROW(library->getver(), KorvioUnavailable);
    EXPECT_THROW(library->SioDone(0), KorvioUnavailable);
    EXPECT_THROW(library->logdata(nullptr, 0, 2, 1, nullptr, 0, 0), KorvioUnavailable);
}

TEST(LoggerKorvioBinding, LibraryWithoutTheEntryPointsIsRefused) {
    const auto library = KorvioLibrary::load_from("libc.so.6");
    EXPECT_FALSE(library->available());
    EXPECT_NE(library->load_error().find("SioReset"), std::string::npos) << library->load_error();
    EXPECT_THROW(library->getver(), KorvioUnavailable);
}

TEST(LoggerKorvioBinding, ExecutableDirectoryIsWhereThisProgramLies) {
    const std::string folder = executable_directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back() == '/', false);
    EXPECT_NE(folder.find("tests"), std::string::npos) << folder;
}

}  // namespace
}  // namespace korv::logger

#ifdef KORVIO_LIBRARY_PATH
namespace korv::logger {
namespace {

TEST(LoggerKorvioBinding, BindsTheBuiltLibrary) {
    const auto library = KorvioLibrary::load_from(KORVIO_LIBRARY_PATH);
    ASSERT_TRUE(library->available()) << library->load_error();
    EXPECT_EQ(library->getver(), kRequiredKorvioVersion);
    EXPECT_EQ(library->SioDone(4), 0);  // the demonstration port closes nothing
    EXPECT_EQ(library->logdata(nullptr, 4, 2, 7, nullptr, 0, 0), 7);
}

}  // namespace
}  // namespace korv::logger
#endif
