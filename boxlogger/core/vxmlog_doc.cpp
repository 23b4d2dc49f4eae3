#include "boxlogger/core/vxmlog_doc.h"

#include <algorithm>

#include "boxlogger/core/capture_csv.h"
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/core/link_engine.h"
#include "common/core/count_text.h"
#include "common/core/vxm_document_reader.h"
#include "common/core/vxm_document_writer.h"
#include "platform/core/windows1252.h"

namespace korv::boxlogger {
namespace {

VxmChannel stored_channel(const CDataAttributes& a) {
    VxmChannel ch;
    ch.precision = a.precision;
    ch.kind = a.kind;
    ch.units = a.units;
    ch.trace_width = a.trace_width;
    ch.id = a.id;
    ch.min = a.min;
    ch.max = a.max;
    ch.label = a.label;
    ch.colour = a.colour;
    return ch;
}

// A channel as read, with what older versions did not store taken from the
// channel table by id (no row: precision 0, kind 0, no units).
CDataAttributes loaded_channel(VxmChannel& ch, unsigned absent) {
    CDataAttributes a(ch.id);
    const ChannelRow* row = FindChannelById(ch.id);
    a.id = ch.id;
    a.min = ch.min;
    a.max = ch.max;
    a.label = std::move(ch.label);
    a.colour = ch.colour;
    a.precision = (absent & kVxmAbsentPrecision) ? (row ? row->precision : 0) : ch.precision;
    a.kind = (absent & kVxmAbsentKind) ? (row ? row->kind : 0) : ch.kind;
    a.units = (absent & kVxmAbsentUnits) ? (row ? row->units.value_or("") : std::string()) : std::move(ch.units);
    a.trace_width = (absent & kVxmAbsentTraceWidth) ? 2 : ch.trace_width;
    a.long_units = LongUnits(a.units);
    a.variable = nullptr;
    return a;
}

const std::vector<platform::FileFilter> kDocumentFilters{kDocumentFileFilter};
const std::vector<platform::FileFilter> kCsvFilters{{"CSV (Comma delimited)", {"*.csv"}}, kAllFilesFilter};

}  // namespace

std::string UnreadBytesNote(const std::string& path, std::uint64_t unread_bytes) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name + ": " + counted(unread_bytes, "byte", "bytes") + " after the last sample " +
           std::string(was_or_were(unread_bytes)) + " not read";
}

