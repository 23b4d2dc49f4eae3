#pragma once
// Windows-1252 bytes <-> QString at the Qt edge. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081.. and back,
// so every byte string survives a round trip.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace korv::platform {

// nullopt only when this Qt build has no Windows-1252 converter.
std::optional<QString> qstring_from_windows1252(std::string_view bytes);
// nullopt when the text holds a character Windows-1252 cannot hold.
std::optional<std::string> windows1252_from_qstring(const QString& text);

} // namespace korv::platform
