// Korvview: the start window, which restores the windows kvt.cfg remembers.
// kvt.cfg and the player's scratch files live in the working folder.
#include "editors/gui/editor_factory.h"
#include "platform/gui/qt_file_chooser.h"
#include "common/gui/job_worker.h"
#include "plot3d/gui/plot3d_window_factory.h"
#include "player/gui/analysis_extensions.h"
#include "player/gui/controller_editors.h"
#include "player/gui/korvane.h"
#include "player/gui/palm_transfer_front_end.h"
#include "player/gui/playback_hooks.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace {

// The parts the playback frame is built with.
class KorvviewExtensions final : public korv::player::PlayerExtensions {
public:
    explicit KorvviewExtensions(korv::platform::FileChooser& chooser) : chooser_(chooser) {}
    std::unique_ptr<korv::player::HandheldTransfer> make_handheld(PLAYframe& frame) override {
        return std::make_unique<korv::player::PalmTransferFrontEnd>(frame, chooser_);
    }

private:
    korv::platform::FileChooser& chooser_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Hidden windows stay alive; only the start window's close ends the program.
    app.setQuitOnLastWindowClosed(false);
    try {
        korv::platform::QtFileChooser file_chooser;
        korv::editors::EditorFactory editor_factory({.chooser = &file_chooser});
        korv::player::EditorPool editors(&editor_factory);
        korv::player::PlayerServices services;
        services.file_chooser = &file_chooser;
        services.editors = &editors;
        korv::plot3d::Plot3dFactory plot3d;
        services.plot3d = &plot3d;
        KorvviewExtensions extensions(file_chooser);
        // The analysis and the fuel simulator; the rest comes from `extensions`.
        korv::player::AnalysisExtensions analysis(&extensions);
        services.extensions = &analysis;
        Korvane window(services);
        window.show();
        const int code = app.exec();
        // A handheld transfer or a PMS download cannot be stopped: its
        // worker may still be inside the library, so the process ends
        // without tearing down what that worker could still be using.
        if (korv::JobWorker::running() > 0) {
            std::fflush(nullptr);
            std::_Exit(code);
        }
        return code;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "Korvview failed to start: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "Korvview failed to start\n");
    }
    return 1;
}
