// Korvview: the start window, which restores the windows kvt.cfg remembers.
// kvt.cfg and the player's scratch files live in the working folder.
#include "platform/gui/qt_file_chooser.h"
#include "player/gui/controller_editors.h"
#include "player/gui/korvane.h"
#include "player/gui/playback_hooks.h"

#include <QApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Hidden windows stay alive; only the start window's close ends the program.
    app.setQuitOnLastWindowClosed(false);
    try {
        korv::platform::QtFileChooser file_chooser;
        korv::player::EditorPool editors;
        korv::player::PlayerServices services;
        services.file_chooser = &file_chooser;
        services.editors = &editors;
        Korvane window(services);
        window.show();
        return app.exec();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "Korvview failed to start: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "Korvview failed to start\n");
    }
    return 1;
}
