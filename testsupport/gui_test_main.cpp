// Main of every GUI test: headless by default, one QApplication for the run.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char** argv) {
    // gtest_discover_tests runs the binary outside CTest's environment, so the
    // platform is chosen here rather than trusted to the caller. The headless
    // screen is a 1280 x 1024 desktop, as the programs meet on a real display,
    // so where windows open is tested on a screen that has room for them.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || std::strcmp(platform, "offscreen") == 0) {
        const std::string configured = std::string("offscreen:configfile=") + KORV_OFFSCREEN_SCREEN;
        setenv("QT_QPA_PLATFORM", configured.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
