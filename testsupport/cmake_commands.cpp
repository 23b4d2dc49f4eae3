#include "testsupport/cmake_commands.h"

#include <algorithm>
#include <cctype>

namespace korv::testsupport {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool is_name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// The length of a bracket opening ("[[", "[=[", ...) at `at`, or 0.
std::size_t bracket_opening(std::string_view text, std::size_t at) {
    if (at >= text.size() || text[at] != '[') return 0;
    std::size_t i = at + 1;
    while (i < text.size() && text[i] == '=') ++i;
    return i < text.size() && text[i] == '[' ? i + 1 - at : 0;
}

// Where the bracket text opened at `at` ends (past its closing), and its body.
std::size_t bracket_end(std::string_view text, std::size_t at, std::size_t opening, std::string* body) {
    const std::string closing = "]" + std::string(opening - 2, '=') + "]";
    const std::size_t start = at + opening;
    const std::size_t found = text.find(closing, start);
    if (body != nullptr) *body = std::string(text.substr(start, found == npos ? npos : found - start));
    return found == npos ? text.size() : found + closing.size();
}

// Where the comment that starts with the '#' at `at` ends: a bracket comment
// at its closing, any other at the end of its line.
std::size_t comment_end(std::string_view text, std::size_t at) {
    if (const std::size_t opening = bracket_opening(text, at + 1)) return bracket_end(text, at + 1, opening, nullptr);
    const std::size_t end_of_line = text.find('\n', at);
    return end_of_line == npos ? text.size() : end_of_line;
}

// A quoted argument opened at `at`; returns where it ends.
std::size_t read_quoted(std::string_view text, std::size_t at, std::string& out) {
    std::size_t i = at + 1;
    while (i < text.size() && text[i] != '"') {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next != '"' && next != '\\') out += '\\';
            out += next;
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return std::min(i + 1, text.size());
}

// The arguments after a command's opening parenthesis; returns where the
// command's closing parenthesis ends.
std::size_t read_arguments(std::string_view text, std::size_t i, std::vector<CMakeArgument>& out) {
    int depth = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (is_space(c)) {
            ++i;
        } else if (c == '#') {
            i = comment_end(text, i);
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            ++i;
            if (depth-- == 0) return i;
        } else if (c == '"') {
            CMakeArgument argument{"", i, true};
            i = read_quoted(text, i, argument.text);
            out.push_back(std::move(argument));
        } else if (const std::size_t opening = bracket_opening(text, i)) {
            CMakeArgument argument{"", i, true};
            i = bracket_end(text, i, opening, &argument.text);
            out.push_back(std::move(argument));
        } else {
            CMakeArgument argument{"", i, false};
            while (i < text.size() && !is_space(text[i]) && text[i] != '(' && text[i] != ')' && text[i] != '#' &&
                   text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size()) argument.text += text[i++];
                argument.text += text[i++];
            }
            out.push_back(std::move(argument));
        }
    }
    return i;
}

}  // namespace

std::vector<CMakeCommand> cmake_commands(std::string_view text) {
    std::vector<CMakeCommand> out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '#') {
            i = comment_end(text, i);
            continue;
        }
        if (!is_name_char(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && is_name_char(text[i])) ++i;
        std::size_t open = i;
        while (open < text.size() && (text[open] == ' ' || text[open] == '\t')) ++open;
        if (open >= text.size() || text[open] != '(') continue;
        CMakeCommand command{std::string(text.substr(start, i - start)), start, {}};
        std::transform(command.name.begin(), command.name.end(), command.name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        i = read_arguments(text, open + 1, command.arguments);
        out.push_back(std::move(command));
    }
    return out;
}

}  // namespace korv::testsupport
