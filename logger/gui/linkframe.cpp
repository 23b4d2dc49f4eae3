#include "logger/gui/linkframe.h"

#include "common/gui/window_style.h"

#include <QPalette>
#include <QTextDocument>

// Trailing blanks belong to the text.
const std::array<std::string_view, 25> Linkframe::kLines = {
    "1. Make sure the ignition is in the OFF position",
    "2. Connect the cable to the laptop",
    "3. Connect the cable to the appropriate data port in the car",
    "4. Choose the com port",
    "5. Choose the cable type (if applicable)",
    "6. Start the car",
    "7. Select 'Interface Enabled' to test the link",
    "8. Choose the items to log",
    "9. Start data logging",
    "------",
    "You may use the pause button to pause/resume data ",
    "logging.",
    "------",
    "You may not exit the logger until you have stopped ",
    "logging.",
    "------",
    "When you are done, click the stop button and then you will ",
    "be permitted to name the log files as they are saved.",
    "------",
    "The Start, Stop, Pause and Triggers apply to all interfaces",
    "that are enabled and working properly.",
    "------",
    "Interfaces that are enabled and working properly are ",
    "represented by 'green' buttons.  Buttons which are",
    "any other color are not available for data logging.",
};

Linkframe::Linkframe() : QWidget(nullptr) {
    setObjectName("Linkframe");
    setWindowTitle(QString());
    setFixedSize(content_width, content_height);
    QPalette light = palette();
    light.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(light);
    setAutoFillBackground(true);
    korv::use_window_style(*this);

    // Too long for one line of the window: two lines, whole.
    heading = new QPlainTextEdit("Follow these instructions to properly set this interface for data logging", this);
    heading->setObjectName("heading");
    heading->setReadOnly(true);
    heading->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    heading->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    heading->document()->setDocumentMargin(2);
    heading->setGeometry(8, 6, 328, 38);

    lines = new QListWidget(this);
    lines->setObjectName("lines");
    // Bold "Dialog"; at 9 pixels its longest line fits the window's width.
    lines->setFont(korv::window_font(9, true));
    for (std::string_view line : kLines) {
        lines->addItem(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    }
    // Four lines at a time.
    const int row = lines->sizeHintForRow(0) > 0 ? lines->sizeHintForRow(0) : lines->fontMetrics().height();
    lines->setGeometry(4, 48, 336, 4 * row + 2 * lines->frameWidth());

    close_button = new QPushButton("&Close", this);
    close_button->setObjectName("close_button");
    close_button->setToolTip("Click to close this window");
    close_button->setGeometry(130, 320, 84, 26);
    connect(close_button, &QPushButton::clicked, this, &Linkframe::close_button_actionPerformed);
}

void Linkframe::setVisible(bool visible) {
    if (visible) move(50, 50);
    QWidget::setVisible(visible);
}

void Linkframe::close_button_actionPerformed() { hide(); }
