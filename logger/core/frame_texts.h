#pragma once
// The fixed texts of the interface settings frame, its link test and its
// trouble-code controls.
#include <string>

namespace korv::logger {

inline constexpr const char* kFrameTitle = "OBD Data Logging ";
inline constexpr const char* kHeadingText = "This panel is used to configure the data collection interface";
inline constexpr const char* kInitialStatus = "For the best possible peformance, log ONLY the items you need";

inline constexpr const char* kPortInUse = "Port already in use!";
inline constexpr const char* kNoCableSelected = "No cable type selected";
// The link test makes no library call without a port.
inline constexpr const char* kChoosePortFirst = "Choose a port first";
inline constexpr const char* kTestingLink = "Testing link...please wait";
inline constexpr const char* kUnsupportedCable = "Unsupported cable for this interface";
inline constexpr const char* kLinkOperational = "Link is operational";
inline constexpr const char* kLinkDisabled = "Link is disabled";

inline constexpr const char* kNotWhileLogging = "Not allowed while logging!";
inline constexpr const char* kConnectingText = "Connecting, please wait";
inline constexpr const char* kNoDtcData = "Unable to get DTC data!";
inline constexpr const char* kNoDtcFile = "Unable to access DTC results file!";

inline std::string port_open_error(int code) { return "Port open error: " + std::to_string(code); }
inline std::string port_opened(int code) { return "port opened " + std::to_string(code); }
inline std::string no_response(int code) { return "No response from ECU: " + std::to_string(code); }
inline std::string log_status(int code) { return "log status " + std::to_string(code); }

}  // namespace korv::logger
