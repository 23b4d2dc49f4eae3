#include "platform/core/key_name_escape.h"

namespace korv::platform {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string escape_key_name(std::string_view name) {
    std::string escaped;
    escaped.reserve(name.size());
    for (char c : name) {
        switch (c) {
        case '/': escaped += "%2F"; break;
        case '\\': escaped += "%5C"; break;
        case '%': escaped += "%25"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> unescape_key_name(std::string_view escaped) {
    std::string name;
    name.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '%') {
            name += escaped[i];
            continue;
        }
        if (i + 2 >= escaped.size()) return std::nullopt;
        const int high = hex_value(escaped[i + 1]);
        const int low = hex_value(escaped[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

}  // namespace korv::platform
