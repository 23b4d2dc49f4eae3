// VXMlog: captures data from the Calderis data-logger box and reviews it.
#include <QApplication>
#include <QThread>
#include <cstdio>

#include "boxlogger/core/instance_lock.h"
#include "boxlogger/gui/instance_channel.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"
#include "platform/gui/qt_settings_store.h"

using namespace korv::boxlogger;

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("VXMlog");
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

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

    if (!app.InitInstance(arguments)) return 1;
    return qapp.exec();
}
