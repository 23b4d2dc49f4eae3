#include "logger/core/log_saver.h"

#include <sys/stat.h>

#include <optional>

#include "common/core/storable_channels.h"
#include "logger/core/dump_conversion.h"
#include "logger/core/save_names.h"

namespace korv::logger {
namespace {

bool is_regular_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

platform::MessageButton ask(platform::MessageBox& questions, const std::string& text) {
    return questions.show(text, kSaveDialogTitle, platform::MessageButtons::YesNo, platform::MessageIcon::Question);
}

// Asks until the user has a name or lets the run go; empty: nothing to write.
std::optional<std::string> choose_target(LogType type, platform::FileChooser& chooser, platform::MessageBox& questions,
                                         const ReportFn& report) {
    for (;;) {
        const std::optional<std::string> chosen = chooser.choose(save_dialog_request(type));
        // A cancelled dialog, or one that gave no file name.
        if (!chosen || chosen->empty() || chosen->back() == '/') {
            if (ask(questions, kDiscardQuestion) == platform::MessageButton::No) continue;
            return std::nullopt;
        }
        const SaveTarget target = resolve_save_target(type, *chosen);
        if (!target.renamed_message) return target.path;
        report(*target.renamed_message);
        if (!exists(target.path)) return target.path;
        switch (ask(questions, replace_fallback_question(type))) {
        case platform::MessageButton::Yes: return target.path;
        case platform::MessageButton::No: continue;
        default: return std::nullopt;
        }
    }
}

}  // namespace

platform::FileChooserRequest save_dialog_request(LogType type) {
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Save;
    request.title = kSaveDialogTitle;
    request.filters = {{"Log Files", {"*" + std::string(traits_of(type).extension)}}};
    return request;
}

void save_log_file(LogType type, const std::string& working_directory, platform::FileChooser& chooser,
                   platform::MessageBox& questions, const ReportFn& report) {
    const std::string dump_name(traits_of(type).dump_name);
    const std::string dump_path = working_directory.empty() ? dump_name : working_directory + "/" + dump_name;
    if (!is_regular_file(dump_path)) {
        report(kNoLoggedData);
        return;
    }
    const DumpCheck check = check_dump(type, dump_path);
    switch (check.outcome) {
    case DumpCheck::Outcome::ready: break;
    case DumpCheck::Outcome::no_data: report(kNoLoggedData); return;
    case DumpCheck::Outcome::unstorable_id: report(unstorable_channel_message(check.channel_id)); return;
    case DumpCheck::Outcome::unreadable: report(kErrorSavingPrefix + check.error); return;
    }

    const std::optional<std::string> target = choose_target(type, chooser, questions, report);
    if (!target) return;
    const DumpConversion done = convert_dump(type, dump_path, *target);
    if (done.error) report(kErrorSavingPrefix + *done.error);
}

}  // namespace korv::logger
