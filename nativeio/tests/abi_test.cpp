// Binds the built libkorvio.so the way the programs do and checks that the
// library shows the world nothing but its entry points.
#include "nativeio/include/korvio.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::set<std::string> kEntryPoints = {"SioReset", "SioDone", "logdata", "getDTC",   "clearDTC",
                                            "getver",   "dodiag",  "getPMS",  "getPNKORV"};

struct Binding {
    void* library = nullptr;
    decltype(&SioReset) sio_reset = nullptr;
    decltype(&SioDone) sio_done = nullptr;
    decltype(&logdata) log_data = nullptr;
    decltype(&getDTC) get_dtc = nullptr;
    decltype(&clearDTC) clear_dtc = nullptr;
    decltype(&getver) get_ver = nullptr;
    decltype(&dodiag) do_diag = nullptr;
    decltype(&getPMS) get_pms = nullptr;
    decltype(&getPNKORV) get_pnkorv = nullptr;

    template <class F>
    bool bind(F*& target, const char* name) {
        target = reinterpret_cast<F*>(dlsym(library, name));
        return target != nullptr;
    }
};

class KorvioLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        b.library = dlopen(KORVIO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(b.library, nullptr) << dlerror();
        ASSERT_TRUE(b.bind(b.sio_reset, "SioReset"));
        ASSERT_TRUE(b.bind(b.sio_done, "SioDone"));
        ASSERT_TRUE(b.bind(b.log_data, "logdata"));
        ASSERT_TRUE(b.bind(b.get_dtc, "getDTC"));
        ASSERT_TRUE(b.bind(b.clear_dtc, "clearDTC"));
        ASSERT_TRUE(b.bind(b.get_ver, "getver"));
        ASSERT_TRUE(b.bind(b.do_diag, "dodiag"));
        ASSERT_TRUE(b.bind(b.get_pms, "getPMS"));
        ASSERT_TRUE(b.bind(b.get_pnkorv, "getPNKORV"));
    }
    void SetUp() override { ASSERT_NE(b.get_pnkorv, nullptr); }
    static Binding b;
};
Binding KorvioLibrary::b;

TEST_F(KorvioLibrary, BindsEveryEntryPointAndIsVersionSix) { EXPECT_EQ(b.get_ver(), KORVIO_VERSION); }

TEST_F(KorvioLibrary, ExportsOnlyTheEntryPoints) {
    FILE* pipe = popen("nm -D --defined-only '" KORVIO_LIBRARY_PATH "'", "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) exported.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(exported, kEntryPoints);
}

TEST_F(KorvioLibrary, AnswersBadAndClosedPortsThroughTheBinding) {
    EXPECT_EQ(b.sio_done(-1), -1);
    EXPECT_EQ(b.sio_done(9), -3);
    EXPECT_EQ(b.sio_done(4), 0);
    EXPECT_EQ(b.sio_reset(99, 128, 1024, 1024), 499);
    EXPECT_EQ(b.do_diag(-1, 0), -1);
    EXPECT_EQ(b.do_diag(9, 0), -3);
    EXPECT_EQ(b.do_diag(0, 42), -101);
    EXPECT_EQ(b.log_data(nullptr, 0, 2, 7, nullptr, 0, 0), 7);
    EXPECT_EQ(b.log_data(nullptr, 0, 2, 0, nullptr, 0, 0), -199);
    EXPECT_EQ(b.get_pnkorv(nullptr, 0), -101);
}

}  // namespace
