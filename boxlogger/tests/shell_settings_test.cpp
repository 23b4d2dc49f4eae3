#include <gtest/gtest.h>

#include "boxlogger/core/app_settings.h"
#include "boxlogger/core/command_screen.h"
#include "boxlogger/core/hand_over.h"
#include "boxlogger/core/instance_lock.h"
#include "boxlogger/core/shell_registration.h"
#include "platform/core/clock.h"
#include "platform/core/memory_settings_store.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace korv::boxlogger {
namespace {

TEST(AppSettings, FirstStartGivesCom1BlackOnGrayAndNoPlacements) {
    platform::MemorySettingsStore store;
    const AppSettings s = LoadAppSettings(store);
    EXPECT_EQ(s.com_port, 0);
    EXPECT_EQ(s.background, 0x000000u);
    EXPECT_EQ(s.foreground, 0x808080u);
    for (const WindowPlacement& p : s.placements) EXPECT_FALSE(p.valid());
    EXPECT_TRUE(store.key_exists(kSettingsKey));
    EXPECT_TRUE(store.key_exists(kStateKey));
}

TEST(AppSettings, StoredValuesAreSanitised) {
    struct Case {
        std::uint32_t port;
        std::int32_t expected;
    };
    for (const Case c : {Case{0, 0}, Case{3, 3}, Case{4, 0}, Case{0xFFFFFFFF, 0}, Case{99, 0}}) {
        platform::MemorySettingsStore store;
        store.write_dword(kSettingsKey, "ComPort", c.port);
        store.write_dword(kSettingsKey, "BgColor", 0xFF123456);
        store.write_dword(kSettingsKey, "FgColor", 0x01FFFFFF);
        const AppSettings s = LoadAppSettings(store);
        EXPECT_EQ(s.com_port, c.expected) << c.port;
        EXPECT_EQ(s.background, 0x123456u);
        EXPECT_EQ(s.foreground, 0xFFFFFFu);
    }
}

TEST(AppSettings, APlacementNeedsExactlyTenIntegers) {
    EXPECT_EQ(parse_placement("0:1:-1:-1:-1:-1:10:20:410:270"),
              (WindowPlacement{0, 1, -1, -1, -1, -1, 10, 20, 410, 270}));
    for (const char* bad :
         {"10:20:410", "0:1:-1:-1:-1:-1:10:20:410", "0:1:-1:-1:-1:-1:10:20:410:270:5", "0:1:-1:-1:-1:-1:10:20:410:270x",
          "a:1:-1:-1:-1:-1:10:20:410:270", "", "0:1:-1:-1:-1:-1:10:20:10:270", "0:1:-1:-1:-1:-1:10:20:410:20"})
        EXPECT_FALSE(parse_placement(bad)) << bad;
    // 100 bytes or more is refused whatever it holds.
    EXPECT_FALSE(parse_placement("0:1:-1:-1:-1:-1:10:20:410:" + std::string(80, '0') + "270"));
}

TEST(AppSettings, ThreeIntegersLeaveThePlacementInvalid) {
    platform::MemorySettingsStore store;
    store.write_string(kStateKey, "MainWindow", "10:20:30");
    store.write_string(kStateKey, "CaptureWindow", "2:3:-1:-1:-1:-1:5:6:605:406");
    const AppSettings s = LoadAppSettings(store);
    EXPECT_FALSE(s.placement(PlacementSlot::MainWindow).valid());
    EXPECT_EQ(s.placement(PlacementSlot::CaptureWindow), (WindowPlacement{2, 3, -1, -1, -1, -1, 5, 6, 605, 406}));
}

TEST(AppSettings, SaveWritesTheKeysTheNextLoadReads) {
    platform::MemorySettingsStore store;
    AppSettings s;
    s.com_port = 2;
    s.background = 0xC0C0C0;
    s.foreground = 0x0000FF;
    s.placement(PlacementSlot::ReviewWindow) = {2, 3, -1, -1, -1, -1, 5, 6, 605, 406};
    ASSERT_TRUE(SaveAppSettings(store, s));
    EXPECT_EQ(store.read_dword(kSettingsKey, "ComPort"), 2u);
    EXPECT_EQ(store.read_string(kStateKey, "ReviewWindow"), "2:3:-1:-1:-1:-1:5:6:605:406");
    EXPECT_FALSE(store.read_string(kStateKey, "MainWindow"));
    const AppSettings back = LoadAppSettings(store);
    EXPECT_EQ(back.com_port, 2);
    EXPECT_EQ(back.background, 0xC0C0C0u);
    EXPECT_EQ(back.foreground, 0x0000FFu);
    EXPECT_EQ(back.placement(PlacementSlot::ReviewWindow), s.placement(PlacementSlot::ReviewWindow));
}

TEST(RecentFiles, NewestFirstEachOnceAtMostSix) {
    RecentFileList files;
    for (const char16_t* path : {u"/a.vxg", u"/b.vxg", u"/a.vxg"}) files.add(path);
    EXPECT_EQ(files.paths(), (std::vector<std::u16string>{u"/a.vxg", u"/b.vxg"}));
    for (char16_t c = u'c'; c <= u'h'; ++c) files.add(std::u16string(u"/") + c);
    EXPECT_EQ(files.paths(), (std::vector<std::u16string>{u"/h", u"/g", u"/f", u"/e", u"/d", u"/c"}));
}

// The list is stored in Windows-1252 as File1..File6; a path the code page
// cannot hold is left out, and names past the list are removed.
TEST(RecentFiles, StoredInWindows1252AndReadBackInOrder) {
    platform::MemorySettingsStore store;
    store.write_string(kRecentFilesKey, "File6", "/stale.vxg");
    RecentFileList files;
    files.add(u"/caf\u00e9.vxg");
    files.add(u"/\u4e2d.vxg");
    files.add(u"/new \u20ac.vxg");
    ASSERT_TRUE(SaveRecentFiles(store, files));
    EXPECT_EQ(store.read_string(kRecentFilesKey, "File1"), "/new \x80.vxg");
    EXPECT_FALSE(store.read_string(kRecentFilesKey, "File2"));
    EXPECT_EQ(store.read_string(kRecentFilesKey, "File3"), "/caf\xe9.vxg");
    EXPECT_FALSE(store.read_string(kRecentFilesKey, "File6"));

    store.write_string(kRecentFilesKey, "File5", "/last.vxg");
    EXPECT_EQ(LoadRecentFiles(store).paths(),
              (std::vector<std::u16string>{u"/new \u20ac.vxg", u"/caf\u00e9.vxg", u"/last.vxg"}));
    EXPECT_TRUE(LoadRecentFiles(platform::MemorySettingsStore{}).paths().empty());
}

TEST(AppSettings, APlacementOffEveryScreenIsMovedOntoOne) {
    const std::vector<ScreenRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const WindowPlacement far{0, 1, -1, -1, -1, -1, 5000, 3000, 5400, 3250};
    const WindowPlacement moved = place_on_screens(far, screens);
    EXPECT_EQ(moved.width(), 400);
    EXPECT_EQ(moved.height(), 250);
    EXPECT_GE(moved.left, 0);
    EXPECT_LE(moved.right, 1920);
    EXPECT_LE(moved.bottom, 1080);
    // Mostly on the second screen: pulled fully onto that one.
    const WindowPlacement edge = place_on_screens({0, 1, -1, -1, -1, -1, 3000, 900, 3400, 1150}, screens);
    EXPECT_EQ(edge.left, 3200 - 400);
    EXPECT_EQ(edge.bottom, 1024);
    // Bigger than its screen: shrunk to it.
    const WindowPlacement huge = place_on_screens({0, 1, -1, -1, -1, -1, -50, -50, 3000, 2000}, screens);
    EXPECT_EQ(huge.left, 0);
    EXPECT_EQ(huge.width(), 1920);
    EXPECT_EQ(huge.height(), 1080);
    // On screen: unchanged.
    const WindowPlacement on{0, 1, -1, -1, -1, -1, 100, 100, 500, 350};
    EXPECT_EQ(place_on_screens(on, screens), on);
}

TEST(ColorMenu, SixteenEntriesInMenuOrderStoredWithRedLow) {
    const std::array<std::pair<const char*, std::uint32_t>, 16> rgb{{{"Black", 0x000000},
                                                                     {"Maroon", 0x800000},
                                                                     {"Green", 0x008000},
                                                                     {"Olive", 0x808000},
                                                                     {"Navy", 0x000080},
                                                                     {"Purple", 0x800080},
                                                                     {"Teal", 0x008080},
                                                                     {"Gray", 0x808080},
                                                                     {"Silver", 0xC0C0C0},
                                                                     {"Red", 0xFF0000},
                                                                     {"Lime", 0x00FF00},
                                                                     {"Yellow", 0xFFFF00},
                                                                     {"Blue", 0x0000FF},
                                                                     {"Fuchsia", 0xFF00FF},
                                                                     {"Aqua", 0x00FFFF},
                                                                     {"White", 0xFFFFFF}}};
    for (int n = 0; n < 16; ++n) {
        const std::uint32_t v = rgb[n].second;
        const std::uint32_t bgr = ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
        EXPECT_STREQ(kColorMenu[n].name, rgb[n].first);
        EXPECT_EQ(color_of_menu_index(n), bgr) << rgb[n].first;
    }
}

TEST(CommandScreen, ButtonsFollowTheLink) {
    EXPECT_EQ(command_button_states(true), (CommandButtonStates{"Dis&connect", true, true, true, true}));
    EXPECT_EQ(command_button_states(false), (CommandButtonStates{"&Connect", false, false, false, true}));
}

TEST(CommandScreen, RatePaneAndConnectDecisions) {
    EXPECT_EQ(status_rate_text(false, 55.0f), "Link Down");
    EXPECT_EQ(status_rate_text(true, 61.9f), "Rate: 61/s");
    EXPECT_EQ(status_rate_text(true, 0.0f), "Rate: 0/s");
    EXPECT_EQ(connect_action(true, true), ConnectAction::RefuseCaptureOpen);
    EXPECT_EQ(connect_action(true, false), ConnectAction::ClosePort);
    EXPECT_EQ(connect_action(false, true), ConnectAction::ProbeSavedPort);
    EXPECT_STREQ(probe_status_text(-1), "Port already in use or unavailable");
    EXPECT_STREQ(probe_status_text(0), "Datalogger not found or lacking power");
    EXPECT_STREQ(probe_status_text(1), "Datalogger not properly connected to ECU");
    EXPECT_STREQ(probe_status_text(2), "Datalogger working properly");
    EXPECT_STREQ(probe_status_text(7), "Unknown error");
}

TEST(InstanceLock, SecondHolderIsRefusedAndAKilledHoldersLockIsTakenOver) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("VXMlog.lock");
    InstanceLock first;
    ASSERT_EQ(first.acquire(path), InstanceLock::Result::Acquired);
    InstanceLock second;
    EXPECT_EQ(second.acquire(path), InstanceLock::Result::HeldElsewhere);
    first.release();
    EXPECT_EQ(second.acquire(path), InstanceLock::Result::Acquired);
    second.release();

