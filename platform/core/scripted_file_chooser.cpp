#include "platform/core/scripted_file_chooser.h"

namespace korv::platform {

std::optional<std::string> ScriptedFileChooser::choose(const FileChooserRequest& request) {
    requests_.push_back(request);
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

}  // namespace korv::platform
