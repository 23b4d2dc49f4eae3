// Ergomark: horsepower and torque estimated from a logged full-throttle pull.
#include "dyno/gui/ergomark_window.h"
#include "platform/gui/qt_settings_store.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korv::platform::QtSettingsStore store(korv::platform::ergomark_settings.organisation,
                                          korv::platform::ergomark_settings.application);
    korv::dyno::Ergomark window(store);
    window.show();
    return app.exec();
}
