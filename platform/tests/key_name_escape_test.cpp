#include "platform/core/key_name_escape.h"

#include <gtest/gtest.h>

namespace korv::platform {
namespace {

TEST(KeyNameEscape, EscapesOnlySeparatorsAndPercentAndEveryByteRoundTrips) {
    EXPECT_EQ(escape_key_name("A/F C:\\x 100%"), "A%2FF C:%5Cx 100%25");
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    const std::string escaped = escape_key_name(all);
    EXPECT_EQ(escaped.find('/'), std::string::npos);
    EXPECT_EQ(escaped.find('\\'), std::string::npos);
    EXPECT_EQ(escaped.size(), all.size() + 6);
    EXPECT_EQ(unescape_key_name(escaped), all);
}

TEST(KeyNameEscape, UnescapeRefusesBrokenEscapesAndAcceptsLowerCaseHex) {
    EXPECT_EQ(unescape_key_name("a%2fb"), "a/b");
    EXPECT_FALSE(unescape_key_name("%"));
    EXPECT_FALSE(unescape_key_name("ab%2"));
    EXPECT_FALSE(unescape_key_name("%G0"));
    EXPECT_FALSE(unescape_key_name("%key"));
}

}  // namespace
}  // namespace korv::platform
