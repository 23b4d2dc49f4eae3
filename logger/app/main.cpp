// Korvlog, the live logger: shows the start window.
#include <QApplication>
#include <exception>
#include <iostream>

#include "logger/gui/korvlog_parts.h"
#include "logger/gui/korvlog_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    try {
        // The chart windows and panels, and the interface settings frames.
        korv::logger::KorvlogParts parts;
        KorvLog::Services services;
        services.parts = &parts;
        KorvLog window(std::move(services));
        window.show();
        return app.exec();
    } catch (const std::exception& failure) {
        std::cerr << "Korvlog: " << failure.what() << std::endl;
        return 1;
    } catch (...) {
        std::cerr << "Korvlog: unknown failure" << std::endl;
        return 1;
    }
}
