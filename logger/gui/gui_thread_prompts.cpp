#include "logger/gui/gui_thread_prompts.h"

#include <QThread>
#include <algorithm>
#include <string>

#include "platform/gui/queued_call.h"

namespace korv::logger {

GuiThreadQuestions::GuiThreadQuestions() : context_(std::make_unique<QObject>()) {}

GuiThreadQuestions::~GuiThreadQuestions() { cancel_waiting(); }

bool GuiThreadQuestions::on_gui_thread() const { return QThread::currentThread() == context_->thread(); }

bool GuiThreadQuestions::Pending::is_answered() {
    std::lock_guard<std::mutex> hold(lock);
    return answered;
}

void GuiThreadQuestions::Pending::settle(const std::function<void()>& store) {
    {
        std::lock_guard<std::mutex> hold(lock);
        if (answered) return;
        answered = true;
        if (store) store();
    }
    answered_cv.notify_all();
}

void GuiThreadQuestions::Pending::wait() {
    std::unique_lock<std::mutex> hold(lock);
    answered_cv.wait(hold, [this] { return answered; });
}

void GuiThreadQuestions::post(const std::shared_ptr<Pending>& pending, std::function<void()> ask) {
    bool withdrawn = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        withdrawn = cancelled_;
        if (!withdrawn) {
            std::erase_if(waiting_, [](const std::weak_ptr<Pending>& p) { return p.expired(); });
            waiting_.push_back(pending);
        }
    }
    if (withdrawn) {
        pending->settle(nullptr);
        return;
    }
    // Posted work dies with context_, so it never runs after this object.
    platform::post_queued(context_.get(), std::move(ask));
}

void GuiThreadQuestions::cancel_waiting() {
    std::vector<std::weak_ptr<Pending>> waiting;
    {
        std::lock_guard<std::mutex> hold(lock_);
        cancelled_ = true;
        waiting.swap(waiting_);
    }
    for (const auto& weak : waiting) {
        if (auto pending = weak.lock()) pending->settle(nullptr);
    }
}

std::optional<std::string> GuiThreadFileChooser::choose(const platform::FileChooserRequest& request) {
    const auto answer = questions_.ask<std::optional<std::string>>([this, request] { return target_.choose(request); });
    return answer ? *answer : std::nullopt;
}

platform::MessageButton GuiThreadMessageBox::show(std::string_view text, std::string_view caption,
                                                  platform::MessageButtons buttons, platform::MessageIcon icon) {
    const auto answer =
        questions_.ask<platform::MessageButton>([this, text = std::string(text), caption = std::string(caption),
                                                 buttons, icon] { return target_.show(text, caption, buttons, icon); });
    return answer.value_or(platform::MessageButton::Cancel);
}

}  // namespace korv::logger
