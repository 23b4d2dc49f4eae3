#pragma once
// The message box shown with QMessageBox.
#include "platform/core/message_box.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace korv::platform {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    // Modal; call on the GUI thread.
    MessageButton show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

private:
    QPointer<QWidget> parent_;
};

// The box as show() sets it up, apart so it can be checked unshown.
void configure_message_box(QMessageBox& box, std::string_view text, std::string_view caption, MessageButtons buttons,
                           MessageIcon icon);
// Reads exec()'s result; anything not on the box counts as closing it.
MessageButton pressed_button(int result, MessageButtons buttons);

}  // namespace korv::platform
