#include "common/core/vxm_float_order.h"

#include <cstddef>

#include "common/core/file_names.h"

namespace korv {
namespace {

std::string_view file_name_of(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

VxmOrderChoice choose_vxm_float_order(std::string_view path, bool declared_vxm_log) {
    if (ends_with_case_blind(path, ".vxg")) return VxmOrderChoice::little_endian;
    if (ends_with_case_blind(path, ".db1") || ends_with_case_blind(path, ".db2")) {
        return VxmOrderChoice::big_endian;
    }
    // The conversion always writes this exact name, so no case folding here.
    if (file_name_of(path) == "csv.tmp") return VxmOrderChoice::big_endian;
    if (declared_vxm_log) return VxmOrderChoice::little_endian;
    return VxmOrderChoice::needs_conversion_dialog;
}

}  // namespace korv
