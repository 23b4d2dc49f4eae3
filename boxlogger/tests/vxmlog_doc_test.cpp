// The capture document: channels, capture through the engine (link faked,
// test clock), the stored form, CSV export and the prompts.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <filesystem>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/command_state.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "common/core/vxm_document_reader.h"
#include "platform/core/clock.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

using platform::MessageButton;
using testsupport::Bytes;
using testsupport::hex;
using testsupport::operator+;

constexpr int kEngineSpeed = 9;
constexpr int kThrottle = 7;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

class Document : public ::testing::Test {
protected:
    Document() {
        ResetChannelTable();
        port.set_link_faked(true);
    }

    // One complete hub cycle at the given time, then the document drains.
    void cycle_at(std::int64_t ms) {
        clock.set_ms(ms);
        for (int i = 0; i < engine.hub().table().count(); ++i) engine.PollStep();
        doc.AddSample();
    }
    std::vector<float> times() const {
        std::vector<float> out;
        for (std::size_t i = 0; i < doc.samples().size(); ++i) out.push_back(doc.samples().time(i));
        return out;
    }

    platform::TestClock clock{1'000'000};
    platform::ScopedClock scoped{clock};
    CSerialPort port;
    CLinkEngine engine{port};
    QuickSelectSets sets;
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    CVXMlogDoc doc{engine, sets, {&messages, &files}};
    testsupport::TempFolder dir;
};

TEST_F(Document, SetChannelsTakesARepeatedIdOnceAndReplacesTheSubscriptions) {
    doc.SetChannels({kEngineSpeed, kThrottle, kEngineSpeed, kChannelListEnd, 4});
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{kEngineSpeed, kThrottle, kChannelListEnd}));
    EXPECT_EQ(doc.channels()[0].label, "Engine Speed");
    EXPECT_NE(doc.channels()[0].variable, nullptr);
    EXPECT_EQ(engine.hub().table().count(), 2);
    doc.SetChannels({kThrottle, kChannelListEnd});
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{kThrottle, kChannelListEnd}));
    EXPECT_EQ(engine.hub().table().count(), 1);
    doc.SetChannels({});
    EXPECT_EQ(doc.channels().size(), 1u) << "an empty list changes nothing";
}

TEST_F(Document, CapturesOnlyWhileRunningAndKeepsTheTimeBaseUntilClear) {
    std::vector<std::pair<int, std::size_t>> hints;
    doc.SetViewUpdate([&](int hint, std::size_t first) { hints.emplace_back(hint, first); });
    doc.SetChannels({kEngineSpeed, kChannelListEnd});
    hints.clear();
    doc.Start();
    EXPECT_EQ(engine.hold_count(), 1);
    cycle_at(2000);
    cycle_at(2250);
    EXPECT_EQ(times(), (std::vector<float>{0.0f, 0.25f}));
    EXPECT_EQ(hints, (std::vector<std::pair<int, std::size_t>>{{kHintSamplesAppended, 0}, {kHintSamplesAppended, 1}}));

    // A frame written just before Stop is drained and dropped.
    clock.set_ms(2500);
    for (int i = 0; i < engine.hub().table().count(); ++i) engine.PollStep();
    doc.Stop();
    EXPECT_EQ(engine.hold_count(), 0);
    doc.AddSample();
    EXPECT_EQ(doc.samples().size(), 2u);

    doc.Start();
    doc.AddSample();
    EXPECT_EQ(doc.samples().size(), 2u) << "nothing stale after a restart";
    cycle_at(7000);
    EXPECT_EQ(doc.samples().time(2), 5.0f) << "Stop and Start keep the time base";

    doc.Pause();
    cycle_at(7250);
    EXPECT_EQ(doc.samples().size(), 3u) << "paused: drained and dropped";
    doc.Pause();
    cycle_at(7500);
    EXPECT_EQ(doc.samples().time(3), 5.5f) << "times run on through a pause";

    doc.Clear();
    EXPECT_EQ(hints.back().first, kHintContentChanged);
    EXPECT_EQ(doc.samples().size(), 0u);
    doc.Start();
    cycle_at(9000);
    EXPECT_EQ(times(), std::vector<float>{0.0f}) << "Clear takes the time base afresh";
}

