#pragma once
// One window's error reporting: the dialog is built on the first message and
// reused for every later one. Callable from any thread; from a worker the
// work is posted to the GUI thread, and hide() goes the same way, so a show
// and a hide never overtake each other.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class error_dialog;

namespace korv {

class ErrorReporter {
public:
    enum class OnFailure {
        swallow,             // a failed report is ignored
        report_own_message,  // the start windows: report the failure's own text, once
    };

    // Must be constructed on the GUI thread, as the owning window is.
    explicit ErrorReporter(OnFailure on_failure = OnFailure::swallow);
    ~ErrorReporter();
    ErrorReporter(const ErrorReporter&) = delete;
    ErrorReporter& operator=(const ErrorReporter&) = delete;

    // Show the message, replacing any earlier text. Returns at once.
    void error_rtn(const QString& message);
    // Hide the dialog if it exists (the player's "please wait" notice).
    void hide();

    // The dialog, or null before the first message. GUI thread only.
    error_dialog* error_diag() const;

private:
    void show_on_gui_thread(const QString& message);
    void hide_on_gui_thread();
    bool on_gui_thread() const;

    OnFailure on_failure_;
    std::unique_ptr<error_dialog> dialog_;
    // Posted work runs in this object's context; it dies with the reporter,
    // so nothing posted outlives it.
    std::unique_ptr<QObject> context_;
};

}  // namespace korv
