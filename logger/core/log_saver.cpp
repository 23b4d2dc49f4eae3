#include "logger/core/log_saver.h"

#include <sys/stat.h>

#include "logger/core/dump_conversion.h"
#include "logger/core/save_names.h"

namespace korv::logger {
namespace {

bool is_regular_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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
                   const ReportFn& report) {
    const std::string dump_name(traits_of(type).dump_name);
    const std::string dump_path = working_directory.empty() ? dump_name : working_directory + "/" + dump_name;
    if (!is_regular_file(dump_path)) {
        report(kNoLoggedData);
        return;
    }

    const std::optional<std::string> chosen = chooser.choose(save_dialog_request(type));
    // A cancelled dialog, or one that gave no file name, writes nothing.
    if (!chosen || chosen->empty() || chosen->back() == '/') return;

    const SaveTarget target = resolve_save_target(type, *chosen);
    if (target.renamed_message) report(*target.renamed_message);

    const DumpConversion done = convert_dump(type, dump_path, target.path);
    if (done.error) report(kErrorSavingPrefix + *done.error);
}

}  // namespace korv::logger