TEST_F(Document, CommandsAreEnabledByState) {
    sets[1].channels = {kEngineSpeed};
    const std::vector<int> commands = {
        cmd::kSelect,           cmd::kClear,     cmd::kStart,   cmd::kStop, cmd::kPause, cmd::kQuickSelect1,
        cmd::kQuickSelect1 + 1, cmd::kExportCsv, cmd::kFileSave};
    const auto enabled = [&] {
        std::string out;
        for (int c : commands) out += doc.IsCommandEnabled(c) ? '1' : '0';
        return out;
    };
    EXPECT_EQ(enabled(), "100000100") << "new";
    doc.SetChannels({kEngineSpeed, kChannelListEnd});
    EXPECT_EQ(enabled(), "111000100") << "with channels";
    doc.Start();
    EXPECT_EQ(enabled(), "010110000") << "capturing";
    EXPECT_TRUE(doc.IsCommandChecked(cmd::kStart));
    cycle_at(2000);
    doc.Stop();
    EXPECT_EQ(enabled(), "111000111") << "stopped with samples";
}

// A window asks its document for the document's commands, its chart for the
// chart's, and the program for the rest; the command screen has neither.
TEST_F(Document, WindowsTakeEachCommandsStateFromItsOwner) {
    const std::vector<int> commands = {cmd::kStart,    cmd::kStop,     cmd::kPause,       cmd::kSelect,
                                       cmd::kFileSave, cmd::kFileSend, cmd::kExportImage, cmd::kFilePrint,
                                       cmd::kShrink,   cmd::kFileNew,  cmd::kFileOpen,    cmd::kAppAbout};
    const auto states = [&](const WindowCommandContext& window) {
        std::string out;
        for (int c : commands) {
            const CommandState state = window_command_state(c, window);
            out += state.checked ? 'x' : state.enabled ? '1' : '0';
        }
        return out;
    };
    // The chart answers for its own commands only: Print is off, the rest on.
    const auto chart = [](int id) {
        EXPECT_EQ(command_owner(id), CommandOwner::Chart) << id;
        return id != cmd::kFilePrint;
    };
    const WindowCommandContext capture{&doc, chart, true};
    EXPECT_EQ(states(capture), "000100101011") << "new capture";
    doc.SetChannels({kEngineSpeed, kChannelListEnd});
    doc.Start();
    EXPECT_EQ(states(capture), "x11000101011") << "capturing";
    doc.Pause();
    EXPECT_EQ(states(capture), "x1x000101011") << "paused";
    EXPECT_EQ(states({&doc, nullptr, true}), "x1x000000011") << "no chart view";
    EXPECT_EQ(states({nullptr, nullptr, true}), "000000000011") << "command screen, capture open";
    EXPECT_EQ(states({nullptr, nullptr, false}), "000000000111") << "command screen";
}

TEST_F(Document, QuickSelectRetitlesUnlessTheUserNamedTheDocument) {
    sets[0].SetName("Dyno");
    sets[0].channels = {kEngineSpeed};
    sets[1].SetName("Road");
    sets[1].channels = {kThrottle, kEngineSpeed};
    ASSERT_TRUE(doc.QuickSelect(1));
    EXPECT_EQ(doc.title(), "Dyno");
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{kEngineSpeed, kChannelListEnd}));
    ASSERT_TRUE(doc.QuickSelect(2));
    EXPECT_EQ(doc.title(), "Road");
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{kThrottle, kEngineSpeed, kChannelListEnd}));
    doc.SetTitle("My run");
    ASSERT_TRUE(doc.QuickSelect(1));
    EXPECT_EQ(doc.title(), "My run");
}

TEST_F(Document, UnsavedSamplesAreOfferedForSavingBeforeTheyGo) {
    sets[0].channels = {kThrottle};
    doc.SetChannels({kEngineSpeed, kChannelListEnd});
    doc.SetTitle("Run");
    doc.Start();
    cycle_at(2000);
    doc.Stop();
    messages.queue_answer(MessageButton::Cancel);
    EXPECT_FALSE(doc.ClearCommand());
    EXPECT_FALSE(doc.QuickSelect(1));
    EXPECT_EQ(doc.samples().size(), 1u);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].text, "Save changes to Run?");
    EXPECT_EQ(messages.messages()[0].buttons, platform::MessageButtons::YesNoCancel);

    // Yes, but the save fails: reported, nothing discarded.
    messages.queue_answer(MessageButton::Yes);
    files.queue_path(dir.file("no-such-folder/run.vxg"));
    EXPECT_FALSE(doc.ClearCommand());
    EXPECT_EQ(doc.samples().size(), 1u);
    EXPECT_NE(messages.messages().back().text.find("was not saved"), std::string::npos);

    messages.queue_answer(MessageButton::Yes);
    files.queue_path(dir.file("run.vxg"));
    EXPECT_TRUE(doc.QuickSelect(1));
    EXPECT_EQ(doc.path_name(), dir.file("run.vxg"));
    EXPECT_EQ(files.requests().back().default_extension, "vxg");
    EXPECT_TRUE(read_vxm_document(dir.file("run.vxg")).document);
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{kThrottle, kChannelListEnd}));
}

