// The logger's libraries bound through the one binding: its stand-in and
// the built libkorvio.so.
#include "common/core/korvio_library.h"

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