    // A process that dies holding the lock leaves its file behind.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held;
        if (held.acquire(path) != InstanceLock::Result::Acquired) _exit(1);
        _exit(0);  // no release: the kernel lets go
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::exists(path));
    InstanceLock after;
    EXPECT_EQ(after.acquire(path), InstanceLock::Result::Acquired);
}

// A second start gives up on a first that does not answer within the
// budget, however its attempts fail: refused at once, or silent until their
// time runs out; one answered attempt ends the hand-over.
TEST(HandOver, GivesUpWithinTheBudgetHoweverTheAttemptsFail) {
    struct Case {
        const char* name;
        bool waits_out_its_time;
        int answered_on;  // 0: never
        bool handed_over;
    };
    for (const Case& c : {Case{"refused", false, 0, false}, Case{"silent", true, 0, false},
                          Case{"answers on the third", true, 3, true}}) {
        SCOPED_TRACE(c.name);
        platform::TestClock clock(7'000'000);
        int attempts = 0;
        std::vector<int> timeouts;
        const bool handed = hand_over(
            [&](int timeout_ms) {
                timeouts.push_back(timeout_ms);
                if (++attempts == c.answered_on) return true;
                if (c.waits_out_its_time) clock.advance_ms(timeout_ms);
                return false;
            },
            clock);
        EXPECT_EQ(handed, c.handed_over);
        EXPECT_LE(clock.now_ms() - 7000, kHandOverBudgetMs);
        if (!c.handed_over) {
            EXPECT_EQ(clock.now_ms() - 7000, kHandOverBudgetMs) << "tried until the end";
        }
        for (const int t : timeouts) EXPECT_LE(t, kHandOverAttemptMs);
        EXPECT_GT(attempts, c.handed_over ? 2 : 4);
    }
}

