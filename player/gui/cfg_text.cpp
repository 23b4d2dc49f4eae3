#include "player/gui/cfg_text.h"

#include "platform/gui/windows1252_text.h"
#include "player/core/kvt_config.h"

namespace korv::player {

std::string cfg_bytes(const QString& text) { return platform::windows1252_from_qstring(text).value_or(std::string()); }

QString cfg_text(const std::string& bytes) { return platform::qstring_from_windows1252(bytes); }

QString cfg_path_note(const QString& file, const QString& dir, std::size_t fixed_bytes, bool last_slot) {
    const auto file_bytes = platform::windows1252_from_qstring(file);
    const auto dir_bytes = platform::windows1252_from_qstring(dir);
    if (!file_bytes || !dir_bytes) {
        return QStringLiteral(
                   "The path %1 holds characters that kvt.cfg cannot store, so it will not be "
                   "remembered.")
            .arg(dir + file);
    }
    const std::optional<std::size_t> limit =
        last_slot ? std::nullopt : std::optional<std::size_t>(std::size_t(kvt::kSlotBytes));
    const kvt::StringFit fit = kvt::fit_strings(fixed_bytes, limit, kvt::stored_string_bytes(*file_bytes),
                                                kvt::stored_string_bytes(*dir_bytes));
    if (fit.keep_first && fit.keep_second) return {};
    if (fit.keep_second) {
        return QStringLiteral("The name %1 is too long for kvt.cfg: only its folder will be remembered.").arg(file);
    }
    return QStringLiteral("The path %1 is too long for kvt.cfg, so it will not be remembered.").arg(dir + file);
}

}  // namespace korv::player
