#include "boxlogger/gui/help_window.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace korv::boxlogger {

QString CHelpWindow::HelpText() {
    return QStringLiteral(
        "<h2>VXMlog</h2>"
        "<p>VXMlog captures data from the Calderis data-logger box, which sits on the diagnostic link of a "
        "first-generation DSM car, and shows and keeps what it captured.</p>"
        "<h3>Command screen</h3>"
        "<p><b>Connect</b> probes the box on the saved port. When the box does not answer properly, "
        "<i>Logger Preferences</i> opens: choose the port (COM1 to COM4), press Connect and read the status. "
        "OK is possible once the box works. <b>Disconnect</b> closes the port; it is refused while a capture "
        "window is open.</p>"
        "<p><b>Collect Data</b> opens the capture window. <b>Review Data</b> opens a saved capture (.vxg) in a "
        "review window of its own; opening the same file again brings its window forward.</p>"
        "<p>The status bar shows the rate of samples per second while the link is up, else \"Link Down\".</p>"
        "<h3>Capture window</h3>"
        "<p><b>Data &gt; Select</b> chooses the channels, the five <b>Quick Selects</b> apply a stored set "
        "with one click (the bar beside the toolbar and the Data menu), <b>Start</b> (Space), <b>Stop</b> "
        "(Alt+Space) and <b>Pause</b> control the capture and <b>Clear</b> empties it. <b>Triggers</b> "
        "define on/off channels computed from other channels.</p>"
        "<p><b>File &gt; Save</b> keeps the capture as a .vxg file, <b>Export to CSV</b> writes it for a "
        "spreadsheet and <b>Send</b> hands the saved file to your mail program.</p>"
        "<h3>Chart</h3>"
        "<p>The arrow keys move along the time axis; Ctrl with the arrows shrinks or expands it. "
        "<b>View &gt; Preferences</b> sets the chart's foreground and background colours.</p>"
        "<h3>Ports and settings</h3>"
        "<p>COM1 to COM4 are <code>$KORVIO_COM1</code> to <code>$KORVIO_COM4</code>, else /dev/ttyS0 to "
        "/dev/ttyS3. Settings are kept in ~/.config/Calderis/VXMlog.ini.</p>");
}

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("VXMlog Help");
    setObjectName("helpWindow");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QTextBrowser(this);
    text->setObjectName("helpText");
    text->setHtml(HelpText());
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(520, 480);
}

}  // namespace korv::boxlogger
