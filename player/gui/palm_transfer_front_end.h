#pragma once
// The player's "Palm'n'Korv" button: the port dialog, built once and
// reused, and the transfer it starts.
#include "player/gui/playback_hooks.h"

#include <memory>

class PLAYframe;
class PNKORVdialog;
class palmthread;

namespace korv {
class KorvioLibrary;
}
namespace korv::platform {
class FileChooser;
class MessageBox;
}  // namespace korv::platform

namespace korv::player {

class PalmTransferFrontEnd final : public HandheldTransfer {
public:
    // library null: libkorvio.so by name, loaded when a transfer first needs it.
    // questions null: Qt's message box over the frame.
    PalmTransferFrontEnd(PLAYframe& frame, platform::FileChooser& chooser, const KorvioLibrary* library = nullptr,
                         platform::MessageBox* questions = nullptr);
    ~PalmTransferFrontEnd() override;

    void open_transfer_dialog() override { pnkorvbutton_mouseClicked(); }
    void pnkorvbutton_mouseClicked();

    // Null until the button was first pressed.
    PNKORVdialog* PNKORVdialog1() const { return dialog_.get(); }
    // The latest transfer; null before the first.
    palmthread* transfer() const { return transfer_.get(); }
    bool transfer_running() const;

private:
    void start_palmthread(int port);

    PLAYframe& frame_;
    platform::FileChooser& chooser_;
    const KorvioLibrary* library_;
    std::unique_ptr<platform::MessageBox> own_questions_;
    platform::MessageBox* questions_;
    std::unique_ptr<palmthread> transfer_;  // destroyed before the dialog it writes to
    std::unique_ptr<PNKORVdialog> dialog_;
};

}  // namespace korv::player
