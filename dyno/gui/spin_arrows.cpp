#include "dyno/gui/spin_arrows.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace korv::dyno {

SpinArrows::SpinArrows(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int direction : {1, -1}) {
        auto* button = new QToolButton(this);
        button->setObjectName(direction > 0 ? "up" : "down");
        button->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, direction] { emit stepped(direction); });
        layout->addWidget(button);
    }
}

}  // namespace korv::dyno
