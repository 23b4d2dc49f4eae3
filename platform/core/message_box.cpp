#include "platform/core/message_box.h"

namespace korv::platform {

bool has_button(MessageButtons buttons, MessageButton button) {
    switch (buttons) {
    case MessageButtons::Ok: return button == MessageButton::Ok;
    case MessageButtons::OkCancel: return button == MessageButton::Ok || button == MessageButton::Cancel;
    case MessageButtons::YesNo: return button == MessageButton::Yes || button == MessageButton::No;
    case MessageButtons::YesNoCancel:
        return button == MessageButton::Yes || button == MessageButton::No || button == MessageButton::Cancel;
    case MessageButtons::RetryCancel: return button == MessageButton::Retry || button == MessageButton::Cancel;
    }
    return false;
}

MessageButton first_button(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return MessageButton::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageButton::Yes;
    case MessageButtons::RetryCancel: return MessageButton::Retry;
    }
    return MessageButton::Ok;
}

MessageButton escape_button(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return MessageButton::Ok;
    case MessageButtons::YesNo: return MessageButton::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel: return MessageButton::Cancel;
    }
    return MessageButton::Cancel;
}

const char* button_name(MessageButton button) {
    switch (button) {
    case MessageButton::Ok: return "Ok";
    case MessageButton::Cancel: return "Cancel";
    case MessageButton::Yes: return "Yes";
    case MessageButton::No: return "No";
    case MessageButton::Retry: return "Retry";
    }
    return "?";
}

}  // namespace korv::platform
