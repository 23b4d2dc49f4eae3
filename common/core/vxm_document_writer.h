#pragma once

#include <optional>
#include <string>

#include "common/core/vxm_document.h"

namespace korv {

// Stores the document as a version-2 ".vxg" file, all little-endian:
// version, title, N, N channel descriptors (precision, kind, units, trace
// width, id, min, max, label, colour), sample count, then per sample its
// time and N values as raw floats. Any earlier file of the name is replaced
// only when the whole file is written. nullopt on success, else a message.
std::optional<std::string> write_vxm_document(const std::string& path, const VxmDocument& document);

}  // namespace korv
