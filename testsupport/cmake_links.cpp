#include "testsupport/cmake_links.h"

#include "testsupport/cmake_commands.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace korv::testsupport {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Where the variable reference "${" at `at` closes, nested references
// included, or npos.
std::size_t reference_end(std::string_view text, std::size_t at) {
    int depth = 0;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text.compare(i, 2, "${") == 0) {
            ++depth;
            ++i;
        } else if (text[i] == '}' && --depth == 0) {
            return i;
        }
    }
    return npos;
}

// `text` with each ${NAME} the tree has set replaced by its value, inner
// references first; one the tree does not set (CMake's own, a cache entry
// given on the command line) stays as written.
std::string expanded(std::string_view text, const CMakeVariables& variables) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.compare(i, 2, "${") == 0 ? reference_end(text, i) : npos;
        if (end == npos) {
            out += text[i++];
            continue;
        }
        const std::string name = expanded(text.substr(i + 2, end - i - 2), variables);
        const auto found = variables.find(name);
        out += found != variables.end() ? found->second : "${" + name + "}";
        i = end + 1;
    }
    return out;
}

std::vector<std::string> split(const std::string& text, std::string_view separators) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        if (end > start) out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

struct Word {
    std::string text;
    std::size_t at = 0;  // where its argument is written
};

// The arguments as CMake hands them to the command: expanded, and an
// unquoted one split into its list items.
std::vector<Word> expanded_words(const std::vector<CMakeArgument>& arguments, const CMakeVariables& variables) {
    std::vector<Word> out;
    for (const CMakeArgument& argument : arguments) {
        const std::string value = expanded(argument.text, variables);
        if (argument.quoted) {
            out.push_back({value, argument.at});
            continue;
        }
        for (std::string& item : split(value, ";")) out.push_back({std::move(item), argument.at});
    }
    return out;
}

// The libraries one link item may name. A generator expression may yield any
// word it holds, whatever its conditions decide, so each is taken for a
// library; words that name no target of the tree are never judged.
std::vector<std::string> library_names(const std::string& item) {
    return split(item, item.find("$<") == npos ? ";" : "$<>:,;");
}

bool is_one_of(const std::string& word, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* w) { return word == w; });
}

// The index of the endforeach that closes the foreach at `first`, or `end`.
std::size_t loop_end(const std::vector<CMakeCommand>& commands, std::size_t first, std::size_t end) {
    int depth = 0;
    for (std::size_t i = first; i < end; ++i) {
        if (commands[i].name == "foreach") ++depth;
        if (commands[i].name == "endforeach" && --depth == 0) return i;
    }
    return end;
}

class ListsReader {
public:
    ListsReader(const std::string& file, std::string_view text, CMakeVariables& variables, CMakeGraph& graph)
        : file_(file), variables_(variables), graph_(graph) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') line_ends_.push_back(i);
    }

    void read(const std::vector<CMakeCommand>& commands) { run(commands, 0, commands.size()); }

