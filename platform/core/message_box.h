#pragma once
// A modal message with a fixed set of buttons.
#include <string>
#include <string_view>

namespace korv::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButton { Ok, Cancel, Yes, No, Retry };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Texts are UTF-8. Returns the button pressed.
    virtual MessageButton show(std::string_view text, std::string_view caption, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

bool has_button(MessageButtons buttons, MessageButton button);
// The default button: the first of the set.
MessageButton first_button(MessageButtons buttons);
// What closing the box without pressing a button counts as.
MessageButton escape_button(MessageButtons buttons);
const char* button_name(MessageButton button);

}  // namespace korv::platform
