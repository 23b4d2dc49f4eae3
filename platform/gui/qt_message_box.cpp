#include "platform/gui/qt_message_box.h"

namespace korv::platform {

namespace {

QString from_utf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QMessageBox::StandardButton qt_button(MessageButton button) {
    switch (button) {
    case MessageButton::Ok: return QMessageBox::Ok;
    case MessageButton::Cancel: return QMessageBox::Cancel;
    case MessageButton::Yes: return QMessageBox::Yes;
    case MessageButton::No: return QMessageBox::No;
    case MessageButton::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons qt_buttons(MessageButtons buttons) {
    QMessageBox::StandardButtons result;
    for (MessageButton button :
         {MessageButton::Ok, MessageButton::Yes, MessageButton::No, MessageButton::Retry, MessageButton::Cancel}) {
        if (has_button(buttons, button)) result |= qt_button(button);
    }
    return result;
}

QMessageBox::Icon qt_icon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void configure_message_box(QMessageBox& box, std::string_view text, std::string_view caption, MessageButtons buttons,
                           MessageIcon icon) {
    box.setText(from_utf8(text));
    box.setWindowTitle(from_utf8(caption));
    box.setIcon(qt_icon(icon));
    box.setStandardButtons(qt_buttons(buttons));
    box.setDefaultButton(qt_button(first_button(buttons)));
    box.setEscapeButton(qt_button(escape_button(buttons)));
}

MessageButton pressed_button(int result, MessageButtons buttons) {
    for (MessageButton button :
         {MessageButton::Ok, MessageButton::Cancel, MessageButton::Yes, MessageButton::No, MessageButton::Retry}) {
        if (result == qt_button(button) && has_button(buttons, button)) return button;
    }
    return escape_button(buttons);
}

MessageButton QtMessageBox::show(std::string_view text, std::string_view caption, MessageButtons buttons,
                                 MessageIcon icon) {
    QMessageBox box(parent_);
    configure_message_box(box, text, caption, buttons, icon);
    return pressed_button(box.exec(), buttons);
}

}  // namespace korv::platform
