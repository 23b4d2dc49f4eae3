#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace korv::platform {
namespace {

FileChooserRequest save_log_request() {
    FileChooserRequest request;
    request.mode = FileChooserMode::Save;
    request.title = "Save Log";
    request.directory = "/home/driver/logs";
    request.file_name = "run1.vxm";
    request.filters = {{"VXM Logs", {"*.vxm"}}, {"All Files", {"*.*"}}};
    request.default_extension = "vxm";
    return request;
}

TEST(ScriptedFileChooser, AnswersInOrderThenCancelsAndRecordsEveryRequest) {
    ScriptedFileChooser chooser;
    chooser.queue_path("/tmp/a.vxm");
    chooser.queue_cancel();
    chooser.queue_path("/tmp/b.vxm");

    FileChooserRequest open;
    open.title = "Open Log";
    EXPECT_EQ(chooser.choose(open), "/tmp/a.vxm");
    EXPECT_EQ(chooser.choose(save_log_request()), std::nullopt);
    EXPECT_EQ(chooser.choose(open), "/tmp/b.vxm");
    EXPECT_EQ(chooser.unused_answers(), 0u);
    EXPECT_EQ(chooser.choose(open), std::nullopt);

    ASSERT_EQ(chooser.requests().size(), 4u);
    EXPECT_EQ(chooser.requests()[0], open);
    EXPECT_EQ(chooser.requests()[1], save_log_request());
}

TEST(ScriptedMessageBox, AnswersInOrderAndRecordsEachMessage) {
    ScriptedMessageBox box;
    box.queue_answer(MessageButton::No);
    box.queue_answer(MessageButton::Cancel);

    EXPECT_EQ(box.show("Save changes?", "VXMlog", MessageButtons::YesNoCancel, MessageIcon::Question),
              MessageButton::No);
    EXPECT_EQ(box.show("Port busy", "Error", MessageButtons::RetryCancel, MessageIcon::Error), MessageButton::Cancel);

    const std::vector<ShownMessage> expected = {
        {"Save changes?", "VXMlog", MessageButtons::YesNoCancel, MessageIcon::Question},
        {"Port busy", "Error", MessageButtons::RetryCancel, MessageIcon::Error},
    };
    EXPECT_EQ(box.messages(), expected);
}

TEST(ScriptedMessageBox, EmptyQueuePressesTheFirstButton) {
    ScriptedMessageBox box;
    const std::pair<MessageButtons, MessageButton> cases[] = {
        {MessageButtons::Ok, MessageButton::Ok},
        {MessageButtons::OkCancel, MessageButton::Ok},
        {MessageButtons::YesNo, MessageButton::Yes},
        {MessageButtons::YesNoCancel, MessageButton::Yes},
        {MessageButtons::RetryCancel, MessageButton::Retry},
    };
    for (const auto& [buttons, first] : cases) {
        EXPECT_EQ(box.show("text", "caption", buttons, MessageIcon::None), first);
    }
    EXPECT_EQ(box.messages().size(), std::size(cases));
}

TEST(ScriptedMessageBox, AnswerThatIsNotOnTheBoxIsAScriptError) {
    ScriptedMessageBox box;
    box.queue_answer(MessageButton::Cancel);
    EXPECT_THROW(box.show("Done", "VXMlog", MessageButtons::YesNo, MessageIcon::Information), std::logic_error);
}

}  // namespace
}  // namespace korv::platform
