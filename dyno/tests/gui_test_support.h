#pragma once
// Shared pieces of the Ergomark window tests: a pull log on disk and a
// temporary folder.
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace korv::dyno::testing_support {

// A 6 s pull from idle at full throttle, rising RPM, 20 samples a second.
inline std::string pull_csv() {
    std::string csv = "Calderis Datalogger\n\nTime,Engine Speed (RPM),Throttle Position (%)\n";
    for (int i = 0; i <= 120; ++i) {
        const double t = i * 0.05;
        const int rpm = i < 10 ? 900 : 2000 + static_cast<int>(4500.0 * (1 - 1 / (1 + (t - 0.5) / 1.5)));
        csv += std::to_string(t) + "," + std::to_string(rpm) + "," + (i < 10 ? "5" : "100") + "\n";
    }
    return csv;
}

inline std::string write_file(const QTemporaryDir& dir, const char* name, const std::string& text) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace korv::dyno::testing_support
