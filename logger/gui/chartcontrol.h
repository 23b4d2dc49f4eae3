#pragma once
// The chart control: a small bar of toggle buttons, one per chart slot, that
// turns a settings frame's charts on (green) and off (red), keeps their
// marks and scrolling in step, and offers the "Range" box.
#include <QCheckBox>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "logger/core/log_family.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

class chartitem;

class chartcontrol : public QWidget, public korv::logger::ChartControl {
    Q_OBJECT
public:
    static constexpr int content_width = 168;
    static constexpr int content_height = 121;

    // Built hidden by the start window; every button disabled and red.
    explicit chartcontrol(korv::logger::KorvLogHost& korv);

    // The settings frame whose charts the buttons show and hide; its frame
    // sets it when it is built.
    korv::logger::LogSettingsFrame* pf() const { return pf_; }
    void set_pf(korv::logger::LogSettingsFrame* frame) { pf_ = frame; }

    // Toggle the slot's chart; a disabled button does nothing.
    void setbutton(int slot);
    // Rebuild the buttons from a settings frame's charts and items: only the
    // chosen items' buttons are enabled, green when "Enable Charts" is ticked.
    void set_buttons(korv::logger::LogSettingsFrame* frame);
    // Every shown chart of pf scrolls for a click at x in a window width wide.
    void click_sync(int x, int width);
    // Every shown chart of pf puts its mark at x and rebuilds its title.
    void hover_sync(int x);
    // First shown at 50, 50, or beside the start window where that would
    // cover its controls; later where it was left.
    void setVisible(bool show) override;

    bool button_green(int slot) const;

    std::array<QPushButton*, korv::logger::kItemSlots> button_flag{};
    QCheckBox* range = nullptr;

public slots:
    void range_mouseClicked();

private:
    void paint_button(int slot, bool green);
    static chartitem* chart_of(korv::logger::LogSettingsFrame* frame, int slot);

    korv::logger::KorvLogHost& korv_;
    korv::logger::LogSettingsFrame* pf_ = nullptr;
    std::array<bool, korv::logger::kItemSlots> green_{};
};

// The start window's chart control, when it has this one.
chartcontrol* chartcontrol_of(const korv::logger::KorvLogHost& korv);
