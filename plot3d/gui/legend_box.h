#pragma once
// The legend column left of the plot: under an engraved rule, each axis's
// field name with its minimum and maximum, and the field that sets the size.
#include <QString>
#include <QWidget>

namespace korv::plot3d {

class LegendBox : public QWidget {
public:
    // Where the engraved rule runs; the window's buttons sit above it.
    static constexpr int kRuleY = 135;

    explicit LegendBox(QWidget* parent = nullptr);

    void setScale(const QString& xlabel, float xmin, float xmax, const QString& ylabel, float ymin, float ymax,
                  const QString& zlabel, float zmin, float zmax, const QString& sizelabel);

    bool labeldone() const { return labeldone_; }
    // The texts as painted, top to bottom (empty before the first setScale).
    QStringList texts() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Axis {
        QString label;
        float min = 0, max = 0;
    };
    Axis axes_[3];
    QString sizelabel_;
    bool labeldone_ = false;
};

}  // namespace korv::plot3d
