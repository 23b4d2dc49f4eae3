#include "player/gui/palm_transfer_front_end.h"

#include "platform/gui/qt_message_box.h"
#include "player/gui/palmthread.h"
#include "player/gui/play_frame.h"
#include "player/gui/pnkorv_dialog.h"

#include <exception>

namespace korv::player {

PalmTransferFrontEnd::PalmTransferFrontEnd(PLAYframe& frame, platform::FileChooser& chooser,
                                           const KorvioLibrary* library, platform::MessageBox* questions)
    : frame_(frame), chooser_(chooser), library_(library), questions_(questions) {
    if (!questions_) {
        own_questions_ = std::make_unique<platform::QtMessageBox>(&frame_);
        questions_ = own_questions_.get();
    }
}

PalmTransferFrontEnd::~PalmTransferFrontEnd() {
    transfer_.reset();
    dialog_.reset();
}

bool PalmTransferFrontEnd::transfer_running() const { return transfer_ && transfer_->running(); }

void PalmTransferFrontEnd::pnkorvbutton_mouseClicked() {
    try {
        if (!dialog_) {
            dialog_ = std::make_unique<PNKORVdialog>();
            dialog_->start_transfer = [this](int port) { start_palmthread(port); };
        }
        dialog_->pf = &frame_;
        // One transfer at a time: while one runs the dialog shows its
        // progress only, so a second cannot write the same dump.
        dialog_->set_controls_visible(!transfer_running());
        dialog_->show();
        dialog_->raise();
    } catch (const std::exception&) {
        // Nothing the user could act on; the button can be pressed again.
    }
}

void PalmTransferFrontEnd::start_palmthread(int port) {
    if (transfer_running()) return;
    palmthread::Setup setup;
    setup.pf = dialog_->pf;
    setup.pd = dialog_.get();
    setup.port = port;
    setup.chooser = &chooser_;
    setup.questions = questions_;
    setup.library = library_;
    transfer_ = std::make_unique<palmthread>(std::move(setup));
    transfer_->start();
}

}  // namespace korv::player