std::string CsvProposedName(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string Utf8FromWindows1252(std::string_view text) {
    std::string out;
    for (char byte : text) {
        const char16_t c = platform::unicode_from_windows1252(static_cast<unsigned char>(byte));
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

CVXMlogDoc::CVXMlogDoc(CLinkEngine& engine, const QuickSelectSets& quick_selects, DocumentPrompts prompts)
    : engine_(&engine), quick_selects_(&quick_selects), prompts_(prompts) {}

CVXMlogDoc::CVXMlogDoc(DocumentPrompts prompts) : prompts_(prompts) {}

CVXMlogDoc::~CVXMlogDoc() {
    Stop();
    if (ring_ != nullptr) engine_->hub().RemoveRing(ring_);
}

void CVXMlogDoc::notify(int hint, std::size_t first_new) {
    if (view_update_) view_update_(hint, first_new);
}

void CVXMlogDoc::report(const std::string& message) {
    if (prompts_.messages != nullptr) {
        prompts_.messages->show(message, kProgramCaption, platform::MessageButtons::Ok, platform::MessageIcon::Error);
    }
}

std::vector<std::int32_t> CVXMlogDoc::GetChannelIds() const {
    std::vector<std::int32_t> ids;
    if (channels_.empty()) return ids;
    for (const CDataAttributes& a : channels_) ids.push_back(a.id);
    ids.push_back(kChannelListEnd);
    return ids;
}

void CVXMlogDoc::SetChannels(const std::vector<std::int32_t>& ids) {
    if (ids.empty() || engine_ == nullptr || loaded_) return;
    Stop();
    CSampleHub& hub = engine_->hub();
    if (ring_ == nullptr) ring_ = hub.CreateRing();
    for (CDataAttributes& a : channels_) {
        if (a.variable != nullptr) hub.Unsubscribe(a.variable, ring_);
    }
    channels_.clear();
    for (std::int32_t id : ids) {
        if (id == kChannelListEnd) break;
        const bool present =
            std::any_of(channels_.begin(), channels_.end(), [id](const CDataAttributes& a) { return a.id == id; });
        if (present) continue;
        if (CVariable* variable = hub.Subscribe(id, ring_)) channels_.emplace_back(id, variable);
    }
    Clear();
}

void CVXMlogDoc::AddSample() {
    if (ring_ == nullptr) return;
    drained_.clear();
    engine_->hub().Drain(ring_, drained_);
    // Frames that come while stopped or paused are dropped; times run on.
    if (!capturing_ || paused_ || drained_.empty()) return;
    const std::size_t first = samples_.size();
    for (const CSampleArray& frame : drained_) samples_.Append(frame.time, frame.values);
    modified_ = true;
    notify(kHintSamplesAppended, first);
}

void CVXMlogDoc::Start() {
    paused_ = false;
    if (capturing_ || engine_ == nullptr || ring_ == nullptr || channels_.empty() || loaded_) return;
    engine_->Hold();
    engine_->hub().WithRing(ring_, [](CSampleRing& ring) { ring.Reset(); });
    capturing_ = true;
}

void CVXMlogDoc::Stop() {
    paused_ = false;
    if (!capturing_) return;
    engine_->Release();
    engine_->hub().WithRing(ring_, [](CSampleRing& ring) { ring.Disable(); });
    capturing_ = false;
}

void CVXMlogDoc::Pause() {
    if (paused_) {
        paused_ = false;
    } else if (capturing_) {
        paused_ = true;
    }
}

void CVXMlogDoc::Clear() {
    Stop();
    samples_.Reset(channels_.size());
    if (ring_ != nullptr) engine_->hub().WithRing(ring_, [](CSampleRing& ring) { ring.Clear(); });
    loaded_ = false;
    paused_ = false;
    modified_ = false;
    notify(kHintContentChanged);
}

bool CVXMlogDoc::SaveModified() {
    if (!modified_ || samples_.size() == 0) return true;
    if (prompts_.messages == nullptr) return false;
    const platform::MessageButton answer =
        prompts_.messages->show("Save changes to " + Utf8FromWindows1252(title_) + "?", kProgramCaption,
                                platform::MessageButtons::YesNoCancel, platform::MessageIcon::Question);
    if (answer == platform::MessageButton::No) return true;
    if (answer == platform::MessageButton::Yes) return Save();
    return false;
}

bool CVXMlogDoc::ClearCommand() {
    if (!SaveModified()) return false;
    Clear();
    return true;
}

bool CVXMlogDoc::QuickSelect(int n) {
    if (quick_selects_ == nullptr || n < 1 || n > CQuickSelect::kSets) return false;
    if (!SaveModified()) return false;
    const CQuickSelect& set = (*quick_selects_)[static_cast<std::size_t>(n - 1)];
    // A title the user typed stays; the default or another set's name follows
    // the set. Retitled before the channels change, so the views' refresh
    // shows the new title at once.
    bool retitle = title_ == kDefaultTitle;
    for (const CQuickSelect& any : *quick_selects_) retitle = retitle || title_ == any.name();
    if (retitle && !set.name().empty()) title_ = set.name();
    Clear();
    std::vector<std::int32_t> ids(set.channels.begin(), set.channels.end());
    ids.push_back(kChannelListEnd);
    SetChannels(ids);
    return true;
}

bool CVXMlogDoc::IsCommandEnabled(int command) const {
    const bool has_samples = samples_.size() > 0;
    switch (command) {
    case cmd::kSelect:
    case cmd::kTriggers: return !capturing_ && !loaded_;
    case cmd::kClear: return !channels_.empty() && ring_ != nullptr;
    case cmd::kStart: return !capturing_ && !channels_.empty() && !loaded_;
    case cmd::kStop:
    case cmd::kPause: return capturing_ && !loaded_;
    case cmd::kExportCsv:
    case cmd::kFileSave:
    case cmd::kFileSaveAs:
    case cmd::kFileSend:
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview: return !capturing_ && has_samples;
    default: break;
    }
    const int set = command - cmd::kQuickSelect1;
    if (set >= 0 && set < CQuickSelect::kSets) {
        return quick_selects_ != nullptr && !loaded_ && !capturing_ &&
               !(*quick_selects_)[static_cast<std::size_t>(set)].channels.empty();
    }
    return false;
}

bool CVXMlogDoc::IsCommandChecked(int command) const {
    if (command == cmd::kStart) return capturing_;
    if (command == cmd::kPause) return paused_;
    return false;
}

std::optional<std::string> CVXMlogDoc::Store(const std::string& path) {
    VxmDocument doc;
    doc.title = title_;
    for (const CDataAttributes& a : channels_) doc.channels.push_back(stored_channel(a));
    doc.samples = samples_.Take();
    std::optional<std::string> error = write_vxm_document(path, doc);
    samples_.Adopt(std::move(doc.samples));
    if (!error) {
        path_name_ = path;
        modified_ = false;
    }
    return error;
}

std::optional<std::string> CVXMlogDoc::Load(const std::string& path) {
    VxmDocumentReadResult read = read_vxm_document(path, kChannelRowCount);
    if (!read.document) return std::move(read.error);
    load_note_ = read.unread_bytes > 0 ? UnreadBytesNote(path, read.unread_bytes) : std::string();
    VxmDocument& doc = *read.document;
    title_ = (doc.absent_fields & kVxmAbsentTitle) ? std::string(kDefaultTitle) : std::move(doc.title);
    channels_.clear();
    channels_.reserve(doc.channels.size());
    for (VxmChannel& ch : doc.channels) channels_.push_back(loaded_channel(ch, doc.absent_fields));
    samples_.Adopt(std::move(doc.samples));
    path_name_ = path;
    loaded_ = true;
    paused_ = true;
    modified_ = false;
    notify(kHintContentChanged);
    return std::nullopt;
}

bool CVXMlogDoc::Save() {
    if (path_name_.empty()) return SaveAs();
    if (auto error = Store(path_name_)) {
        report("The document was not saved. " + *error);
        return false;
    }
    return true;
}

bool CVXMlogDoc::SaveAs() {
    if (prompts_.files == nullptr) return false;
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Save;
    request.file_name = path_name_.empty() ? Utf8FromWindows1252(title_) : path_name_;
    request.filters = kDocumentFilters;
    request.default_extension = "vxg";
    const std::optional<std::string> path = prompts_.files->choose(request);
    if (!path) return false;
    if (auto error = Store(*path)) {
        report("The document was not saved. " + *error);
        return false;
    }
    return true;
}

void CVXMlogDoc::ExportCsv() {
    if (prompts_.files == nullptr) return;
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Save;
    request.file_name = CsvProposedName(path_name_);
    request.filters = kCsvFilters;
    request.default_extension = "csv";
    request.overwrite_prompt = true;
    const std::optional<std::string> path = prompts_.files->choose(request);
    if (!path) return;
    std::vector<CsvColumn> columns;
    for (const CDataAttributes& a : channels_) columns.push_back({a.label, a.units});
    if (auto error = write_capture_csv(*path, columns, samples_.table())) {
        report("The data was not exported. " + *error);
    }
}

}  // namespace korv::boxlogger
