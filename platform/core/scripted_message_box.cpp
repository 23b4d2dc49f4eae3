#include "platform/core/scripted_message_box.h"

#include <stdexcept>

namespace korv::platform {

MessageButton ScriptedMessageBox::show(std::string_view text, std::string_view caption, MessageButtons buttons,
                                       MessageIcon icon) {
    messages_.push_back({std::string(text), std::string(caption), buttons, icon});
    if (answers_.empty()) return first_button(buttons);
    const MessageButton answer = answers_.front();
    answers_.pop_front();
    if (!has_button(buttons, answer)) {
        throw std::logic_error(std::string("scripted answer ") + button_name(answer) +
                               " is not a button of the message \"" + std::string(text) + "\"");
    }
    return answer;
}

}  // namespace korv::platform
