#include "player/core/log_kind.h"

#include "common/core/file_names.h"
#include "common/core/vxm_float_order.h"

namespace korv::player {

LogNameKind classify_log_name(std::string_view name) {
    if (ends_with_case_blind(name, ".dab")) return LogNameKind::pms;
    switch (choose_vxm_float_order(name)) {
    case VxmOrderChoice::little_endian: return LogNameKind::vxm_little;
    case VxmOrderChoice::big_endian: return LogNameKind::vxm_big;
    case VxmOrderChoice::needs_conversion_dialog: break;
    }
    return LogNameKind::unknown;
}

}  // namespace korv::player
