// VXMlog: captures data from the Calderis data-logger box and reviews it.
#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "boxlogger/core/hand_over.h"
#include "boxlogger/core/instance_lock.h"
#include "boxlogger/gui/instance_channel.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"
#include "platform/gui/qt_settings_store.h"

using namespace korv::boxlogger;

namespace {

// A termination request (logout, kill, Ctrl+C) ends the program at any
// moment as closing its command screen does: whatever dialog or message box
// is open is dismissed as by its Cancel and every event loop is left, so
// main, back outside them all, ends the program (settings kept, the lock
// and the socket let go). The handler only wakes the GUI thread through a
// socket pair.
int g_signal_pipe[2] = {-1, -1};

void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_pipe[0], &byte, 1);
}

void dismiss_open_windows() {
    // Nested ones go one by one; one that will not go (a command under way)
    // is left by its event loop all the same.
    for (int i = 0; i < 32; ++i) {
        QWidget* open = QApplication::activePopupWidget();
        if (open == nullptr) open = QApplication::activeModalWidget();
        if (open == nullptr) return;
        if (auto* dialog = qobject_cast<QDialog*>(open))
            dialog->reject();
        else
            open->close();
        if (open->isVisible()) return;
    }
}

// `app` is null for a second start, which only shows a message.
void end_on_signals(QObject* owner, CVXMlogApp* app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signal_pipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signal_pipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signal_pipe[1], &byte, 1);
        if (app != nullptr) app->RequestEnd();
        dismiss_open_windows();
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

// A start from a file manager has no terminal: the message goes to both.
int refuse_second_start() {
    std::fprintf(stderr, "%s\n", kFirstInstanceSilent);
    std::fflush(stderr);
    korv::platform::QtMessageBox messages;
    messages.show(kFirstInstanceSilent, "VXMlog", korv::platform::MessageButtons::Ok,
                  korv::platform::MessageIcon::Warning);
    return 1;
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
        if (InstanceChannel::HandOver(instance_socket_path(), arguments)) return 0;
        end_on_signals(&qapp, nullptr);
        return refuse_second_start();
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

    end_on_signals(&app, &app);
    if (!app.InitInstance(arguments)) return 1;
    // Closing the command screen ends the program from within the event
    // loop; a termination request, here, once every dialog is left.
    while (!app.exited()) {
        if (!app.end_requested()) qapp.exec();
        app.EndOnRequest();
    }
    return 0;
}
