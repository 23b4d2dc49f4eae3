#include "platform/gui/windows1252_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace korv::platform {

namespace {

constexpr const char* code_page = "windows-1252";

} // namespace

std::optional<QString> qstring_from_windows1252(std::string_view bytes) {
    QStringDecoder decoder(code_page);
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::optional<std::string> windows1252_from_qstring(const QString& text) {
    QStringEncoder encoder(code_page);
    if (!encoder.isValid()) return std::nullopt;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
    return bytes.toStdString();
}

} // namespace korv::platform
