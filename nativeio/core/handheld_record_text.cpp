#include "nativeio/core/handheld_record_text.h"

#include "nativeio/core/result_codes.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace korv::korvio {
namespace {

// The value the demonstration port shows for a channel, where it has one.
std::optional<std::uint8_t> demo_value(std::uint8_t id) {
    switch (id) {
    case 0: return 180;
    case 1: return 150;
    case 3: return 150;
    case 9: return 127;
    case 10: return 128;
    case 11: return 190;
    case 12: return 150;
    case 13: return 180;
    case 17: return 40;
    case 48: return 180;
    default: return std::nullopt;
    }
}

// printf's "%.*f" without its locale: to_chars always writes '.'.
void append_fixed(std::string& out, double v, int decimals) {
    char digits[64];
    const auto end = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, decimals).ptr;
    out.append(digits, end);
}

// Results are rounded to single precision before they are printed.
std::string item(const char* label, float value, int decimals) {
    std::string text = label;
    append_fixed(text, value, decimals);
    text += ' ';
    return text;
}

}  // namespace

std::string handheld_record_item(std::uint8_t id, std::uint8_t value, int port) {
    if (port == kDemoPort)
        if (const auto fixed = demo_value(id)) value = *fixed;
    const int v = value;
    switch (id) {
    case 0: {
        std::string text = "Timing: ";
        append_fixed(text, static_cast<float>(v - 10), 0);
        return text + ' ' + std::to_string(v);
    }
    case 1: return item("Ect: ", static_cast<float>(198 - v), 0);
    case 3: return item("O2v: ", static_cast<float>(v) * 0.02f, 2);
    case 7: return item("Tps: ", static_cast<float>(v * 0.4), 0);
    case 9: return item("Rpm: ", static_cast<float>(v) * 31.37f, 0);
    case 10: return item("Pw: ", static_cast<float>(v) * 0.256f, 2);
    case 11: return item("Iat: ", static_cast<float>(211 - v), 0);
    case 12: return item("S trim: ", static_cast<float>(v) * 1.27f, 0);
    case 13: return item("L trim: ", static_cast<float>(v) * 1.27f, 0);
    case 17: return item("Knck: ", static_cast<float>(v), 2);
    case 18: return item("Air Flow: ", static_cast<float>(v), 2);
    case 48: return item("M trim: ", static_cast<float>(v) * 1.27f, 0);
    default: return "Field " + std::to_string(id) + ' ';
    }
}

void write_handheld_record_text(std::span<const std::uint8_t> records, int count, int port, std::ostream& out) {
    const std::size_t whole = records.size() / 2;
    const std::size_t lines = count > 0 ? std::min(static_cast<std::size_t>(count), whole) : 0;
    for (std::size_t i = 0; i < lines; ++i)
        out << handheld_record_item(records[2 * i], records[2 * i + 1], port) << '\n';
}

}  // namespace korv::korvio
