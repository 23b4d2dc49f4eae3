#pragma once
// The document behind the capture window and every review window: the chosen
// channels, the samples captured or loaded, its title. A capture document
// subscribes its channels at the link engine's hub and drains its ring after
// each complete poll cycle; a review document is loaded from a ".vxg" file
// and never captures.
//
// Every operation runs on the GUI thread.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "boxlogger/core/data_attributes.h"
#include "boxlogger/core/quick_select.h"
#include "boxlogger/core/sample_store.h"
#include "common/core/vxm_document.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"

namespace korv::boxlogger {

class CLinkEngine;

inline constexpr char kDefaultTitle[] = "Calderis Datalogger";
inline constexpr char kProgramCaption[] = "VXMlog";

// What the views are told.
enum UpdateHint : int {
    kHintSamplesAppended = 1124,  // with the first new sample's position
    kHintContentChanged = 1125,   // redo the layout and redraw
};

// The file type in the Open and Save As choosers; the chooser adds the
// pattern to the description.
inline const platform::FileFilter kDocumentFileFilter{"VXMlog Files", {"*.vxg"}};
inline const platform::FileFilter kAllFilesFilter{"All Files", {"*.*"}};

// Where the document asks the user.
struct DocumentPrompts {
    platform::MessageBox* messages = nullptr;
    platform::FileChooser* files = nullptr;
};

class CVXMlogDoc {
public:
    // A capture document at the engine's hub; the quick selects it applies.
    CVXMlogDoc(CLinkEngine& engine, const QuickSelectSets& quick_selects, DocumentPrompts prompts);
    // A review document, to be loaded.
    explicit CVXMlogDoc(DocumentPrompts prompts);
    // Stops a capture and gives its ring back to the hub.
    ~CVXMlogDoc();
    CVXMlogDoc(const CVXMlogDoc&) = delete;
    CVXMlogDoc& operator=(const CVXMlogDoc&) = delete;

    using ViewUpdate = std::function<void(int hint, std::size_t first_new)>;
    void SetViewUpdate(ViewUpdate update) { view_update_ = std::move(update); }

    // The channel ids ended by 59; empty when the document has none.
    std::vector<std::int32_t> GetChannelIds() const;
    // Replaces the channels by the ids up to the first 59 (a repeated id
    // counts once; ids the catalogue does not know are skipped), then
    // clears. An empty list changes nothing.
    void SetChannels(const std::vector<std::int32_t>& ids);
    // Drains the ring; keeps the frames only while capturing and not paused.
    void AddSample();
    void Start();
    void Stop();
    void Pause();  // toggles while capturing
    void Clear();

    // Asks "Save changes to <title>?" when samples are unsaved; true when
    // the caller may go on (saved, or the user chose No).
    bool SaveModified();
    // Clear and quick select n (1-5) as the commands run them: after
    // SaveModified. False when the user cancelled.
    bool ClearCommand();
    bool QuickSelect(int n);

    // By the ids of boxlogger/core/command_table.h.
    bool IsCommandEnabled(int command) const;
    bool IsCommandChecked(int command) const;

    // The stored form; nullopt on success, else the reason. A failed store
    // keeps any earlier file of the name.
    std::optional<std::string> Store(const std::string& path);
    // A file with bytes after its last sample loads without them, and
    // load_note() then says so; one listing more channels than the catalogue
    // has is refused.
    std::optional<std::string> Load(const std::string& path);
    // What the last load left out, for the status bar; empty when nothing.
    const std::string& load_note() const { return load_note_; }
    // Save and Save As with their prompts and messages; false when not saved.
    bool Save();
    bool SaveAs();
    // Asks for a name and writes the CSV export, reporting a failure.
    void ExportCsv();

    const std::string& title() const { return title_; }  // Windows-1252
    void SetTitle(std::string title) { title_ = std::move(title); }
    const std::string& path_name() const { return path_name_; }
    const std::vector<CDataAttributes>& channels() const { return channels_; }
    std::vector<CDataAttributes>& channels() { return channels_; }
    CSampleList& samples() { return samples_; }
    const CSampleList& samples() const { return samples_; }
    bool capturing() const { return capturing_; }
    bool paused() const { return paused_; }
    bool loaded() const { return loaded_; }
    bool modified() const { return modified_; }

private:
    void notify(int hint, std::size_t first_new = 0);
    void report(const std::string& message);

    CLinkEngine* engine_ = nullptr;
    const QuickSelectSets* quick_selects_ = nullptr;
    DocumentPrompts prompts_;
    ViewUpdate view_update_;

    std::string title_ = kDefaultTitle;
    std::string path_name_;
    std::string load_note_;
    std::vector<CDataAttributes> channels_;
    CSampleList samples_;
    CSampleRing* ring_ = nullptr;
    std::vector<CSampleArray> drained_;  // reused between drains
    bool capturing_ = false;
    bool paused_ = false;
    bool loaded_ = false;
    bool modified_ = false;
};

// "run.vxg: 12 bytes after the last sample were not read".
std::string UnreadBytesNote(const std::string& path, std::uint64_t unread_bytes);

// The CSV export's proposed name: the path cut at its last "." when that
// comes after its last "/".
std::string CsvProposedName(const std::string& path);
// Windows-1252 bytes as UTF-8, for messages.
std::string Utf8FromWindows1252(std::string_view text);

}  // namespace korv::boxlogger