// Title "Run", Engine Speed, two samples.
const Bytes kRunDocument = hex("02 00 00 00") + hex("03") + text("Run") + hex("01 00 00 00")  // version, title, N
                           + hex("00 00 00 00  00 00 00 00") + hex("03") + text("RPM")        // precision, kind, units
                           + hex("02 00 00 00  09 00 00 00")                                  // trace width, id
                           + hex("00 00 00 00  00 00 FA 45")                                  // 0 .. 8000
                           + hex("0C") + text("Engine Speed") + hex("FF 00 00 00")            // label, colour
                           + hex("02 00 00 00")                                               // samples
                           + hex("00 00 00 00  00 80 54 44")                                  // 0.0 s, 850
                           + hex("00 00 80 3E  00 00 61 44");                                 // 0.25 s, 900

TEST_F(Document, StoresTheFileLayoutAndLoadsItForReview) {
    doc.SetChannels({kEngineSpeed, kChannelListEnd});
    doc.SetTitle("Run");
    doc.samples().Append(0.0f, std::vector<float>{850.0f});
    doc.samples().Append(0.25f, std::vector<float>{900.0f});
    const std::string path = dir.file("run.vxg");
    ASSERT_EQ(doc.Store(path), std::nullopt);
    EXPECT_EQ(testsupport::read_bytes(path).size(), 77u);
    EXPECT_EQ(testsupport::read_bytes(path), kRunDocument);

    CVXMlogDoc review({&messages, &files});
    int hint = 0;
    review.SetViewUpdate([&](int h, std::size_t) { hint = h; });
    ASSERT_EQ(review.Load(path), std::nullopt);
    EXPECT_EQ(hint, kHintContentChanged);
    EXPECT_TRUE(review.loaded());
    EXPECT_TRUE(review.paused());
    EXPECT_EQ(review.title(), "Run");
    ASSERT_EQ(review.samples().size(), 2u);
    EXPECT_EQ(review.samples().values(1)[0], 900.0f);
    EXPECT_EQ(review.channels()[0].long_units, "RPM");
    EXPECT_FALSE(review.IsCommandEnabled(cmd::kStart));
    EXPECT_FALSE(review.IsCommandEnabled(cmd::kSelect));
    EXPECT_TRUE(review.IsCommandEnabled(cmd::kExportCsv));
}

TEST_F(Document, OlderVersionsTakeWhatTheyLackFromTheTable) {
    const std::string v0 = dir.file("v0.vxg");
    testsupport::write_bytes(v0, hex("00 00 00 00  02 00 00 00")                     // version 0, N = 2
                                     + hex("0B 00 00 00  00 00 00 00  00 00 48 43")  // Air Temperature
                                     + hex("03") + text("Air") + hex("00 FF 00 00")  // label, colour
                                     + hex("63 00 00 00  00 00 00 00  00 00 80 3F")  // id 99: no row
                                     + hex("01") + text("X") + hex("00 00 00 00")    //
                                     + hex("01 00 00 00  00 00 00 00  00 00 20 41 00 00 80 3F"));
    CVXMlogDoc review({&messages, &files});
    ASSERT_EQ(review.Load(v0), std::nullopt);
    EXPECT_EQ(review.title(), "Calderis Datalogger");
    ASSERT_EQ(review.channels().size(), 2u);
    const CDataAttributes& air = review.channels()[0];
    EXPECT_EQ(air.units, "\xB0");
    EXPECT_EQ(air.long_units, "degrees");
    EXPECT_EQ(air.label, "Air") << "the file's label";
    EXPECT_EQ(air.trace_width, 2);
    const CDataAttributes& unknown = review.channels()[1];
    EXPECT_EQ(unknown.label, "X");
    EXPECT_EQ(unknown.precision, 0);
    EXPECT_EQ(unknown.kind, 0);
    EXPECT_EQ(unknown.units, "");
    EXPECT_EQ(review.samples().values(0)[0], 10.0f);

    const std::string v1 = dir.file("v1.vxg");
    testsupport::write_bytes(v1, hex("01 00 00 00") + hex("01") + text("t") + hex("01 00 00 00")  // title, N
                                     + hex("02") + text("ms") + hex("01 00 00 00  0A 00 00 00")   // units, width, id
                                     + hex("00 00 00 00  00 00 C8 41") + hex("03") + text("IPW") + hex("00 00 00 00") +
                                     hex("00 00 00 00"));
    CVXMlogDoc second({&messages, &files});
    ASSERT_EQ(second.Load(v1), std::nullopt);
    EXPECT_EQ(second.title(), "t");
    EXPECT_EQ(second.channels()[0].precision, -1) << "Injector Pulse Width's automatic decimals";
    EXPECT_EQ(second.channels()[0].kind, 0);
    EXPECT_EQ(second.channels()[0].units, "ms");
    EXPECT_EQ(second.channels()[0].trace_width, 1);
}

