#pragma once
// The analysis grid under the playback frame's filter: a row of band
// starts (500 .. 8000 rpm) over four rows of per-band values, each with its
// label in the first column. Data cells report hover, focus and clicks.
#include <QLineEdit>
#include <QWidget>

#include <array>

namespace korv::player {

class AnalysisCell : public QLineEdit {
    Q_OBJECT
public:
    AnalysisCell(int row, int column, QWidget* parent);
    int row() const { return row_; }
    int column() const { return column_; }
    void show_text(const QString& text);

signals:
    void pointed(int row, int column);
    void focused(int row, int column);
    void clicked(int row, int column);

protected:
    void enterEvent(QEnterEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int row_;
    int column_;
};

class AnalysisGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int rows = 5;
    static constexpr int columns = 17;
    static constexpr const char* cell_tool_tip = "Click to activate the simulator";

    explicit AnalysisGrid(QWidget* parent);

    AnalysisCell* cell(int row, int column) const { return cells_[row][column]; }
    // The knock row reads "K Hz" for a PMS log.
    void set_row_labels(bool pms_log);
    // A data cell (rows 1..4, columns 1..16) shows a value: enabled, with the tip.
    void show_value(int row, int column, const QString& text);
    // Every data cell empty, disabled and without its tip.
    void clear_values();

signals:
    void cell_pointed(int row, int column);
    void cell_focused(int row, int column);
    void cell_clicked(int row, int column);

private:
    std::array<std::array<AnalysisCell*, columns>, rows> cells_{};
};

}  // namespace korv::player
