#pragma once
// "Real Time Data Values": the latest value of each item of a charted run,
// one row per item. The live callback gives it its rows; the charts write
// the values into it.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <array>

#include "logger/core/data_value_table.h"
#include "logger/gui/logger_parts.h"

class datavalues : public QWidget, public korv::logger::DataValuePanel {
    Q_OBJECT
public:
    static constexpr int content_width = 297;
    static constexpr int content_height = 201;
    static constexpr int kSlots = 20;  // label and field slots; the first 10 are used

    // Hidden, every row hidden and greyed, labels "jlabel", fields "x".
    datavalues();

    void define_fields(int code, int cable) override;
    void set_table_index(int index) override { table_.set_table_index(index); }
    int table_index() const { return table_.table_index(); }
    // The code's row shows the value as the runtime writes a float (2000.0).
    void set_value(int code, float value) override;
    // The first showing puts it at 50, 50, or beside its owner where that
    // would cover the owner's controls; the samples that show it again leave
    // it where it is.
    void setVisible(bool show) override;
    void set_owner(QWidget* owner) override { owner_ = owner; }

    std::array<QLabel*, kSlots> label_table{};
    std::array<QLineEdit*, kSlots> text_table{};

private:
    korv::logger::DataValueTable table_;
    QPointer<QWidget> owner_;
};
