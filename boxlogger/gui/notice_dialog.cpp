#include "boxlogger/gui/notice_dialog.h"

#include <algorithm>

#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "common/gui/window_style.h"

namespace korv::boxlogger {

namespace {
// Room around the text, so the notice reads as a window of its own.
constexpr int kMargin = 16;
constexpr int kGap = 8;  // between the notice and its owner
}  // namespace

CNoticeDlg::CNoticeDlg(const QString& text, int lifetime_ms, QWidget* parent) : QDialog(parent) {
    setObjectName("128");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle("VXMlog");
    use_window_style(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    auto* label = new QLabel(text, this);
    label->setObjectName("1052");
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text));
    layout->addWidget(label);
    if (lifetime_ms > 0) QTimer::singleShot(lifetime_ms, this, &QDialog::close);
}

void CNoticeDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (parentWidget() != nullptr) place_clear_of(*parentWidget()->window());
}

// Below the owner when the screen has room, else above, right or left of
// it; on none of them, below and on screen.
void CNoticeDlg::place_clear_of(const QWidget& owner) {
    const QRect around = owner.frameGeometry();
    const QSize size = frameGeometry().size();
    const QScreen* screen = owner.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(around.topLeft(), QSize(4096, 4096));
    const int centre_x = around.center().x() - size.width() / 2;
    const int centre_y = around.center().y() - size.height() / 2;
    const QPoint choices[] = {
        {centre_x, around.bottom() + 1 + kGap},
        {centre_x, around.top() - kGap - size.height()},
        {around.right() + 1 + kGap, centre_y},
        {around.left() - kGap - size.width(), centre_y},
    };
    for (const QPoint& at : choices) {
        const QRect where(at, size);
        if (room.contains(where)) {
            move(at);
            return;
        }
    }
    QRect fallback(choices[0], size);
    fallback.moveBottom(std::min(fallback.bottom(), room.bottom()));
    fallback.moveLeft(std::clamp(fallback.left(), room.left(), std::max(room.left(), room.right() - size.width())));
    move(fallback.topLeft());
}

}  // namespace korv::boxlogger
