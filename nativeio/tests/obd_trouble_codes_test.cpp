// OBD-II trouble codes through the cable-1 box: the report dtc.tmp byte for
// byte, the catalogue look-ups and the clear request.
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable1_box.h"
#include "sim/core/clock_wait.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace korv::korvio {
namespace {

using sim::Cable1Box;
using sim::PeerOnPort;
using sim::ScriptedPeer;
using testsupport::read_text;
using Frame = std::vector<std::uint8_t>;
using Frames = std::vector<Frame>;

// The three requests as listed, checks summed by hand.
const Frame kStatusRequest{0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xCB};
const Frame kCodesRequest{0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0xDB};
const Frame kClearRequest{0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0xCD};

const std::string kUnknown = " Unknown DTC code, contact the author\n";

void write_catalogue(const std::string& text) { std::ofstream("dtc.txt", std::ios::binary) << text; }

// The report as built by hand: the count byte, then the text.
std::string report(int count, const std::string& text) { return std::string(1, static_cast<char>(count)) + text; }

class ObdTroubleCodes : public testing::ObdRunTest {
protected:
    // Opened as the logger does, then the box's power and reset lines.
    void bring_up() {
        ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
        ASSERT_EQ(SioReset(1, 0, 1024, 1024), 0);
    }
    static void set_status(Cable1Box& box, std::uint8_t status) { box.car().set(0x01, {status, 0x07, 0x65, 0x00}); }
};

TEST_F(ObdTroubleCodes, LightOnWithoutCodesAsksNoFurther) {
    PeerOnPort<Cable1Box> box(0);
    set_status(box.peer(), 0x80);
    box->trouble_codes().set({0x0143});
    bring_up();
    const auto start = clock_.now_us();
    EXPECT_EQ(getDTC(0, 1), 0);
    EXPECT_GE(clock_.now_us() - start, 5'000'000);  // the box's settling time first
    EXPECT_EQ(read_text("dtc.tmp"), report(0, "No error codes found\n"));
    EXPECT_EQ(box->frames(), (Frames{kStatusRequest}));
}

TEST_F(ObdTroubleCodes, EachCodeIsLookedUpFromTheCatalogueStartWhateverTheCable) {
    PeerOnPort<Cable1Box> box(0);
    set_status(box.peer(), 0x03);
    box->trouble_codes().set({0x0143, 0x0301, 0xD123});
    write_catalogue(
        "P0301 Cylinder 1 misfire\n"
        "P0143 O2 sensor low (bank 1 sensor 3)\n"
        "U1123 \n");
    bring_up();
    const std::string expected = report(3,
                                        "3 error codes found, C/E light is off\n"
                                        "P0143 O2 sensor low (bank 1 sensor 3)\n"
                                        "P0301 Cylinder 1 misfire\n"
                                        "U1123 \n");
    for (int cable : {0, 1, 2, 3}) {
        EXPECT_EQ(getDTC(0, cable), 0) << cable;
        EXPECT_EQ(read_text("dtc.tmp"), expected) << cable;
    }
    // The same frames for every cable but 4.
    EXPECT_EQ(box->frames(), (Frames{kStatusRequest, kCodesRequest, kStatusRequest, kCodesRequest, kStatusRequest,
                                     kCodesRequest, kStatusRequest, kCodesRequest}));
}

TEST_F(ObdTroubleCodes, SeveralRepliesEachEndedByAZeroPair) {
    PeerOnPort<Cable1Box> box(0);
    set_status(box.peer(), 0x85);
    // Two ECU messages: three codes, then two and a 00 00 pair.
    box->trouble_codes().set({0x0171, 0x0300, 0x4100, 0x8001, 0x0420});
    write_catalogue(
        "P0420 Catalyst below threshold (bank 1)\n"
        "P0300 Random misfire\n");
    bring_up();
    EXPECT_EQ(getDTC(0, 1), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(5,
                                           "5 error codes found, C/E light is on\n"
                                           "P0171" +
                                               kUnknown + "P0300 Random misfire\n" + "C0100" + kUnknown + "B0001" +
                                               kUnknown + "P0420 Catalyst below threshold (bank 1)\n"));
}

TEST_F(ObdTroubleCodes, ReplyThatComesAMomentLaterIsStillRead) {
    // A box that passes each ECU message on as it comes: the second one
    // a tenth of a second after the first.
    Frame heard;
    const auto box_reply = [](std::uint8_t mode, const Frame& data) {
        Frame reply{0x25, 0x81, 0x48, 0x6B, 0x10, static_cast<std::uint8_t>(0x40 | mode), 0, 0, 0, 0, 0, 0, 0, 0};
        std::copy(data.begin(), data.end(), reply.begin() + 6);
        return reply;
    };
    PeerOnPort<ScriptedPeer> box(0, sim::PeerOptions{}, [&](ScriptedPeer& p, std::uint8_t byte) {
        heard.push_back(byte);
        if (heard.size() < 15) return;
        const std::uint8_t mode = heard[6];
        heard.clear();
        if (mode == 0x01) p.reply(box_reply(0x01, {0x01, 0x84}));
        if (mode != 0x03) return;
        p.reply(box_reply(0x03, {0x01, 0x01, 0x01, 0x02, 0x01, 0x03}));
        sim::wait_for_clock(platform::clock().now_us() + 100'000);
        p.reply(box_reply(0x03, {0x01, 0x04, 0x00, 0x00, 0x01, 0x05}));
    });
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    EXPECT_EQ(getDTC(0, 1), 0);
    // The pair 00 00 ends the second message: P0105 is not read.
    EXPECT_EQ(read_text("dtc.tmp"), report(4, "4 error codes found, C/E light is on\nP0101\nP0102\nP0103\nP0104\n"));
}

TEST_F(ObdTroubleCodes, BytesAheadOfTheCodesAnswerGiveNoPhantomCodes) {
    // A frame of the box holding a second ECU's late answer to the status
    // request, ECU 18: 48 6B 18 41 01, then its data 01 00 10 10 2E.
    const Frame late_status{0x25, 0x81, 0x48, 0x6B, 0x18, 0x41, 0x01, 0x01, 0x00, 0x10, 0x10, 0x2E, 0x00, 0x17};
    const struct {
        const char* what;
        Frame ahead;
    } cases[] = {
        {"a second ECU's late status answer", late_status},
        {"the same answer as a real box passed it on",
         {0x81, 0x0A, 0x48, 0x6B, 0x18, 0x41, 0x01, 0x01, 0x00, 0x10, 0x10, 0x2E, 0x00, 0x00}},
        {"a burst of noise", Frame(1000, 0xFF)},
        {"a frame cut short", {0x25, 0x81, 0x48, 0x6B}},
        {"a single stray byte", {0x00}},
    };
    PeerOnPort<Cable1Box> box(0);
    set_status(box.peer(), 0x84);
    box->trouble_codes().set({0x0143, 0x0301, 0x0171, 0x0420});
    bring_up();
    for (const auto& c : cases) {
        box->send_before_codes(c.ahead);
        EXPECT_EQ(getDTC(0, 1), 0) << c.what;
        EXPECT_EQ(read_text("dtc.tmp"), report(4, "4 error codes found, C/E light is on\nP0143\nP0301\nP0171\nP0420\n"))
            << c.what;
    }
}

TEST_F(ObdTroubleCodes, ChatteringBoxHoldsTheReadOnlyBriefly) {
    const struct {
        const char* what;
        std::uint8_t status;
        std::vector<std::uint16_t> codes;
        std::int64_t longest_us;  // after the box's settling time
    } cases[] = {
        // Ends 300 ms after the one announced code was read.
        {"the announced code", 0x81, {0x0143}, 1'000'000},
        // The count is never reached: ends 5 s after the request.
        {"frames without codes", 0x82, {}, 6'000'000},
    };
    for (const auto& c : cases) {
        PeerOnPort<Cable1Box> box(0);
        set_status(box.peer(), c.status);
        box->trouble_codes().set(c.codes);
        // A frame every 100 ms for a minute.
        box->chatter(100'000, 600);
        bring_up();
        const auto start = clock_.now_us();
        EXPECT_EQ(getDTC(0, 1), 0) << c.what;
        EXPECT_LE(clock_.now_us() - start - 5'000'000, c.longest_us) << c.what;
        const std::string text = read_text("dtc.tmp");
        const std::string count_line =
            report(c.status & 0x7F, std::to_string(c.status & 0x7F) + " error codes found, C/E light is on\n");
        EXPECT_EQ(text.substr(0, count_line.size()), count_line) << c.what;
        // The code once, and at most the repeats that began within 300 ms
        // (one more for the test clock's steps).
        const std::string code_lines = text.substr(std::min(text.size(), count_line.size()));
        if (c.codes.empty())
            EXPECT_EQ(code_lines, "") << c.what;
        else
            EXPECT_TRUE(code_lines.size() >= 6 && code_lines.size() <= 5 * 6 && code_lines.starts_with("P0143\n"))
                << c.what << ": " << code_lines;
        SioClose(0);
    }
}

TEST_F(ObdTroubleCodes, SilentVehicleOrAReplyWithoutTheEcuHeaderCannotConnect) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    box->set_fault(sim::Fault::Silent);
    EXPECT_EQ(getDTC(0, 1), -1);
    EXPECT_EQ(read_text("dtc.tmp"), report(0, "Unable to connect to the vehicle\n"));

    // No monitor status: the box answers "no data", without the 48.
    box->set_fault(sim::Fault::None);
    box->car().remove(0x01);
    std::filesystem::remove("dtc.tmp");
    EXPECT_EQ(getDTC(0, 1), -1);
    EXPECT_EQ(read_text("dtc.tmp"), report(0, "Unable to connect to the vehicle\n"));
}

TEST_F(ObdTroubleCodes, CodesAnnouncedButNeverListedAreAFailure) {
    // After the status request: nothing, or only a second ECU's late answer
    // to it, which holds the ECU header but is no list of codes.
    const Frame late_status{0x81, 0x0A, 0x48, 0x6B, 0x18, 0x41, 0x01, 0x01, 0x00, 0x10, 0x10, 0x2E, 0x00, 0x00};
    for (const Frame& after_codes_request : {Frame{}, late_status}) {
        PeerOnPort<ScriptedPeer> box(
            0, sim::PeerOptions{}, [&, heard = Frame{}](ScriptedPeer& p, std::uint8_t byte) mutable {
                heard.push_back(byte);
                if (heard.size() < 15) return;
                if (heard[6] == 0x01) p.reply({0x25, 0x81, 0x48, 0x6B, 0x10, 0x41, 0x01, 0x02, 0, 0, 0, 0, 0, 0});
                if (heard[6] == 0x03 && !after_codes_request.empty()) p.reply(after_codes_request);
                heard.clear();
            });
        ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
        EXPECT_EQ(getDTC(0, 1), -1);
        EXPECT_EQ(read_text("dtc.tmp"), report(2, "2 error codes found, C/E light is off\n"));
        SioClose(0);
    }
}

TEST_F(ObdTroubleCodes, DemonstrationPortWithAndWithoutCatalogue) {
    EXPECT_EQ(getDTC(kDemoPort, 1), 0);
    // No catalogue here nor beside the code: each code text alone.
    EXPECT_EQ(read_text("dtc.tmp"), report(3, "3 error codes found, C/E light is on\nP0143\nP0196\nU3f34\n"));

    // Upper-case digits never match; a last line without its line end
    // still ends its report line.
    write_catalogue("U3F34 Written in upper case\nP0143 O2 sensor low (bank 1 sensor 3)\nP0196 Oil temperature");
    EXPECT_EQ(getDTC(kDemoPort, 0), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(3,
                                           "3 error codes found, C/E light is on\n"
                                           "P0143 O2 sensor low (bank 1 sensor 3)\n"
                                           "P0196 Oil temperature\n"
                                           "U3f34" +
                                               kUnknown));
}

TEST_F(ObdTroubleCodes, ReportThatCannotBeCreatedFailsBeforeAnyRequest) {
    PeerOnPort<Cable1Box> box(0);
    bring_up();
    std::filesystem::create_directory("dtc.tmp");
    EXPECT_EQ(getDTC(0, 1), -100);
    EXPECT_TRUE(box->frames().empty());
}

TEST_F(ObdTroubleCodes, ClearIsDoneOnlyWhenTheEcuConfirms) {
    PeerOnPort<Cable1Box> box(0);
    set_status(box.peer(), 0x82);
    box->trouble_codes().set({0x0301, 0x0302});
    bring_up();

    box->trouble_codes().refuse_clear(true);
    EXPECT_EQ(clearDTC(0), -1);
    EXPECT_EQ(box->trouble_codes().codes().size(), 2u);

    box->trouble_codes().refuse_clear(false);
    EXPECT_EQ(clearDTC(0), 0);
    EXPECT_EQ(box->frames(), (Frames{kClearRequest, kClearRequest}));
    // What the logger reads next.
    EXPECT_EQ(getDTC(0, 1), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(0, "No error codes found\n"));

    box->set_fault(sim::Fault::Silent);
    EXPECT_EQ(clearDTC(0), -1);
    EXPECT_EQ(clearDTC(kDemoPort), 0);
}

}  // namespace
}  // namespace korv::korvio
