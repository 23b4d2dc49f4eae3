// kvt.cfg: the default file, every slot's round trip, the slot bounds and
// a reader that meets damaged files.
#include "player/core/kvt_config.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::kvt;
using namespace korv::player::testing_support;

namespace {

void put_int(Bytes& out, std::int32_t v) {
    const auto u = std::uint32_t(v);
    append(out, {std::uint8_t(u >> 24), std::uint8_t(u >> 16), std::uint8_t(u >> 8), std::uint8_t(u)});
}
void put_string(Bytes& out, const std::string& s) {
    put_int(out, std::int32_t(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}
void place(Bytes& file, std::size_t offset, const Bytes& slot) {
    if (file.size() < offset + slot.size()) file.resize(offset + slot.size(), 0);
    std::copy(slot.begin(), slot.end(), file.begin() + std::ptrdiff_t(offset));
}

KvtConfig every_slot() {
    KvtConfig c;
    c.start_x = 12;
    c.start_y = -3;
    PlayerSlot p;
    p.x = 100;
    p.y = 200;
    p.visible = true;
    p.animate_enabled = true;
    p.animate_selected = false;
    p.theFile = "run.db1";
    p.theFileDir = "/home/kim/logs/\xE9t\xE9/";  // Windows-1252 bytes
    p.itc_animate = true;
    p.afc_animate = false;
    p.afc2_animate = true;
    p.advanced_fuel_calc = true;
    p.chart_2d_present = true;
    p.x_2d = 640;
    p.y_2d = 480;
    c.player = p;
    ChooserSlot d;
    d.x = 5;
    d.y = 6;
    d.visible = true;
    d.selected = {true, false, true, false};
    d.enabled = {true, false, true, true};
    c.chooser = d;
    c.knob_afc = EditorSlot{1, 2, true, "knob.afc", "/cfg/"};
    c.vcd_afc = EditorSlot{3, 4, false, "vcd.afc", "/cfg/"};
    c.itc = EditorSlot{-7, 8, true, "timing.itc", "/cfg/"};
    c.pms = PmsSlot{EditorSlot{9, 10, true, "map.e2p", "/cfg/pms/"}, PmsRadioButtons{false, false, true, false, true}};
    return c;
}

}  // namespace

TEST(KvtFile, TheDefaultFileIs1223BytesOfAbsentSlots) {
    Bytes expected(1223, 0);
    expected[1218] = 1;  // program 1 ...
    expected[1221] = 1;  // ... and the fuel table, as an absent PMS slot carries them
    EXPECT_EQ(encode_kvt(KvtConfig{}), expected);
    EXPECT_EQ(kDefaultFileBytes, expected.size());
}

TEST(KvtFile, ThePlayerSlotLayout) {
    KvtConfig c;
    c.player = every_slot().player;
    const Bytes bytes = encode_kvt(c);
    Bytes slot;
    append(slot, {1});
    put_int(slot, 100);
    put_int(slot, 200);
    append(slot, {1, 1, 0});
    put_string(slot, "run.db1");
    put_string(slot, "/home/kim/logs/\xE9t\xE9/");
    append(slot, {1, 0, 1, 1, 1});
    put_int(slot, 640);
    put_int(slot, 480);
    EXPECT_EQ(Bytes(bytes.begin() + 200, bytes.begin() + 200 + std::ptrdiff_t(slot.size())), slot);
}

TEST(KvtFile, EverySlotRoundTrips) {
    const KvtConfig c = every_slot();
    const Bytes bytes = encode_kvt(c);
    const KvtRead read = decode_kvt(bytes.data(), bytes.size());
    EXPECT_FALSE(read.ends_in_slot.has_value());
    EXPECT_EQ(read.config, c);
}

TEST(KvtFile, AbsentAndEmptyStringsReadBackAsOneBlank) {
    KvtConfig c;
    c.player = PlayerSlot{};
    c.itc = EditorSlot{};
    const Bytes bytes = encode_kvt(c);
    const KvtRead read = decode_kvt(bytes.data(), bytes.size());
    ASSERT_TRUE(read.config.player && read.config.itc);
    EXPECT_EQ(read.config.player->theFile, " ");
    EXPECT_EQ(read.config.player->theFileDir, " ");
    EXPECT_EQ(read.config.itc->dir, " ");
}

// Whatever one save wrote, reading it and saving again gives the same bytes:
// strings that fill a slot to its edge, that give way, that are empty or
// read back as one blank.
TEST(KvtFile, EverySlotWrittenReadAndWrittenAgainKeepsItsBytes) {
    using Strings = std::pair<std::string, std::string>;
    const std::string edge(182, 'e');  // 18 + 182 fills an editor slot
    std::vector<KvtConfig> cases = {every_slot(), KvtConfig{}};
    for (const auto& [file, dir] : std::vector<Strings>{
             {"", ""}, {" ", " "}, {std::string(150, 'f'), std::string(17, 'd')}, {std::string(151, 'f'), "d"}}) {
        cases.push_back(every_slot());
        cases.back().player->theFile = file;
        cases.back().player->theFileDir = dir;
    }
    for (auto slot : {&KvtConfig::knob_afc, &KvtConfig::vcd_afc, &KvtConfig::itc}) {
        for (const auto& [file, dir] : std::vector<Strings>{{edge, ""}, {"", edge}, {edge + "x", " "}}) {
            cases.push_back(every_slot());
            cases.back().*slot = EditorSlot{1, 2, true, file, dir};
        }
    }
    for (const auto& [file, dir] : std::vector<Strings>{{std::string(199, 'p'), ""}, {std::string(200, 'p'), " "}}) {
        cases.push_back(every_slot());
        cases.back().pms->editor = EditorSlot{1, 2, true, file, dir};
    }
    for (const KvtConfig& config : cases) {
        const Bytes first = encode_kvt(config);
        const KvtRead read = decode_kvt(first.data(), first.size());
        EXPECT_EQ(read.config.player.has_value(), config.player.has_value());
        EXPECT_EQ(encode_kvt(read.config), first);
        EXPECT_EQ(encode_kvt(read.config, first), first);  // saved over itself
    }
}

TEST(KvtSlotBounds, ThePlayerDropsTheNameBeforeTheFolder) {
    KvtConfig c;
    c.player = PlayerSlot{};
    c.player->theFile = std::string(150, 'f');
    c.player->theFileDir = std::string(17, 'd');  // 33 + 150 + 17 = 200: fits exactly
    c.chooser = ChooserSlot{};
    Bytes bytes = encode_kvt(c);
    KvtRead read = decode_kvt(bytes.data(), bytes.size());
    ASSERT_TRUE(read.config.player && read.config.chooser);
    EXPECT_EQ(read.config.player->theFile, c.player->theFile);

    c.player->theFileDir = std::string(18, 'd');
    bytes = encode_kvt(c);
    read = decode_kvt(bytes.data(), bytes.size());
    ASSERT_TRUE(read.config.player && read.config.chooser);
    EXPECT_EQ(read.config.player->theFile, " ");
    EXPECT_EQ(read.config.player->theFileDir, c.player->theFileDir);

    c.player->theFileDir = std::string(168, 'd');
    bytes = encode_kvt(c);
    read = decode_kvt(bytes.data(), bytes.size());
    ASSERT_TRUE(read.config.player);
    EXPECT_EQ(read.config.player->theFileDir, " ");
    EXPECT_TRUE(read.config.chooser.has_value());
}

TEST(KvtSlotBounds, OnlyTheLastSlotKeepsLongStrings) {
    KvtConfig c;
    c.knob_afc = EditorSlot{0, 0, false, std::string(100, 'a'), std::string(90, 'b')};
    c.pms = PmsSlot{EditorSlot{0, 0, false, std::string(199, 'p'), std::string(199, 'q')}, {}};
    const Bytes bytes = encode_kvt(c);
    const KvtRead read = decode_kvt(bytes.data(), bytes.size());
    ASSERT_TRUE(read.config.knob_afc && read.config.pms);
    EXPECT_EQ(read.config.knob_afc->file, " ");
    EXPECT_EQ(read.config.knob_afc->dir, std::string(90, 'b'));
    EXPECT_EQ(read.config.pms, c.pms);

    c.pms->editor.file = std::string(200, 'p');  // no reader takes 200 bytes
    const Bytes longer = encode_kvt(c);
    const KvtRead again = decode_kvt(longer.data(), longer.size());
    ASSERT_TRUE(again.config.pms);
    EXPECT_EQ(again.config.pms->editor.file, " ");
    EXPECT_EQ(again.config.pms->buttons, c.pms->buttons);
    EXPECT_EQ(fit_strings(kPlayerSlotFixedBytes, 200, 10, 300), (StringFit{true, false}));
}

TEST(KvtReader, DamagedStringsMakeTheirSlotAbsent) {
    const Bytes good = encode_kvt(every_slot());
    auto with_length = [&](std::size_t offset, std::int32_t length) {
        Bytes bytes = good;
        Bytes field;
        put_int(field, length);
        place(bytes, offset, field);
        return decode_kvt(bytes.data(), bytes.size());
    };
    // The player's name length stands at 200 + 12.
    for (std::int32_t length : {-1, 200, 100000}) {
        const KvtRead read = with_length(212, length);
        EXPECT_FALSE(read.config.player.has_value()) << length;
        EXPECT_TRUE(read.config.chooser.has_value());
        EXPECT_TRUE(read.config.pms.has_value());
    }
    // An editor's name running past its slot's end.
    const KvtRead past_end = with_length(610, 190);
    EXPECT_FALSE(past_end.config.knob_afc.has_value());
    EXPECT_TRUE(past_end.config.vcd_afc.has_value());
}

// A writer that lets slots overrun can end the player's strings at, or
// near, the slot's edge: its flags and 2-D chart position would then come
// from the chooser's slot, which is written over the overrun.
TEST(KvtReader, APlayerSlotWhoseFieldsCrossItsEdgeIsAbsent) {
    KvtConfig c;
    c.chooser = every_slot().chooser;
    const Bytes base = encode_kvt(c);
    const Bytes chooser(base.begin() + 400, base.begin() + 418);
    // 33 fixed bytes and the two strings: 167 string bytes fill the slot.
    for (const auto& [name_bytes, present] :
         std::vector<std::pair<std::size_t, bool>>{{87, true}, {88, false}, {95, false}, {100, false}, {120, false}}) {
        Bytes slot;
        append(slot, {1});
        put_int(slot, 100);
        put_int(slot, 200);
        append(slot, {1, 1, 1});
        put_string(slot, std::string(name_bytes, 'f'));
        put_string(slot, std::string(80, 'd'));
        append(slot, {1, 1, 1, 1, 1});
        put_int(slot, 640);
        put_int(slot, 480);
        Bytes bytes = base;
        place(bytes, 200, slot);
        place(bytes, 400, chooser);

        const KvtRead read = decode_kvt(bytes.data(), bytes.size());
        EXPECT_EQ(read.config.player.has_value(), present) << name_bytes;
        EXPECT_EQ(read.config.chooser, c.chooser) << name_bytes;
        EXPECT_FALSE(read.ends_in_slot.has_value()) << name_bytes;
    }
}

TEST(KvtReader, AFileCutShortEndsTheReading) {
    const Bytes good = encode_kvt(every_slot());
    const KvtRead in_pms = decode_kvt(good.data(), 1210);
    EXPECT_EQ(in_pms.ends_in_slot, kPmsSlot);
    EXPECT_TRUE(in_pms.config.itc.has_value());
    EXPECT_FALSE(in_pms.config.pms.has_value());

    const KvtRead in_chooser = decode_kvt(good.data(), 300);
    EXPECT_EQ(in_chooser.ends_in_slot, kChooserSlot);
    EXPECT_TRUE(in_chooser.config.player.has_value());
    EXPECT_EQ(decode_kvt(good.data(), 5).ends_in_slot, kStartSlot);
}

class KvtOnDisk : public InScratchFolder {};

TEST_F(KvtOnDisk, WritesTheDefaultAndNeverShortensAFile) {
    ASSERT_FALSE(write_kvt_file(path("kvt.cfg"), KvtConfig{}));
    EXPECT_EQ(read_bytes(path("kvt.cfg")).size(), kDefaultFileBytes);

    write_bytes(path("kvt.cfg"), Bytes(2000, 0xEE));
    ASSERT_FALSE(write_kvt_file(path("kvt.cfg"), KvtConfig{}));
    const Bytes kept = read_bytes(path("kvt.cfg"));
    ASSERT_EQ(kept.size(), 2000u);
    EXPECT_EQ(kept[8], 0xEE);     // between slots
    EXPECT_EQ(kept[222], 0xEE);   // after the player's 22 absent bytes
    EXPECT_EQ(kept[1223], 0xEE);  // after the last slot
    EXPECT_EQ(kept[221], 0x00);

    KvtRead read;
    ASSERT_FALSE(read_kvt_file(path("kvt.cfg"), read));
    EXPECT_EQ(read.config, KvtConfig{});
}

TEST_F(KvtOnDisk, RoundTripsThroughTheFile) {
    ASSERT_FALSE(write_kvt_file(path("kvt.cfg"), every_slot()));
    KvtRead read;
    ASSERT_FALSE(read_kvt_file(path("kvt.cfg"), read));
    EXPECT_EQ(read.config, every_slot());
    EXPECT_TRUE(read_kvt_file(path("missing.cfg"), read));
}

TEST(KvtReader, ArbitraryBytesNeverReadPastTheirSlots) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes(next() % 1700);
        for (auto& b : bytes) b = std::uint8_t(next());
        // Make plausible slots likelier: present bytes set, small lengths.
        for (std::size_t offset : {200u, 400u, 600u, 800u, 1000u, 1200u}) {
            if (offset < bytes.size() && next() % 2) bytes[offset] = 1;
        }
        const KvtRead read = decode_kvt(bytes.data(), bytes.size());
        for (const auto& editor : {read.config.knob_afc, read.config.vcd_afc, read.config.itc}) {
            if (editor) {
                EXPECT_LE(editor->file.size() + editor->dir.size(), 200u - kEditorSlotFixedBytes);
            }
        }
        if (read.config.player) {
            EXPECT_LE(read.config.player->theFile.size() + read.config.player->theFileDir.size(),
                      200u - kPlayerSlotFixedBytes);
        }
    }
}
