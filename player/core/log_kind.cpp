#include "player/core/log_kind.h"

#include <cstddef>

#include "common/core/vxm_float_order.h"

namespace korv::player {
namespace {

bool ends_with_case_blind(std::string_view text, std::string_view lower_suffix) {
  if (text.size() < lower_suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - lower_suffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower_suffix[i]) return false;
  }
  return true;
}

}  // namespace

LogNameKind classify_log_name(std::string_view name) {
  if (ends_with_case_blind(name, ".dab")) return LogNameKind::pms;
  switch (choose_vxm_float_order(name)) {
    case VxmOrderChoice::little_endian:
      return LogNameKind::vxm_little;
    case VxmOrderChoice::big_endian:
      return LogNameKind::vxm_big;
    case VxmOrderChoice::needs_conversion_dialog:
      break;
  }
  return LogNameKind::unknown;
}

}  // namespace korv::player
