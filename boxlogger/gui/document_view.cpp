#include "boxlogger/gui/document_view.h"

#include "boxlogger/core/document_chart.h"
#include "boxlogger/gui/color_menu.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/main_frame.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

CDocumentView::CDocumentView(CVXMlogDoc& doc, std::uint32_t* background, std::uint32_t* foreground,
                             platform::FileChooser* files, platform::MessageBox* messages, QWidget* parent)
    : CVXMlogView(std::make_unique<DocumentChart>(doc), nullptr, parent), vxm_doc_(doc) {
    setObjectName("chartView");
    set_colour_source(background, foreground);
    set_file_chooser(files);
    set_message_box(messages);
    set_colour_of_command([](int id) { return CColorMenu::ColorFromCommandId(id); });
    set_menu_runner([this](int menu_id, const QPoint& global) {
        if (menu_id == 0 || menu_id == kMenuColour) {
            CColorMenu menu(window());
            return menu.Track(global);
        }
        return RunChartMenu(window(), menu_id, global);
    });
    set_value_pane([this](const QString& text) {
        if (auto* frame = qobject_cast<CMainFrame*>(window())) frame->SetPaneText(text);
    });
    set_title_changed([this] { Refresh(); });
    vxm_doc_.SetViewUpdate([this](int hint, std::size_t first_new) {
        OnUpdate(hint, first_new);
        if (hint == kHintContentChanged) Refresh();
    });
}

CDocumentView::~CDocumentView() { vxm_doc_.SetViewUpdate(nullptr); }

void CDocumentView::Refresh() {
    if (QWidget* frame = window(); frame != nullptr && frame != this)
        frame->setWindowTitle(platform::qstring_from_windows1252(vxm_doc_.title()) + " - VXMlog");
}

bool CDocumentView::RunChartCommand(int id) {
    if (command_owner(id) != CommandOwner::Chart) return false;
    if (id == cmd::kFilePrintSetup)
        PrintSetup();
    else
        OnCommand(id);
    return true;
}

}  // namespace korv::boxlogger
