#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "common/core/vxm_document.h"

// Reader of VXMlog's ".vxg" documents, versions 0 to 2. It decodes every
// field, so it suits only files VXMlog wrote: a minimal-header log read this
// way would be misread (its count takes the bytes 0, N, 0, 0). The player
// uses VxmPlayerReader instead.
namespace korv {

struct VxmDocumentReadResult {
    std::optional<VxmDocument> document;
    std::string error;  // set when document is empty
    // Bytes the file holds after its last sample (a sample count stored too
    // small, or bytes appended): the document reads without them.
    std::uint64_t unread_bytes = 0;
};

// Every count and length is checked against the bytes that remain before
// anything is allocated; a file that does not hold what it announces is
// refused with a message, and so is one listing more channels than the
// caller knows of.
VxmDocumentReadResult read_vxm_document(const std::string& path,
                                        std::uint32_t max_channels = std::numeric_limits<std::uint32_t>::max());

}  // namespace korv
