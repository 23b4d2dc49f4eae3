#pragma once
// One handheld transfer: the library's transfer runs on a worker thread,
// the dump's conversion on another; the window work between and after them
// (hiding the dialog, the save dialog, messages, opening the new log in the
// player) runs on the GUI thread. Workers hand their results over by
// queued calls and never touch a window.
#include "common/gui/job_worker.h"
#include "nativeio/include/korvio_files.h"
#include "player/core/handheld_dump.h"
#include "player/core/handheld_save_target.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class PLAYframe;
class PNKORVdialog;

namespace korv {
class KorvioLibrary;
}
namespace korv::platform {
class FileChooser;
class MessageBox;
}  // namespace korv::platform

class palmthread : public QObject {
    Q_OBJECT
public:
    struct Setup {
        PLAYframe* pf = nullptr;                         // outlives the transfer
        PNKORVdialog* pd = nullptr;                      // outlives the transfer
        int port = 0;                                    // 0..3: COM1..COM4
        korv::platform::FileChooser* chooser = nullptr;  // the save dialogs; GUI thread
        // Whether an existing fallback file may be replaced; GUI thread.
        // Null: it is never replaced.
        korv::platform::MessageBox* questions = nullptr;
        // Null: libkorvio.so by name. Must outlive the worker.
        const korv::KorvioLibrary* library = nullptr;
        std::string dump_path = korv::korvio_files::kHandheldDumpName;  // in the working folder
    };

    // GUI thread.
    explicit palmthread(Setup setup);
    // A worker still inside the library is left to finish on its own: the
    // library offers no way to stop a transfer, and the GUI never waits.
    ~palmthread() override;

    void start();
    // From start() until the last step on the GUI thread.
    bool running() const { return running_; }

    // Job workers of any kind still alive in this process (transfers, PMS
    // downloads): JobWorker::running().
    static int workers_running();

    // What the transfer worker hands to the GUI thread.
    struct TransferOutcome {
        enum class Step { library_missing, wrong_version, transferred };
        Step step = Step::transferred;
        int result = 0;  // getPNKORV's
        korv::player::HandheldDumpCheck dump;
    };

signals:
    void finished();

private:
    void show_status(const std::string& text);
    void transfer_ended(const TransferOutcome& outcome);
    void save_dump(const korv::player::HandheldDumpCheck& dump);
    // The save dialog until a name is settled; empty: nothing is saved.
    std::optional<korv::player::HandheldSaveTarget> choose_target(korv::player::HandheldLogKind kind);
    void conversion_ended(const korv::player::HandheldConversion& conversion, const std::string& log_path);
    void finish();
    // Runs work on the worker thread and then done on the GUI thread; a
    // thread that cannot be started is reported and ends the transfer.
    void run(std::function<void()> work, std::function<void()> done);

    Setup setup_;
    korv::JobWorker worker_;
    bool running_ = false;
};
