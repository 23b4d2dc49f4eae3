#include "player/core/handheld_save_target.h"

#include <string_view>

#include "common/core/fallback_save_texts.h"
#include "common/core/file_names.h"

namespace korv::player {

std::optional<HandheldSaveTarget> handheld_save_target(HandheldLogKind kind, const std::optional<std::string>& chosen) {
    if (!chosen || chosen->empty() || chosen->back() == '/') return std::nullopt;
    const std::string& path = *chosen;
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    const std::string extension = extension_of(kind);
    if (ends_with_case_blind(name, extension)) return HandheldSaveTarget{path, std::nullopt};
    const std::string fallback = "temp" + extension;
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return HandheldSaveTarget{folder + fallback, renamed_to_fallback_message(extension, fallback)};
}

std::string handheld_replace_question(HandheldLogKind kind) {
    return replace_fallback_question("temp" + std::string(extension_of(kind)));
}

}  // namespace korv::player
