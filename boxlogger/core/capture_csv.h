#pragma once
// The capture's comma-separated export, read by the player's CSV conversion
// and by Ergomark: "Calderis Datalogger", an empty line, the header, then one
// line per sample; every line ends in CR LF; texts are Windows-1252 bytes and
// numbers never follow the locale.
#include <optional>
#include <span>
#include <string>

#include "common/core/vxm_document.h"

namespace korv::boxlogger {

struct CsvColumn {
    std::string label;
    std::string units;  // empty: the header shows the bare label
};

// Writes the export through a temporary file, so a failure keeps any earlier
// file of the name. nullopt on success, else the reason.
std::optional<std::string> write_capture_csv(const std::string& path, std::span<const CsvColumn> columns,
                                             const VxmSampleTable& samples);

}  // namespace korv::boxlogger