TEST_F(Document, ADamagedFileIsRefusedWithTheReadersMessage) {
    const std::string path = dir.file("cut.vxg");
    testsupport::write_bytes(path, Bytes(kRunDocument.begin(), kRunDocument.end() - 3));
    CVXMlogDoc review({&messages, &files});
    const std::optional<std::string> error = review.Load(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, read_vxm_document(path).error);
    EXPECT_FALSE(review.loaded());
}

// Damaged files that still load: bytes after the last sample (appended, or
// left out by a stored sample count too small) are named on the status bar.
TEST_F(Document, BytesAfterTheLastSampleLoadAndAreNamed) {
    Bytes one_sample_counted = kRunDocument;
    const std::size_t count_at = kRunDocument.size() - 2 * 8 - 4;
    ASSERT_EQ(one_sample_counted[count_at], 0x02);
    one_sample_counted[count_at] = 0x01;
    struct Case {
        const char* name;
        Bytes bytes;
        std::size_t samples;
        std::string note;
    } cases[] = {
        {"whole.vxg", kRunDocument, 2, ""},
        {"tail.vxg", kRunDocument + hex("DE AD BE EF 00"), 2, "tail.vxg: 5 bytes after the last sample were not read"},
        {"one.vxg", kRunDocument + hex("0A"), 2, "one.vxg: 1 byte after the last sample was not read"},
        {"count.vxg", one_sample_counted, 1, "count.vxg: 8 bytes after the last sample were not read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::write_bytes(dir.file(c.name), c.bytes);
        CVXMlogDoc review({&messages, &files});
        ASSERT_EQ(review.Load(dir.file(c.name)), std::nullopt);
        EXPECT_TRUE(review.loaded());
        EXPECT_EQ(review.samples().size(), c.samples);
        EXPECT_EQ(review.samples().values(0)[0], 850.0f);
        EXPECT_EQ(review.load_note(), c.note);
    }
}

// Every channel of a document is a catalogue row, so a longer channel table
// is damage: refused before anything is built for it.
TEST_F(Document, MoreChannelsThanTheCatalogueIsRefused) {
    // Version 0: no title; each descriptor id, min, max, empty label, colour.
    const auto document = [](std::uint32_t channels) {
        Bytes bytes = hex("00 00 00 00");
        testsupport::append_le32(bytes, channels);
        for (std::uint32_t c = 0; c < channels; ++c) {
            testsupport::append_le32(bytes, c);
            testsupport::append_zeros(bytes, 4 + 4 + 1 + 4);
        }
        return bytes + hex("00 00 00 00");
    };
    const std::string path = dir.file("wide.vxg");
    testsupport::write_bytes(path, document(kChannelRowCount));
    CVXMlogDoc fits({&messages, &files});
    ASSERT_EQ(fits.Load(path), std::nullopt);
    EXPECT_EQ(fits.channels().size(), std::size_t{kChannelRowCount});

    testsupport::write_bytes(path, document(kChannelRowCount + 1));
    CVXMlogDoc refused({&messages, &files});
    const std::optional<std::string> error = refused.Load(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Cannot read " + path + ": channel count 48 is more than the 47 channels there are");
    EXPECT_FALSE(refused.loaded());
}

class CsvExport : public Document {
protected:
    void fill() {
        doc.SetChannels({kEngineSpeed, 11, 6, kChannelListEnd});
        doc.samples().Append(0.0f, std::vector<float>{850.0f, 70.0f, 30.0f});
        doc.samples().Append(-1.0f, std::vector<float>{1234.567f, 0.0f, 0.25f});
    }
    static constexpr char kExpected[] =
        "Calderis Datalogger\r\n\r\n"
        "Time (secs), Engine Speed (RPM), Air Temperature (\xB0), ISC Steps\r\n"
        "0.00, 850.00, 70.00, 30.00\r\n"
        "-1.00, 1234.57, 0.00, 0.25\r\n";
};

TEST_F(CsvExport, WritesTheExactBytesEvenUnderAGermanLocale) {
    fill();
    ASSERT_EQ(doc.Store(dir.file("run.vxg")), std::nullopt);
    const std::string old_locale = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the German locale is needed for this test";
    files.queue_path(dir.file("run.csv"));
    doc.ExportCsv();
    std::setlocale(LC_ALL, old_locale.c_str());
    EXPECT_EQ(testsupport::read_text(dir.file("run.csv")), kExpected);
    ASSERT_EQ(files.requests().size(), 1u);
    const platform::FileChooserRequest& request = files.requests()[0];
    EXPECT_EQ(request.file_name, dir.file("run"));
    EXPECT_EQ(request.default_extension, "csv");
    EXPECT_TRUE(request.overwrite_prompt);
    EXPECT_EQ(request.filters,
              (std::vector<platform::FileFilter>{{"CSV (Comma delimited)", {"*.csv"}}, {"All Files", {"*.*"}}}));
}

TEST_F(CsvExport, WithoutChannelsOnlyTheFirstTwoLines) {
    CVXMlogDoc empty({&messages, &files});
    files.queue_path(dir.file("empty.csv"));
    empty.ExportCsv();
    EXPECT_EQ(testsupport::read_text(dir.file("empty.csv")), "Calderis Datalogger\r\n\r\n");
}

TEST_F(CsvExport, AFailureIsReported) {
    fill();
    files.queue_path(dir.file("missing/run.csv"));
    doc.ExportCsv();
    // A folder in the way: the rename fails and the folder stays.
    std::filesystem::create_directory(dir.file("taken.csv"));
    files.queue_path(dir.file("taken.csv"));
    doc.ExportCsv();
    ASSERT_EQ(messages.messages().size(), 2u);
    for (const auto& message : messages.messages()) {
        EXPECT_NE(message.text.find("was not exported"), std::string::npos) << message.text;
        EXPECT_EQ(message.caption, "VXMlog");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.csv")));
}

// Every failure a user reads about a file is a sentence that names it: a
// refused document, a save and an export into a folder that is not there,
// a save over a folder.
TEST_F(CsvExport, FileFailuresStartWithACapitalAndNameTheFile) {
    fill();
    std::vector<std::pair<std::string, std::string>> shown;  // the file, the message
    const auto last_message = [&] { return messages.messages().empty() ? "" : messages.messages().back().text; };

    const std::string refused = dir.file("wide.vxg");
    testsupport::write_bytes(refused, hex("02 00 00 00  00  30 00 00 00"));
    CVXMlogDoc review({&messages, &files});
    shown.emplace_back(refused, review.Load(refused).value_or(""));

    for (const std::string& target : {dir.file("missing/run.vxg"), dir.file("taken.vxg")}) {
        std::filesystem::create_directory(dir.file("taken.vxg"));
        files.queue_path(target);
        doc.SaveAs();
        shown.emplace_back(target, last_message());
    }
    const std::string csv = dir.file("missing/run.csv");
    files.queue_path(csv);
    doc.ExportCsv();
    shown.emplace_back(csv, last_message());

    for (const auto& [file, message] : shown) {
        SCOPED_TRACE(message);
        ASSERT_FALSE(message.empty());
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(message.front())));
        EXPECT_NE(message.find(file), std::string::npos);
        // A reason quoted after a full stop starts a sentence too.
        const std::size_t stop = message.find(". ");
        if (stop != std::string::npos && stop + 2 < message.size()) {
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(message[stop + 2])));
        }
    }
}

TEST(CsvName, CutAtTheLastDotAfterTheLastSlash) {
    EXPECT_EQ(CsvProposedName("/home/a/run.vxg"), "/home/a/run");
    EXPECT_EQ(CsvProposedName("/home/a.b/run"), "/home/a.b/run");
    EXPECT_EQ(CsvProposedName("/home/a/run.1.vxg"), "/home/a/run.1");
    EXPECT_EQ(CsvProposedName(""), "");
}

}  // namespace
}  // namespace korv::boxlogger
