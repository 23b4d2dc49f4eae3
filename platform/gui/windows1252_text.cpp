#include "platform/gui/windows1252_text.h"

#include "platform/core/windows1252.h"

namespace korv::platform {

QString qstring_from_windows1252(std::string_view bytes) {
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        text[qsizetype(k)] = QChar(unicode_from_windows1252(static_cast<unsigned char>(bytes[k])));
    }
    return text;
}

std::optional<std::string> windows1252_from_qstring(const QString& text) {
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t character = text[k].unicode();
        if (const std::optional<unsigned char> byte = windows1252_from_unicode(character)) {
            bytes += static_cast<char>(*byte);
            continue;
        }
        // A high surrogate that ends the text is dropped, not refused, as Qt's
        // codec does while it waits for the low half: texts stored through
        // that codec before are stored alike now.
        if (k + 1 == text.size() && QChar::isHighSurrogate(character)) break;
        return std::nullopt;
    }
    return bytes;
}

}  // namespace korv::platform
