#include "sim/core/line_glitch.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace korv::sim {
namespace {

std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
        const std::size_t start = i;
        while (i < line.size() && !(line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T>
std::optional<T> number(std::string_view word, int base, T max) {
    T value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (error != std::errc() || end != word.data() + word.size() || value < 0 || value > max) return std::nullopt;
    return value;
}

}  // namespace

std::vector<NamedGlitch> fault_table(int after_answers) {
    auto glitch = [after_answers](Glitch kind, std::int64_t duration_us = 0) {
        return LineGlitch{kind, duration_us, LineGlitch::kDefaultStray, after_answers};
    };
    return {
        {"stall 0.1 s", glitch(Glitch::Stall, 100'000)},
        {"stall 0.3 s", glitch(Glitch::Stall, 300'000)},
        {"stall 0.5 s", glitch(Glitch::Stall, 500'000)},
        {"stall 1.5 s", glitch(Glitch::Stall, 1'500'000)},
        {"stall 6 s", glitch(Glitch::Stall, 6'000'000)},
        {"answer 150 ms late", glitch(Glitch::Late, 150'000)},
        {"one byte dropped", glitch(Glitch::Drop)},
        {"one byte added mid-answer", glitch(Glitch::StrayMid)},
        {"one byte added between answers", glitch(Glitch::StrayBetween)},
    };
}

const char* const kGlitchUsage =
    "line faults, one per line: stall MS | late MS | drop | stray-mid [HEX] | stray-between [HEX], "
    "each optionally followed by: after N (answers let through first)";

std::optional<LineGlitch> parse_glitch(std::string_view line) {
    std::vector<std::string_view> words = words_of(line);
    LineGlitch glitch;
    if (words.size() >= 2 && words[words.size() - 2] == "after") {
        const auto after = number<int>(words.back(), 10, 1'000'000);
        if (!after) return std::nullopt;
        glitch.after_answers = *after;
        words.resize(words.size() - 2);
    }
    if (words.empty()) return std::nullopt;
    const std::string_view kind = words[0];
    if (kind == "stall" || kind == "late") {
        if (words.size() != 2) return std::nullopt;
        const auto ms = number<std::int64_t>(words[1], 10, 3'600'000);
        if (!ms) return std::nullopt;
        glitch.kind = kind == "stall" ? Glitch::Stall : Glitch::Late;
        glitch.duration_us = *ms * 1000;
        return glitch;
    }
    if (kind == "drop") {
        if (words.size() != 1) return std::nullopt;
        glitch.kind = Glitch::Drop;
        return glitch;
    }
    if (kind == "stray-mid" || kind == "stray-between") {
        if (words.size() > 2) return std::nullopt;
        if (words.size() == 2) {
            const auto byte = number<int>(words[1], 16, 0xFF);
            if (!byte) return std::nullopt;
            glitch.stray = static_cast<std::uint8_t>(*byte);
        }
        glitch.kind = kind == "stray-mid" ? Glitch::StrayMid : Glitch::StrayBetween;
        return glitch;
    }
    return std::nullopt;
}

std::string describe(const LineGlitch& glitch) {
    char text[96];
    switch (glitch.kind) {
    case Glitch::Stall: std::snprintf(text, sizeof text, "stall %lld", glitch.duration_us / 1000LL); break;
    case Glitch::Late: std::snprintf(text, sizeof text, "late %lld", glitch.duration_us / 1000LL); break;
    case Glitch::Drop: std::snprintf(text, sizeof text, "drop"); break;
    case Glitch::StrayMid: std::snprintf(text, sizeof text, "stray-mid %02X", glitch.stray); break;
    case Glitch::StrayBetween: std::snprintf(text, sizeof text, "stray-between %02X", glitch.stray); break;
    }
    std::string out = text;
    if (glitch.after_answers > 0) out += " after " + std::to_string(glitch.after_answers);
    return out;
}

}  // namespace korv::sim
