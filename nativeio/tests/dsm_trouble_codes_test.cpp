// The DSM ECU's trouble codes and actuator tests against the simulated ECU.
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/dsm_ecu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace korv::korvio {
namespace {

using sim::DsmEcu;
using sim::PeerOnPort;
using testsupport::read_text;
using Bytes = std::vector<std::uint8_t>;

constexpr int kDsmCable = 4;

std::string report(int count, const std::string& text) { return std::string(1, static_cast<char>(count)) + text; }

const std::string kAllSixteen =
    "16 trouble codes found\n"
    "44 - Ignition system\n"
    "43 - EGR system\n"
    "42 - Fuel pump\n"
    "41 - Fuel injector\n"
    "36 - Ignition timing\n"
    "31 - Knock sensor\n"
    "25 - Barometric sensor\n"
    "24 - Speed sensor\n"
    "23 - Cam sensor\n"
    "22 - Crank sensor\n"
    "21 - Engine coolant\n"
    "15 - ISC\n"
    "14 - TPS\n"
    "13 - Intake air temp\n"
    "12 - Air flow sensor\n"
    "11 - O2 sensor\n";

class DsmTroubleCodes : public testing::ObdRunTest {
protected:
    void bring_up() {
        ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
        ASSERT_EQ(SioReset(kDsmCable, 0, 1024, 1024), 0);
    }
};

TEST_F(DsmTroubleCodes, CodeWordFFFFListsEveryCodeFromBit15Down) {
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_trouble_codes(0xFFFF);
    bring_up();
    EXPECT_EQ(getDTC(0, kDsmCable), 0);
    EXPECT_EQ(ecu->received(), (Bytes{0xFE, 0x3B, 0x3C, 0xFD}));
    EXPECT_EQ(read_text("dtc.tmp"), report(16, kAllSixteen));
}

TEST_F(DsmTroubleCodes, HighAndLowBytesEachCount) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    ecu->set_trouble_codes(0x8001);
    EXPECT_EQ(getDTC(0, kDsmCable), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(2, "2 trouble codes found\n44 - Ignition system\n11 - O2 sensor\n"));
    ecu->set_trouble_codes(0x0420);
    EXPECT_EQ(getDTC(0, kDsmCable), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(2, "2 trouble codes found\n31 - Knock sensor\n21 - Engine coolant\n"));
    ecu->set_trouble_codes(0);
    EXPECT_EQ(getDTC(0, kDsmCable), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(0, "No trouble codes found\n"));
}

TEST_F(DsmTroubleCodes, DemonstrationPortHasEveryCode) {
    EXPECT_EQ(getDTC(kDemoPort, kDsmCable), 0);
    EXPECT_EQ(read_text("dtc.tmp"), report(16, kAllSixteen));
}

struct HandshakeFault {
    std::uint8_t byte;
    Bytes answer;
    int result;
    Bytes heard;
};

class DsmHandshakeFault : public DsmTroubleCodes, public ::testing::WithParamInterface<HandshakeFault> {};

TEST_P(DsmHandshakeFault, EndsWithItsStepCodeAndNoNewReport) {
    const HandshakeFault& fault = GetParam();
    std::ofstream("dtc.tmp", std::ios::binary) << "earlier report";
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_answer(fault.byte, fault.answer);
    bring_up();
    EXPECT_EQ(getDTC(0, kDsmCable), fault.result);
    EXPECT_EQ(ecu->received(), fault.heard);
    EXPECT_EQ(read_text("dtc.tmp"), "earlier report");
}

INSTANTIATE_TEST_SUITE_P(EveryStep, DsmHandshakeFault,
                         ::testing::Values(
                             // Three tries when nothing comes, one when a wrong byte does.
                             HandshakeFault{0xFE, {}, -151, {0xFE, 0xFE, 0xFE}},
                             HandshakeFault{0xFE, {0xFD}, -151, {0xFE}},
                             HandshakeFault{0x3B, {0x00, 0x00}, -152, {0xFE, 0x3B}},
                             HandshakeFault{0x3B, {0x3B}, -153, {0xFE, 0x3B}},
                             HandshakeFault{0x3C, {}, -162, {0xFE, 0x3B, 0x3C, 0x3C, 0x3C}},
                             HandshakeFault{0x3C, {0x3C}, -163, {0xFE, 0x3B, 0x3C}},
                             HandshakeFault{0xFD, {}, -171, {0xFE, 0x3B, 0x3C, 0xFD, 0xFD, 0xFD}}));

TEST_F(DsmTroubleCodes, ClosedPortFailsTheFirstStep) {
    EXPECT_EQ(getDTC(5, kDsmCable), -151);
    EXPECT_FALSE(std::filesystem::exists("dtc.tmp"));
}

TEST_F(DsmTroubleCodes, ActuatorCommandsAreEchoedByTheEcu) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    Bytes sent;
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99}) {
        EXPECT_EQ(dodiag(0, code), 0) << code;
        sent.push_back(ecu->received().back());
    }
    EXPECT_EQ(sent, (Bytes{0xF6, 0xF4, 0xF1, 0xF3, 0xF5, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8, 0xF7, 0xFF}));

    // An ECU that answers the fuel pump test with another byte.
    ecu->set_answer(0xF6, {0xF7});
    EXPECT_EQ(dodiag(0, 0), kEchoMismatch);
    // One that only answers zeros: three 2-s tries.
    ecu->set_answer(0xF6, {0x00, 0x00});
    const auto start = clock_.now_us();
    EXPECT_EQ(dodiag(0, 0), kEchoMismatch);
    EXPECT_GE(clock_.now_us() - start, 6'000'000);
}

}  // namespace
}  // namespace korv::korvio
