#pragma once
// "Chart Manager": one toggle button per strip chart of the player (red
// off, green on) and the "Range" box that scales charts to their highest
// value.
#include <QWidget>

#include <array>

class PLAYframe;
class QCheckBox;
class QPushButton;
class chartitem;

class chartcontrolp : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 359;
    static constexpr int content_height = 106;
    static constexpr int slot_count = 30;
    static constexpr int max_charts = 22;

    chartcontrolp();

    PLAYframe* pf = nullptr;
    // The charts, by slot; set by the player.
    std::array<chartitem*, slot_count> chart_frames{};
    std::array<QPushButton*, slot_count> button_flag{};
    QCheckBox* range_box = nullptr;

    bool range_ticked() const;
    bool is_on(int slot) const { return on_[slot]; }
    void setbutton(int slot);
    // First shown at 50, 50, or beside the player where that would cover
    // its controls; later where it was left.
    void setVisible(bool visible) override;
    // Shows a chart, beside this manager the first time.
    void show_chart(chartitem& chart);

public slots:
    void range_mouseClicked();

private:
    void paint_button(int slot);

    std::array<bool, slot_count> on_{};
};
