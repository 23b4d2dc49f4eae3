// VXMlog: captures data from the Calderis data-logger box and reviews it.
#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "boxlogger/core/instance_lock.h"
#include "boxlogger/gui/instance_channel.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"
#include "platform/gui/qt_settings_store.h"

using namespace korv::boxlogger;

namespace {

// A termination request (logout, kill) ends the program as closing its
// command screen does: an unsaved capture is asked about, the settings are
// kept. The handler only wakes the GUI thread through a socket pair.
int g_signal_pipe[2] = {-1, -1};

void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_pipe[0], &byte, 1);
}

void end_on_signals(CVXMlogApp& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signal_pipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signal_pipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signal_pipe[1], &byte, 1);
        if (app.command_frame() == nullptr || app.exited()) {
            QCoreApplication::quit();
            return;
        }
        app.RaiseCommandScreen();
        app.command_frame()->close();
    });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("VXMlog");
    QStringList given = QApplication::arguments();
    given.removeFirst();
    // A running instance works in its own folder: hand it whole paths.
    const QStringList arguments = absolute_arguments(given);

    // One instance per user: a second start hands its files to the first.
    InstanceLock lock;
    const InstanceLock::Result held = lock.acquire(instance_lock_path().toStdString());
    if (held == InstanceLock::Result::HeldElsewhere) {
        // The first may still be starting: give it a few seconds to listen.
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (InstanceChannel::SendToRunning(instance_socket_path(), arguments, 1000)) return 0;
            QThread::msleep(100);
        }
        std::fprintf(stderr, "VXMlog is already running but does not answer.\n");
        return 1;
    }
    if (held == InstanceLock::Result::Failed)
        std::fprintf(stderr, "VXMlog: cannot lock %s: %s\n", qPrintable(instance_lock_path()), lock.error().c_str());

    korv::platform::QtSettingsStore store(korv::platform::vxmlog_settings.organisation,
                                          korv::platform::vxmlog_settings.application);
    korv::platform::QtMessageBox messages;
    korv::platform::QtFileChooser files;
    AppServices services;
    services.store = &store;
    services.messages = &messages;
    services.files = &files;
    services.register_shell = true;
    CVXMlogApp app(services);

    InstanceChannel channel;
    QObject::connect(&channel, &InstanceChannel::raise_requested, &app,
                     [&app](const QStringList& paths) { app.RaiseCommandScreen(paths); });
    if (held == InstanceLock::Result::Acquired) channel.Listen(instance_socket_path());

    end_on_signals(app);
    if (!app.InitInstance(arguments)) return 1;
    return qapp.exec();
}
