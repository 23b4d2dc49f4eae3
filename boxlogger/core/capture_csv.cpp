#include "boxlogger/core/capture_csv.h"

#include "common/core/atomic_file_writer.h"
#include "common/core/number_text.h"

namespace korv::boxlogger {
namespace {

constexpr const char* kFirstLines = "Calderis Datalogger\r\n\r\n";

void append_header(std::string& out, std::span<const CsvColumn> columns) {
    out += "Time (secs), ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        out += columns[i].label;
        if (!columns[i].units.empty()) {
            out += " (";
            out += columns[i].units;
            out += ')';
        }
        out += i + 1 < columns.size() ? ", " : "\r\n";
    }
}

// "%.2f, " for the time, then the values joined by ", ".
void append_row(std::string& out, float time, std::span<const float> values) {
    append_fixed(out, time, 2);
    out += ", ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        append_fixed(out, values[i], 2);
        out += i + 1 < values.size() ? ", " : "\r\n";
    }
}

// Calls sink with successive pieces of the export, each at most about 64 KiB.
template <typename Sink>
void produce(std::span<const CsvColumn> columns, const VxmSampleTable& samples, Sink&& sink) {
    std::string piece = kFirstLines;
    if (!columns.empty()) {
        append_header(piece, columns);
        for (std::size_t s = 0; s < samples.size(); ++s) {
            append_row(piece, samples.time(s), samples.values(s).first(std::min(columns.size(), samples.width())));
            if (piece.size() >= 65536) {
                sink(piece);
                piece.clear();
            }
        }
    }
    sink(piece);
}

}  // namespace

std::optional<std::string> write_capture_csv(const std::string& path, std::span<const CsvColumn> columns,
                                             const VxmSampleTable& samples) {
    AtomicFileWriter file;
    if (auto error = file.open(path)) return error;
    produce(columns, samples, [&](const std::string& piece) { file.write(piece.data(), piece.size()); });
    return file.commit();
}

}  // namespace korv::boxlogger
