#pragma once
// A file chooser answering from a script, for tests.
#include "platform/core/file_chooser.h"

#include <deque>

namespace korv::platform {

class ScriptedFileChooser final : public FileChooser {
public:
    void queue_path(std::string path) { answers_.emplace_back(std::move(path)); }
    void queue_cancel() { answers_.emplace_back(std::nullopt); }

    // Answers with the next queued answer; cancels once the queue is empty.
    std::optional<std::string> choose(const FileChooserRequest& request) override;

    const std::vector<FileChooserRequest>& requests() const { return requests_; }
    std::size_t unused_answers() const { return answers_.size(); }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<FileChooserRequest> requests_;
};

}  // namespace korv::platform
