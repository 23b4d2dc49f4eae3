#pragma once
// Car, gear and corrections. Every control takes effect as the user changes it.
#include "dyno/core/dyno_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace korv::dyno {

class ConfigDialog : public QDialog {
    Q_OBJECT
public:
    ConfigDialog(DynoSettings& settings, QWidget* parent = nullptr);

    void done(int result) override;

signals:
    // Smooth and compute again with the settings as they now are.
    void applyRequested();
    // Keep the settings in the store.
    void saveRequested();

private slots:
    void OnCarChosen(int row);
    void OnGearChosen(int index);
    void OnApply();
    void OnOk();

private:
    QLineEdit* add_field(const char* name, int x, int y, int width);
    QCheckBox* add_enable(const char* name, int x, int y, int& flag);
    void show_gearing();

    DynoSettings& settings_;
    QLineEdit* weight_ = nullptr;
    QLabel* gear_text_ = nullptr;
    QLabel* final_text_ = nullptr;
};

}  // namespace korv::dyno
