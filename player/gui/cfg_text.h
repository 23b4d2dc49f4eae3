#pragma once
// Texts kept in kvt.cfg are Windows-1252; the windows hold QStrings.
#include <QString>

#include <cstddef>
#include <optional>
#include <string>

namespace korv::player {

// The text's Windows-1252 bytes; empty (stored as absent) when it holds a
// character the code page cannot.
std::string cfg_bytes(const QString& text);
QString cfg_text(const std::string& bytes);

// What the user is told when a chosen file's name and folder cannot both be
// remembered in kvt.cfg; empty when they can. `fixed_bytes` and `last_slot`
// describe the slot (see kvt_config.h).
QString cfg_path_note(const QString& file, const QString& dir, std::size_t fixed_bytes, bool last_slot);

}  // namespace korv::player
