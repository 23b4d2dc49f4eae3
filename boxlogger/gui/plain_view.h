#pragma once
// What a capture or review window shows until it has its chart: the
// document's title, its channels and how many samples it holds.
#include <QLabel>

#include "boxlogger/core/vxmlog_doc.h"

namespace korv::boxlogger {

class CPlainView : public QLabel {
    Q_OBJECT
public:
    explicit CPlainView(CVXMlogDoc& doc, QWidget* parent = nullptr);
    ~CPlainView() override;

    void Refresh();

private:
    CVXMlogDoc& doc_;
};

}  // namespace korv::boxlogger
