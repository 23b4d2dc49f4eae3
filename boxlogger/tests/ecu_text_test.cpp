#include "boxlogger/core/ecu_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korv::boxlogger {
namespace {

TEST(EcuTextTest, IdentificationBytesReadAsTheirNamesOrUnknown) {
    EXPECT_EQ(FormatModuleType(0xE0), "Engine");
    EXPECT_EQ(FormatModuleType(0xF0), "Tranmission");
    EXPECT_EQ(FormatModuleType(0x0A), "Unknown(0A)");
    EXPECT_EQ(FormatEngineCode(0x18), "1.8 MPI California");
    EXPECT_EQ(FormatEngineCode(0x4F), "3.0 DOHC Federal");
    EXPECT_EQ(FormatEngineCode(0xC9), "2.0 Turbo");
    EXPECT_EQ(FormatEngineCode(0xFF), "Unknown(FF)");
    EXPECT_EQ(FormatModelYear(0x25), "1994");
    EXPECT_EQ(FormatModelYear(0x37), "1990 California");
    EXPECT_EQ(FormatModelYear(0xCB), "1991-1992 VR4");
    EXPECT_EQ(FormatModelYear(0x00), "Unknown(00)");
}

TEST(EcuTextTest, FaultCodesJoinSetBitsInRisingOrder) {
    EXPECT_EQ(FormatFaultCodes(0x0000), "");
    EXPECT_EQ(FormatFaultCodes(0x0003), "11 Oxygen Sensor\n12 Air Flow Sensor");
    EXPECT_EQ(FormatFaultCodes(0x8000), "36 Ignition Circuit");
    EXPECT_EQ(FormatFaultCodes(0x8401), "11 Oxygen Sensor\n31 Detonation Sensor\n36 Ignition Circuit");
    const std::string all = FormatFaultCodes(0xFFFF);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 15);
    EXPECT_EQ(all.substr(0, 17), "11 Oxygen Sensor\n");
    EXPECT_NE(all.back(), '\n');
}

}  // namespace
}  // namespace korv::boxlogger
