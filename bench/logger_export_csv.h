#pragma once
// The data logger's CSV export, as the benchmarks that read CSV write it:
// 100 samples a second, repeated pulls, more columns than the readers take,
// and Python's csv module with float() timed on the same file.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>

#include "common/core/number_text.h"

namespace korv::bench {

// Columns: Time, Engine Speed (RPM), Throttle Position (%), Air Temp (F),
// Barometer (inHg), Boost (psi), after a title line and an empty one.
inline void write_logger_export(const std::string& path, int rows) {
    std::ofstream out(path, std::ios::binary);
    out << "Calderis Datalogger\n\n"
           "Time,Engine Speed (RPM),Throttle Position (%),Air Temp (F),Barometer (inHg),Boost (psi)\n";
    std::string line;
    for (int i = 0; i < rows; ++i) {
        const double t = i * 0.01;
        const double phase = std::fmod(t, 20.0);
        const double rpm = phase < 12 ? 2000 + 5000 * phase / 12 : 900;
        line.clear();
        append_fixed(line, t, 2);
        line += ',';
        append_fixed(line, rpm + 7 * std::sin(i * 0.7), 2);
        line += phase < 12 ? ",99.00,75.00,29.92," : ",0.00,75.00,29.92,";
        append_fixed(line, phase < 12 ? phase : 0.0, 2);
        line += '\n';
        out << line;
    }
}

// Debian's interpreter: the one the figures are quoted against.
inline constexpr const char* kPython = "/usr/bin/python3";

inline bool python_present() { return ::access(kPython, X_OK) == 0; }

// Milliseconds Python takes to read `path` with csv.reader past its three
// head lines and float() the given columns of every row; it times itself, so
// its start-up stays out. Nothing when it cannot be run.
inline std::optional<double> python_csv_ms(const std::string& path, std::initializer_list<int> columns) {
    std::string row = "(";
    for (int c : columns) row += "float(x[" + std::to_string(c) + "]),";
    row += ")";
    const std::string script =
        "import csv,sys,time\n"
        "t0=time.perf_counter()\n"
        "f=open(sys.argv[1],newline='')\n"
        "r=csv.reader(f)\n"
        "next(r);next(r);h=next(r)\n"
        "rows=[" +
        row +
        " for x in r if x]\n"
        "print((time.perf_counter()-t0)*1000.0)\n";
    std::string escaped;
    for (char ch : script) {
        if (ch == '"' || ch == '\\' || ch == '$' || ch == '`') escaped += '\\';
        escaped += ch;
    }
    const std::string command = std::string(kPython) + " -c \"" + escaped + "\" '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    char buffer[64] = {};
    const bool got = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
    if (pclose(pipe) != 0 || !got) return std::nullopt;
    return std::atof(buffer);
}

}  // namespace korv::bench
