#include "boxlogger/gui/plain_view.h"

#include <QStringList>

#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

CPlainView::CPlainView(CVXMlogDoc& doc, QWidget* parent) : QLabel(parent), doc_(doc) {
    setObjectName("plainView");
    setAlignment(Qt::AlignCenter);
    setMargin(12);
    doc_.SetViewUpdate([this](int, std::size_t) { Refresh(); });
    Refresh();
}

CPlainView::~CPlainView() { doc_.SetViewUpdate(nullptr); }

void CPlainView::Refresh() {
    QStringList labels;
    for (const CDataAttributes& channel : doc_.channels()) labels << platform::qstring_from_windows1252(channel.label);
    QString text = platform::qstring_from_windows1252(doc_.title()) + "\n\n";
    text += labels.isEmpty() ? QString("No channels: choose a quick select.") : labels.join(", ");
    text += QString("\n\n%1 samples").arg(doc_.samples().size());
    if (doc_.capturing()) text += doc_.paused() ? " (paused)" : " (capturing)";
    setText(text);
    if (QWidget* frame = window(); frame != nullptr && frame != this)
        frame->setWindowTitle(platform::qstring_from_windows1252(doc_.title()) + " - VXMlog");
}

}  // namespace korv::boxlogger
