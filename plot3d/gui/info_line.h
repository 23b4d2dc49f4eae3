#pragma once
// The status line under the plot: an engraved text on light grey.
#include <QString>
#include <QWidget>

namespace korv::plot3d {

class InfoLine : public QWidget {
public:
    explicit InfoLine(QWidget* parent = nullptr);

    void setText(const QString& text);
    void clearText();
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};

// TimesRoman bold 12 point of the legend and the status line.
QFont plot_text_font();

}  // namespace korv::plot3d
