#include "dyno/gui/about_dialog.h"

#include "common/gui/window_style.h"

#include <QLabel>
#include <QPushButton>

namespace korv::dyno {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle("About");
    setFixedSize(260, 100);
    use_window_style(*this);
    auto* text = new QLabel("Ergomark Version 0.02", this);
    text->setObjectName("versionText");
    text->setGeometry(20, 20, 220, 20);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setGeometry(90, 60, 80, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace korv::dyno
