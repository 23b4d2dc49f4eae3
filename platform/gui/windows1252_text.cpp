#include "platform/gui/windows1252_text.h"

#include "platform/core/windows1252.h"

namespace korv::platform {

QString qstring_from_windows1252(std::string_view bytes) {
    return QString::fromStdU16String(utf16_from_windows1252(bytes));
}

std::optional<std::string> windows1252_from_qstring(const QString& text) {
    return windows1252_from_utf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace korv::platform