private:
    // Both sides of an if run: a link is judged whatever decides it.
    void run(const std::vector<CMakeCommand>& commands, std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            if (commands[i].name != "foreach") {
                apply(commands[i]);
                continue;
            }
            const std::size_t body_end = loop_end(commands, i, end);
            run_loop(commands, i, body_end);
            i = body_end;
        }
    }

    void run_loop(const std::vector<CMakeCommand>& commands, std::size_t first, std::size_t body_end) {
        const std::vector<Word> words = expanded_words(commands[first].arguments, variables_);
        if (words.empty()) return;
        const std::string& name = words[0].text;
        const auto before = variables_.find(name);
        const std::optional<std::string> kept =
            before == variables_.end() ? std::nullopt : std::optional<std::string>(before->second);
        for (const std::string& item : loop_items(words)) {
            variables_[name] = item;
            run(commands, first + 1, body_end);
        }
        if (kept)
            variables_[name] = *kept;
        else
            variables_.erase(name);
    }

    // foreach(<var> <items>...), foreach(<var> IN ITEMS ... LISTS ...) and
    // foreach(<var> RANGE [<start>] <stop> [<step>]).
    std::vector<std::string> loop_items(const std::vector<Word>& words) const {
        std::vector<std::string> items;
        if (words.size() > 1 && words[1].text == "RANGE") {
            std::vector<long> bounds;
            for (std::size_t i = 2; i < words.size() && bounds.size() < 3; ++i) {
                long bound = 0;
                const std::string& text = words[i].text;
                const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bound);
                if (error != std::errc() || end != text.data() + text.size()) return items;  // not a number we know
                bounds.push_back(bound);
            }
            const long start = bounds.size() > 1 ? bounds[0] : 0;
            const long stop = bounds.empty() ? -1 : bounds.size() > 1 ? bounds[1] : bounds[0];
            const long step = bounds.size() > 2 && bounds[2] > 0 ? bounds[2] : 1;
            // A loop of the tree counts a handful of items; a cap keeps a typo from running away.
            for (long n = start; n <= stop && items.size() < 1000; n += step) items.push_back(std::to_string(n));
            return items;
        }
        const bool keyworded = words.size() > 1 && words[1].text == "IN";
        bool lists = false;
        for (std::size_t i = keyworded ? 2 : 1; i < words.size(); ++i) {
            if (keyworded && is_one_of(words[i].text, {"ITEMS", "LISTS", "ZIP_LISTS"})) {
                lists = words[i].text != "ITEMS";
            } else if (!lists) {
                items.push_back(words[i].text);
            } else if (const auto list = variables_.find(words[i].text); list != variables_.end()) {
                for (std::string& item : split(list->second, ";")) items.push_back(std::move(item));
            }
        }
        return items;
    }

    void apply(const CMakeCommand& command) {
        const std::vector<Word> words = expanded_words(command.arguments, variables_);
        if (words.empty()) return;
        const std::string& name = command.name;
        if (name == "set") {
            set(words);
        } else if (name == "unset") {
            variables_.erase(words[0].text);
        } else if (name == "list" && words.size() > 1 && is_one_of(words[0].text, {"APPEND", "PREPEND"})) {
            append(words);
        } else if (name == "add_library" || name == "add_executable") {
            CMakeTarget target{file_, words.size() > 1 && words[1].text == "INTERFACE", ""};
            if (words.size() > 2 && words[1].text == "ALIAS") target.alias_of = words[2].text;
            graph_.targets[words[0].text] = target;
        } else if (name == "target_link_libraries") {
            for (std::size_t i = 1; i < words.size(); ++i) {
                if (!is_one_of(words[i].text, {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE",
                                               "LINK_INTERFACE_LIBRARIES", "debug", "optimized", "general"}))
                    link(words[0].text, words[i]);
            }
        } else if (name == "korv_add_test") {  // korv_add_test(<name> SOURCES ... LIBS ... [GUI] [REAL_TIME])
            graph_.targets[words[0].text] = {file_, false, ""};
            bool in_libs = false;
            for (std::size_t i = 1; i < words.size(); ++i) {
                if (is_one_of(words[i].text, {"SOURCES", "LIBS", "GUI", "REAL_TIME"}))
                    in_libs = words[i].text == "LIBS";
                else if (in_libs)
                    link(words[0].text, words[i]);
            }
        }
    }

    // set(<var> <value>... [PARENT_SCOPE]) and set(<var> <value>... CACHE ...):
    // no value unsets.
    void set(const std::vector<Word>& words) {
        std::vector<std::string> values;
        for (std::size_t i = 1; i < words.size() && !is_one_of(words[i].text, {"CACHE", "PARENT_SCOPE"}); ++i)
            values.push_back(words[i].text);
        if (values.empty()) {
            variables_.erase(words[0].text);
            return;
        }
        std::string joined;
        for (const std::string& value : values) joined += (joined.empty() ? "" : ";") + value;
        variables_[words[0].text] = joined;
    }

    void append(const std::vector<Word>& words) {
        std::string& list = variables_[words[1].text];
        for (std::size_t i = 2; i < words.size(); ++i) {
            if (list.empty())
                list = words[i].text;
            else if (words[0].text == "APPEND")
                list += ";" + words[i].text;
            else
                list = words[i].text + ";" + list;
        }
    }

    void link(const std::string& target, const Word& item) {
        const auto line = std::lower_bound(line_ends_.begin(), line_ends_.end(), item.at) - line_ends_.begin();
        for (std::string& library : library_names(item.text))
            graph_.links.push_back({file_, 1 + static_cast<int>(line), target, std::move(library)});
    }

    const std::string& file_;
    CMakeVariables& variables_;
    CMakeGraph& graph_;
    std::vector<std::size_t> line_ends_;
};

}  // namespace

void read_cmake_lists(const std::string& file, std::string_view text, CMakeVariables& variables, CMakeGraph& graph) {
    ListsReader(file, text, variables, graph).read(cmake_commands(text));
}

const CMakeTarget* made_target(const CMakeGraph& graph, const std::string& name) {
    std::string looked_up = name;
    // An alias of an alias is refused by CMake; a few steps also end a loop.
    for (int step = 0; step < 8; ++step) {
        const auto found = graph.targets.find(looked_up);
        if (found == graph.targets.end()) return nullptr;
        if (found->second.alias_of.empty()) return &found->second;
        looked_up = found->second.alias_of;
    }
    return nullptr;
}

}  // namespace korv::testsupport
