#include "player/gui/palmthread.h"

#include "common/core/korvio_library.h"
#include "common/core/storable_channels.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"
#include "player/core/handheld_save_target.h"
#include "player/core/korvlib.h"
#include "player/core/palm_transfer_texts.h"
#include "player/gui/play_frame.h"
#include "player/gui/pnkorv_dialog.h"

#include <QFile>
#include <QLineEdit>

#include <sys/stat.h>

#include <functional>
#include <iostream>
#include <utility>

using namespace korv::player;

namespace {

bool path_exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

korv::platform::FileChooserRequest save_request(HandheldLogKind kind) {
    korv::platform::FileChooserRequest request;
    request.mode = korv::platform::FileChooserMode::Save;
    request.title = kSaveLogFileTitle;
    request.filters = {{"Log Files", {std::string("*") + extension_of(kind)}}};
    return request;
}

}  // namespace

palmthread::palmthread(Setup setup) : setup_(std::move(setup)) {}

palmthread::~palmthread() = default;

int palmthread::workers_running() { return korv::JobWorker::running(); }

void palmthread::run(std::function<void()> work, std::function<void()> done) {
    if (const std::optional<std::string> failed = worker_.run(std::move(work), std::move(done))) {
        if (setup_.pf) setup_.pf->error_rtn(QString::fromLocal8Bit(failed->c_str()));
        finish();
    }
}

void palmthread::start() {
    if (running_) return;
    running_ = true;
    if (setup_.pf) setup_.pf->set_transfer_running(true);

    auto outcome = std::make_shared<TransferOutcome>();
    run(
        [self = this, post = worker_.poster(), outcome, library = setup_.library, port = setup_.port,
         dump_path = setup_.dump_path] {
            // The library's progress callback arrives here, on this thread;
            // `self` is only named in steps for the GUI thread, which are
            // dropped once the transfer object is gone.
            struct StatusRelay final : PnkorvStatus {
                StatusRelay(palmthread* to, korv::JobWorker::Post by) : thread(to), post(std::move(by)) {}
                void show_status(const std::string& text) override {
                    post([to = thread, text] { to->show_status(text); });
                }
                palmthread* thread;
                korv::JobWorker::Post post;
            } relay(self, post);

            try {
                const korv::KorvioLibrary& bound = library ? *library : korv::KorvioLibrary::shared();
                switch (korv::check_library(bound)) {
                case korv::LibraryCheck::missing: outcome->step = TransferOutcome::Step::library_missing; break;
                case korv::LibraryCheck::wrong_version: outcome->step = TransferOutcome::Step::wrong_version; break;
                case korv::LibraryCheck::ready: {
                    korvlib lib(bound);
                    lib.pd = &relay;
                    outcome->result = lib.getPNKORV(port);
                    // The dump is looked at here, off the GUI thread, before
                    // anyone is asked for a file name.
                    if (outcome->result == 0) outcome->dump = check_handheld_dump(dump_path);
                    break;
                }
                }
            } catch (const korv::KorvioUnavailable&) {
                outcome->step = TransferOutcome::Step::library_missing;
            }
        },
        [this, outcome] { transfer_ended(*outcome); });
}

void palmthread::show_status(const std::string& text) {
    if (setup_.pd) setup_.pd->eeprom_status->setText(QString::fromStdString(text));
}

void palmthread::transfer_ended(const TransferOutcome& outcome) {
    PLAYframe* pf = setup_.pf;
    switch (outcome.step) {
    case TransferOutcome::Step::library_missing:
        if (setup_.pd) setup_.pd->error_rtn(QString::fromLatin1(korv::kKorvioMissingMessage));
        finish();
        return;
    case TransferOutcome::Step::wrong_version:
        if (pf) pf->error_rtn(QString::fromLatin1(kWrongLibraryVersion));
        finish();
        return;
    case TransferOutcome::Step::transferred: break;
    }
    if (setup_.pd) setup_.pd->hide();
    if (outcome.result != 0) {
        if (pf) pf->error_rtn(QString::fromStdString(palm_access_error(outcome.result)));
        finish();
        return;
    }
    switch (outcome.dump.outcome) {
    case HandheldDumpCheck::Outcome::no_data:
        if (pf) pf->error_rtn(QString::fromLatin1(kNoLoggedDataToSave));
        finish();
        return;
    case HandheldDumpCheck::Outcome::unsupported_width:
        if (pf) pf->error_rtn(QString::fromStdString(unsupported_width_message(outcome.dump.width)));
        finish();
        return;
    case HandheldDumpCheck::Outcome::unstorable_id:
        if (pf) pf->error_rtn(QString::fromStdString(korv::unstorable_channel_message(outcome.dump.channel_id)));
        finish();
        return;
    case HandheldDumpCheck::Outcome::ready: save_dump(outcome.dump); return;
    }
}

std::optional<HandheldSaveTarget> palmthread::choose_target(HandheldLogKind kind) {
    for (;;) {
        std::optional<std::string> chosen;
        if (setup_.chooser) chosen = setup_.chooser->choose(save_request(kind));
        std::optional<HandheldSaveTarget> target = handheld_save_target(kind, chosen);
        if (!target || !target->renamed_message) return target;
        if (setup_.pf) setup_.pf->error_rtn(QString::fromStdString(*target->renamed_message));
        if (!path_exists(target->path)) return target;
        if (!setup_.questions) return std::nullopt;
        switch (setup_.questions->show(handheld_replace_question(kind), kSaveLogFileTitle,
                                       korv::platform::MessageButtons::YesNo, korv::platform::MessageIcon::Question)) {
        case korv::platform::MessageButton::Yes: return target;
        case korv::platform::MessageButton::No: continue;  // the save dialog again
        default: return std::nullopt;
        }
    }
}

void palmthread::save_dump(const HandheldDumpCheck& dump) {
    const std::optional<HandheldSaveTarget> target = choose_target(dump.kind);
    if (!target) {
        finish();
        return;
    }

    auto conversion = std::make_shared<HandheldConversion>();
    run([conversion, dump_path = setup_.dump_path,
         log_path = target->path] { *conversion = convert_handheld_dump(dump_path, log_path, std::cout); },
        [this, conversion, log_path = target->path] { conversion_ended(*conversion, log_path); });
}

void palmthread::conversion_ended(const HandheldConversion& conversion, const std::string& log_path) {
    PLAYframe* pf = setup_.pf;
    if (pf && conversion.error) {
        pf->error_rtn(QString::fromLatin1(kErrorSavingLogData) + QString::fromStdString(*conversion.error));
    }
    if (pf && conversion.written) {
        // "Open file" must be free again before the player opens the log
        // the way it opens a chosen one.
        pf->set_transfer_running(false);
        pf->open_log_file(QFile::decodeName(QByteArray::fromStdString(log_path)));
    }
    finish();
}

void palmthread::finish() {
    if (!running_) return;
    running_ = false;
    if (setup_.pf) setup_.pf->set_transfer_running(false);
    emit finished();
}
