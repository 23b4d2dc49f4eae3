#pragma once
// "VXM Variables": the box's tuning variables, each with its live value and
// an edit for a new one; Apply (and OK) writes the typed values to the box.
#include "boxlogger/gui/drb_page.h"
#include "boxlogger/gui/engine_sheet.h"

#include <functional>
#include <vector>

class QLineEdit;

namespace korv::boxlogger {

class CVXMVarsTab : public CDRBGenIOTab {
    Q_OBJECT
public:
    CVXMVarsTab(CEngineSheet& sheet, const QString& caption);

    // The base rows, each with its new-value edit 1107 + row.
    void SetFields(const int* ids) override;

    // Starts writing the typed values; `finished(applied)` follows on the GUI
    // thread. False when the page refused at once (link down): it stays
    // unapplied and modified. A row that is not a number is cleared unsent.
    bool StartApply(std::function<void(bool applied)> finished);

    bool modified() const { return modified_; }
    void SetModified(bool on);
    QLineEdit* edit(int row) const { return edits_[static_cast<std::size_t>(row)]; }

signals:
    void modifiedChanged();

private:
    void clear_rows(const std::vector<int>& rows);

    std::vector<QLineEdit*> edits_;
    bool modified_ = false;
};

class CVXMVarsSheet : public CEngineSheet {
    Q_OBJECT
public:
    static constexpr int kApplyId = 12321;

    CVXMVarsSheet(CLinkEngine& engine, platform::MessageBox& messages, QWidget* parent = nullptr);

    // The command: refused while a capture window is open, else the sheet
    // runs modally.
    static int Open(bool capture_window_open, CLinkEngine& engine, platform::MessageBox& messages,
                    QWidget* parent = nullptr, NoticeFactory notice = {});

    // Applies every modified page in order; OK closes when all applied.
    void OnApply();
    void accept() override;

    QPushButton* apply_button() const { return apply_; }
    CVXMVarsTab* vars_page(int i) const { return static_cast<CVXMVarsTab*>(page(i)); }

protected:
    void OnBusyChanged(bool busy) override;

private:
    void apply_from(int index, bool close_after);
    void update_apply();

    QPushButton* apply_;
};

}  // namespace korv::boxlogger