TEST(ShellRegistration, WritesTheEntryAndTypeOnlyWhenMissing) {
    testsupport::TempFolder folder;
    const RegistrationResult first = register_shell_types(folder.path(), "/opt/korv/bin/VXMlog");
    ASSERT_FALSE(first.error) << *first.error;
    EXPECT_EQ(first.written.size(), 2u);
    const std::string desktop = folder.path() + "/applications/vxmlog.desktop";
    const std::string mime = folder.path() + "/mime/packages/vxmlog-vxg.xml";
    const std::string text = testsupport::read_text(desktop);
    EXPECT_NE(text.find("Exec=\"/opt/korv/bin/VXMlog\" %f\n"), std::string::npos);
    EXPECT_NE(text.find("MimeType=application/x-vxmlog-document;\n"), std::string::npos);
    EXPECT_NE(testsupport::read_text(mime).find("<glob pattern=\"*.vxg\"/>"), std::string::npos);

    // A user's own edit stays.
    testsupport::write_text(desktop, "x");
    const RegistrationResult again = register_shell_types(folder.path(), "/elsewhere/VXMlog");
    EXPECT_FALSE(again.error);
    EXPECT_TRUE(again.written.empty());
    EXPECT_EQ(testsupport::read_text(desktop), "x");
}

TEST(ShellRegistration, ExecQuotesAwkwardPaths) {
    const std::string text = desktop_entry_text("/home/a b/100%/$x\"y");
    EXPECT_NE(text.find("Exec=\"/home/a b/100%%/\\$x\\\"y\" %f\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace korv::boxlogger
