#pragma once
// Lets a worker thread ask the user for a file name: the question is put to
// a chooser on the GUI thread and the worker waits for the answer. The GUI
// thread never waits for the worker.
#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/file_chooser.h"

namespace korv::logger {

class GuiThreadFileChooser final : public platform::FileChooser {
public:
    // Construct on the GUI thread; target is used there only.
    explicit GuiThreadFileChooser(platform::FileChooser& target);
    ~GuiThreadFileChooser() override;

    // From the GUI thread: asks target at once. From a worker: waits until
    // the GUI thread has asked target, or until cancel_waiting().
    std::optional<std::string> choose(const platform::FileChooserRequest& request) override;

    // Every waiting and every later question is answered as cancelled
    // (the window is going away).
    void cancel_waiting();

private:
    struct Question {
        std::mutex lock;
        std::condition_variable answered_cv;
        bool answered = false;
        std::optional<std::string> answer;
    };
    static void answer(Question& question, std::optional<std::string> answer);

    platform::FileChooser& target_;
    std::unique_ptr<QObject> context_;
    std::mutex lock_;
    bool cancelled_ = false;
    std::vector<std::weak_ptr<Question>> waiting_;
};

}  // namespace korv::logger
