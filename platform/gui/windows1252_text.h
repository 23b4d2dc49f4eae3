#pragma once
// Windows-1252 bytes <-> QString at the Qt edge, through the code page table
// in platform/core/windows1252.h, so every byte string survives a round trip.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace korv::platform {

QString qstring_from_windows1252(std::string_view bytes);
// nullopt when the text holds a character Windows-1252 cannot hold.
std::optional<std::string> windows1252_from_qstring(const QString& text);

}  // namespace korv::platform
