// The built program as a person starts it: one instance per user, a second
// start hands over to the first, a killed instance does not block the next.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>

#include "boxlogger/core/instance_lock.h"
#include "boxlogger/gui/instance_channel.h"
#include "common/core/vxm_document_writer.h"
#include "platform/gui/qt_settings_store.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

class Program {
public:
    explicit Program(const testsupport::TempFolder& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const std::string folder = home.file(name);
            std::filesystem::create_directories(folder);
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
            env.insert(name, QString::fromStdString(folder));
        }
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    void start(const QStringList& arguments = {}) { process_.start(VXMLOG_BINARY, arguments); }
    // The folder it starts in, and its error output kept for the test.
    void start_in(const std::string& folder, const QStringList& arguments) {
        process_.setWorkingDirectory(QString::fromStdString(folder));
        start(arguments);
    }
    void keep_errors() { process_.setProcessChannelMode(QProcess::SeparateChannels); }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

// True once a program listens on the socket: a raise request reaches it.
bool answers(const QString& socket) { return InstanceChannel::SendToRunning(socket, {}, "test", 2000); }

// A start that shows its refusal of a file and is then asked to end while
// the message is up: it ends then and there, keeps its settings and lets go
// of its lock, so the next start is a first one again.
TEST(VXMlogProgram, ATerminationRequestEndsItWhileAMessageIsUp) {
    testsupport::TempFolder home;
    const QString socket = QString::fromStdString(home.file("XDG_RUNTIME_DIR") + "/VXMlog.socket");
    const std::string refused = home.file("wide.vxg");
    testsupport::write_bytes(refused, testsupport::hex("02 00 00 00  00  30 00 00 00"));

    Program first(home);
    first.start({QString::fromStdString(refused)});
    // It answers from within its message box's event loop.
    QTRY_VERIFY_WITH_TIMEOUT(answers(socket), 20000);
    first.process().terminate();
    ASSERT_TRUE(first.process().waitForFinished(20000)) << "still running after the termination request";
    EXPECT_EQ(first.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.process().exitCode(), 0);

    InstanceLock next;
    EXPECT_EQ(next.acquire(home.file("XDG_RUNTIME_DIR") + "/VXMlog.lock"), InstanceLock::Result::Acquired);
    EXPECT_FALSE(answers(socket));
    platform::QtSettingsStore store("Calderis", "VXMlog", QString::fromStdString(home.file("XDG_CONFIG_HOME")));
    EXPECT_TRUE(store.read_string({"State"}, "MainWindow"));
}

TEST(VXMlogProgram, ASecondStartRaisesTheFirstAndAKilledOneDoesNotBlock) {
    testsupport::TempFolder home;
    const QString socket = QString::fromStdString(home.file("XDG_RUNTIME_DIR") + "/VXMlog.socket");
    const std::string vxg = home.file("run.vxg");
    VxmDocument doc;
    doc.title = "Run";
    ASSERT_FALSE(write_vxm_document(vxg, doc));

    Program first(home);
    first.start();
    QTRY_VERIFY_WITH_TIMEOUT(answers(socket), 20000);

    Program second(home);
    second.start({QString::fromStdString(vxg)});
    ASSERT_TRUE(second.process().waitForFinished(20000));
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_EQ(first.process().state(), QProcess::Running);

    // Ended by a termination request, the first keeps its settings: the
    // file the second handed over is among its recent files.
    first.process().terminate();
    ASSERT_TRUE(first.process().waitForFinished(20000));
    EXPECT_EQ(first.process().exitCode(), 0);
    {
        platform::QtSettingsStore store("Calderis", "VXMlog", QString::fromStdString(home.file("XDG_CONFIG_HOME")));
        EXPECT_EQ(store.read_string({"Recent File List"}, "File1"), vxg);
        EXPECT_EQ(store.read_dword({"Settings"}, "ComPort"), 0u);
        EXPECT_TRUE(store.read_string({"State"}, "MainWindow"));
    }

    Program crashed(home);
    crashed.start();
    QTRY_VERIFY_WITH_TIMEOUT(answers(socket), 20000);
    crashed.process().kill();
    ASSERT_TRUE(crashed.process().waitForFinished(20000));

    Program after(home);
    after.start();
    QTRY_VERIFY_WITH_TIMEOUT(answers(socket), 20000);
    EXPECT_EQ(after.process().state(), QProcess::Running);
    after.process().terminate();
    ASSERT_TRUE(after.process().waitForFinished(20000));
    EXPECT_EQ(after.process().exitCode(), 0);
}

std::string recent_file_of(const testsupport::TempFolder& home) {
    platform::QtSettingsStore store("Calderis", "VXMlog", QString::fromStdString(home.file("XDG_CONFIG_HOME")));
    return store.read_string({"Recent File List"}, "File1").value_or("");
}

// Each instance in a folder of its own, each folder with its own run.vxg:
// the second start's relative name means the file in ITS folder.
TEST(VXMlogProgram, ASecondStartsRelativePathOpensTheFileOfItsOwnFolder) {
    testsupport::TempFolder home;
    const QString socket = QString::fromStdString(home.file("XDG_RUNTIME_DIR") + "/VXMlog.socket");
    for (const char* folder : {"first", "second"}) {
        std::filesystem::create_directories(home.file(folder));
        VxmDocument doc;
        doc.title = folder;
        ASSERT_FALSE(write_vxm_document(home.file(folder) + "/run.vxg", doc));
    }
    Program first(home);
    first.start_in(home.file("first"), {});
    QTRY_VERIFY_WITH_TIMEOUT(answers(socket), 20000);

    Program second(home);
    second.start_in(home.file("second"), {"run.vxg"});
    ASSERT_TRUE(second.process().waitForFinished(20000));
    EXPECT_EQ(second.process().exitCode(), 0);

    first.process().terminate();
    ASSERT_TRUE(first.process().waitForFinished(20000));
    EXPECT_EQ(recent_file_of(home), home.file("second") + "/run.vxg");
}

// An instance holds the lock but never answers: the second start gives up,
// says so and fails.
TEST(VXMlogProgram, ASecondStartThatCannotHandOverFailsWithAMessage) {
    testsupport::TempFolder home;
    Program probe(home);  // makes the runtime folder
    InstanceLock held;
    ASSERT_EQ(held.acquire(home.file("XDG_RUNTIME_DIR") + "/VXMlog.lock"), InstanceLock::Result::Acquired);

    Program second(home);
    second.keep_errors();
    second.start_in(home.file("XDG_RUNTIME_DIR"), {"run.vxg"});
    // Said on the error output and in a message box, which keeps the
    // program until it is answered (here: until it is asked to end).
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += second.process().readAllStandardError()).contains("does not answer"), 20000);
    EXPECT_EQ(second.process().state(), QProcess::Running) << "no message box is up";
    second.process().terminate();
    ASSERT_TRUE(second.process().waitForFinished(20000));
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second.process().exitCode(), 0);
}

}  // namespace
}  // namespace korv::boxlogger
