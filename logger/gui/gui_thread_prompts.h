#pragma once
// Lets a worker thread ask the user: the question (a file name, a Yes/No
// message) is put to a prompt on the GUI thread and the worker waits for the
// answer. The GUI thread never waits for the worker.
#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"

namespace korv::logger {

// The queue of questions of one window; construct it on the GUI thread.
class GuiThreadQuestions {
public:
    GuiThreadQuestions();
    ~GuiThreadQuestions();

    // From the GUI thread: asks at once. From a worker: waits until the GUI
    // thread has asked; empty when the question was withdrawn first.
    template <class Answer>
    std::optional<Answer> ask(std::function<Answer()> question) {
        if (on_gui_thread()) return question();
        auto waiting = std::make_shared<Waiting<Answer>>();
        post(waiting, [waiting, question = std::move(question)] {
            if (waiting->is_answered()) return;
            Answer answer = question();
            waiting->settle([&] { waiting->answer = std::move(answer); });
        });
        waiting->wait();
        std::lock_guard<std::mutex> hold(waiting->lock);
        return waiting->answer;
    }

    // Every waiting and every later question is withdrawn (the window is
    // going away).
    void cancel_waiting();

private:
    struct Pending {
        std::mutex lock;
        std::condition_variable answered_cv;
        bool answered = false;

        bool is_answered();
        // Stores an answer unless the question was withdrawn meanwhile.
        void settle(const std::function<void()>& store);
        void wait();
    };
    template <class Answer>
    struct Waiting : Pending {
        std::optional<Answer> answer;
    };

    bool on_gui_thread() const;
    // Queues ask for the GUI thread; a withdrawn queue settles at once.
    void post(const std::shared_ptr<Pending>& pending, std::function<void()> ask);

    std::unique_ptr<QObject> context_;
    std::mutex lock_;
    bool cancelled_ = false;
    std::vector<std::weak_ptr<Pending>> waiting_;
};

// The save dialogs; a withdrawn question counts as cancelled.
class GuiThreadFileChooser final : public platform::FileChooser {
public:
    // target is used on the GUI thread only.
    GuiThreadFileChooser(GuiThreadQuestions& questions, platform::FileChooser& target)
        : questions_(questions), target_(target) {}
    std::optional<std::string> choose(const platform::FileChooserRequest& request) override;

private:
    GuiThreadQuestions& questions_;
    platform::FileChooser& target_;
};

// The Yes/No questions of the save. A withdrawn question is answered
// Cancel, which no Yes/No box offers, so no caller takes it for a choice.
class GuiThreadMessageBox final : public platform::MessageBox {
public:
    // target is used on the GUI thread only.
    GuiThreadMessageBox(GuiThreadQuestions& questions, platform::MessageBox& target)
        : questions_(questions), target_(target) {}
    platform::MessageButton show(std::string_view text, std::string_view caption, platform::MessageButtons buttons,
                                 platform::MessageIcon icon) override;

private:
    GuiThreadQuestions& questions_;
    platform::MessageBox& target_;
};

}  // namespace korv::logger
