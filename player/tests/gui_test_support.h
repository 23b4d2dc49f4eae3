#pragma once
// Doubles for the windows the player talks to: controller editors that
// record what was asked of them, and an analysis that counts its calls.
#include "player/gui/controller_editors.h"
#include "player/gui/playback_hooks.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace korv::player::testing_support {

using CallLog = std::vector<std::string>;

template <typename Base>
class FakeEditor : public Base {
public:
    FakeEditor(std::string name, CallLog& calls) : name_(std::move(name)), calls_(calls) {}
    QWidget* window() override { return &window_; }
    QString config_file() const override { return file_; }
    QString config_dir() const override { return dir_; }
    void set_config(const QString& file, const QString& dir) override {
        file_ = file;
        dir_ = dir;
        note("set_config " + file.toStdString());
    }

protected:
    void note(const std::string& what) { calls_.push_back(name_ + " " + what); }

private:
    std::string name_;
    CallLog& calls_;
    QWidget window_;
    QString file_, dir_;
};

class FakeKnobAfc : public FakeEditor<KnobAfcEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_cfg1() override { note("recall_cfg1"); }
    void recall_cfg() override { note("recall_cfg"); }
};
class FakeVcdAfc : public FakeEditor<VcdAfcEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_cfg1() override { note("recall_cfg1"); }
};
class FakeItc : public FakeEditor<ItcEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_cfg1() override { note("recall_cfg1"); }
};
class FakePms : public FakeEditor<PmsEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_data() override { note("recall_data"); }
    void display_pgm() override { note("display_pgm"); }
    void reset_sim() override { note("reset_sim"); }
    PmsChoices radio_buttons() const override { return buttons_; }
    void set_radio_buttons(const PmsChoices& b) override {
        buttons_ = b;
        note("set_radio_buttons");
    }

private:
    PmsChoices buttons_;
};

class FakeEditorFactory : public EditorFactory {
public:
    std::unique_ptr<KnobAfcEditor> make_AFCframe1() override { return made<FakeKnobAfc>("AFCframe1"); }
    std::unique_ptr<VcdAfcEditor> make_AFCframe2() override { return made<FakeVcdAfc>("AFCframe2"); }
    std::unique_ptr<ItcEditor> make_ITCframe1() override { return made<FakeItc>("ITCframe1"); }
    std::unique_ptr<PmsEditor> make_PMSframe() override { return made<FakePms>("PMSframe"); }

    CallLog calls;
    int built = 0;

private:
    template <typename Editor>
    std::unique_ptr<Editor> made(const char* name) {
        ++built;
        calls.push_back(std::string("build ") + name);
        return std::make_unique<Editor>(name, calls);
    }
};

// Counts the analysis calls the frame makes.
class RecordingAnalysis : public PlaybackAnalysis {
public:
    explicit RecordingAnalysis(CallLog& calls) : calls_(calls) {}
    void reset_tables() override { calls_.push_back("reset_tables"); }
    void clear_controls() override { calls_.push_back("clear_controls"); }
    void reset_charts() override { calls_.push_back("reset_charts"); }
    void plot_data() override { calls_.push_back("plot_data"); }
    void set_peak_values(std::int8_t, std::int8_t, float, std::int32_t rpm, float, std::int64_t record, float,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        calls_.push_back("peak " + std::to_string(record) + " " + std::to_string(rpm));
    }

private:
    CallLog& calls_;
};

class RecordingExtensions : public PlayerExtensions {
public:
    std::unique_ptr<PlaybackAnalysis> make_analysis(PLAYframe&) override {
        return std::make_unique<RecordingAnalysis>(calls);
    }
    CallLog calls;
};

}  // namespace korv::player::testing_support
