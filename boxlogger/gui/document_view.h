#pragma once
// The chart view of a capture or review window: the chart over the window's
// document, with the program's colours, the colour menu, the frame's value
// pane and its title.
#include "boxlogger/core/vxmlog_doc.h"
#include "boxlogger/gui/vxmlog_view.h"

namespace korv::boxlogger {

class CDocumentView : public CVXMlogView {
    Q_OBJECT
public:
    // The colours are the program's, kept where its settings keep them.
    CDocumentView(CVXMlogDoc& doc, std::uint32_t* background, std::uint32_t* foreground, platform::FileChooser* files,
                  platform::MessageBox* messages, QWidget* parent = nullptr);
    ~CDocumentView() override;

    // The frame's title from the document's.
    void Refresh();
    // Runs a chart command; false when the id is not one.
    bool RunChartCommand(int id);

private:
    CVXMlogDoc& vxm_doc_;
};

}  // namespace korv::boxlogger
