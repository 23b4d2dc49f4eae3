#pragma once
// The protocol engines behind the entry points. Each takes the arguments as
// the entry point got them and returns its korvio result code.
#include "nativeio/include/korvio.h"

#include <vector>

namespace korv::korvio {

struct LoggingRun {
    const korvio_host* host;
    int port;
    int mode;  // 1 probe, 2 run until stopped
    int cable;
    std::vector<int> items;  // usable channel ids in list order
    int chart_flag;
};

inline constexpr int kModeProbe = 1;
inline constexpr int kModeRun = 2;

int run_obd_engine(const LoggingRun& run);  // cables 0-3
int run_dsm_engine(const LoggingRun& run);  // cable 4
int read_trouble_codes(int port, int cable);
int clear_trouble_codes(int port);
int run_pms_session(int port, int mode);
int run_handheld_transfer(const korvio_host* host, int port);

}  // namespace korv::korvio
