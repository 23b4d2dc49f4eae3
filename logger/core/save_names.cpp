#include "logger/core/save_names.h"

#include "common/core/fallback_save_texts.h"
#include "common/core/file_names.h"

namespace korv::logger {

std::string renamed_message(LogType type) {
    return renamed_to_fallback_message(traits_of(type).extension, traits_of(type).fallback_name);
}

std::string replace_fallback_question(LogType type) {
    return korv::replace_fallback_question(traits_of(type).fallback_name);
}

SaveTarget resolve_save_target(LogType type, const std::string& chosen_path) {
    const FamilyTraits& t = traits_of(type);
    const std::size_t slash = chosen_path.find_last_of('/');
    const std::string name = slash == std::string::npos ? chosen_path : chosen_path.substr(slash + 1);
    if (ends_with_case_blind(name, t.extension)) return {chosen_path, std::nullopt};
    const std::string directory = slash == std::string::npos ? std::string() : chosen_path.substr(0, slash + 1);
    return {directory + std::string(t.fallback_name), renamed_message(type)};
}

}  // namespace korv::logger
