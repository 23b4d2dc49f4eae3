#pragma once

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
};

// Every count and length is checked against the bytes that remain before
// anything is allocated; a file that does not hold what it announces is
// refused with a message.
VxmDocumentReadResult read_vxm_document(const std::string& path);

}  // namespace korv
