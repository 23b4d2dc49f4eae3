#pragma once
// "How to...": the settings frame's instructions for setting an interface
// up for logging. Each click on "How to..." makes and shows a new one.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <string_view>

class Linkframe : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 344;
    static constexpr int content_height = 361;
    static const std::array<std::string_view, 25> kLines;

    // Hidden; show() puts it at 50, 50.
    Linkframe();

    void setVisible(bool visible) override;

    QPlainTextEdit* heading = nullptr;
    QListWidget* lines = nullptr;
    QPushButton* close_button = nullptr;

public slots:
    void close_button_actionPerformed();
};
