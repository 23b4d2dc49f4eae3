#include "logger/gui/gui_thread_file_chooser.h"

#include <QThread>
#include <algorithm>

namespace korv::logger {

GuiThreadFileChooser::GuiThreadFileChooser(platform::FileChooser& target)
    : target_(target), context_(std::make_unique<QObject>()) {}

GuiThreadFileChooser::~GuiThreadFileChooser() { cancel_waiting(); }

void GuiThreadFileChooser::answer(Question& question, std::optional<std::string> answer) {
    {
        std::lock_guard<std::mutex> hold(question.lock);
        if (question.answered) return;
        question.answered = true;
        question.answer = std::move(answer);
    }
    question.answered_cv.notify_all();
}

std::optional<std::string> GuiThreadFileChooser::choose(const platform::FileChooserRequest& request) {
    if (QThread::currentThread() == context_->thread()) return target_.choose(request);

    auto question = std::make_shared<Question>();
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (cancelled_) return std::nullopt;
        std::erase_if(waiting_, [](const std::weak_ptr<Question>& q) { return q.expired(); });
        waiting_.push_back(question);
    }
    // Posted work dies with context_, so it never runs after this object.
    QMetaObject::invokeMethod(
        context_.get(),
        [this, question, request] {
            {
                std::lock_guard<std::mutex> hold(question->lock);
                if (question->answered) return;
            }
            answer(*question, target_.choose(request));
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> wait(question->lock);
    question->answered_cv.wait(wait, [&] { return question->answered; });
    return question->answer;
}

void GuiThreadFileChooser::cancel_waiting() {
    std::vector<std::weak_ptr<Question>> waiting;
    {
        std::lock_guard<std::mutex> hold(lock_);
        cancelled_ = true;
        waiting.swap(waiting_);
    }
    for (const auto& weak : waiting) {
        if (auto question = weak.lock()) answer(*question, std::nullopt);
    }
}

}  // namespace korv::logger
