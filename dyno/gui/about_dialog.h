#pragma once
// The About box: name and version, OK.
#include <QDialog>

namespace korv::dyno {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace korv::dyno
