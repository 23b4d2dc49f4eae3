#pragma once
// A message box answering from a script, for tests.
#include "platform/core/message_box.h"

#include <deque>
#include <vector>

namespace korv::platform {

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    bool operator==(const ShownMessage&) const = default;
};

class ScriptedMessageBox final : public MessageBox {
public:
    void queue_answer(MessageButton button) { answers_.push_back(button); }

    // Records the message and answers with the next queued button, or the
    // box's first button once the queue is empty. Throws std::logic_error when
    // the queued button is not on the box: the script no longer fits the code.
    MessageButton show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

    const std::vector<ShownMessage>& messages() const { return messages_; }
    std::size_t unused_answers() const { return answers_.size(); }

private:
    std::deque<MessageButton> answers_;
    std::vector<ShownMessage> messages_;
};

}  // namespace korv::platform
