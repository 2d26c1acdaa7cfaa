// Expansion reads from a stack of tokens and end markers: a macro's expansion
// is pushed back with a marker below it, so rescanning sees it followed by the
// rest of the text, and the marker says when the macro may expand again.
#include "shading/source/MacroExpansion.h"

#include "shading/source/PreprocessorTokens.h"

#include <algorithm>

namespace korvath {

namespace {

constexpr int kMaxNesting = 64;                 // argument expansions inside each other
constexpr size_t kMaxOpenExpansions = 1u << 12; // markers on the stack at once
constexpr size_t kMaxTokenLength = 1024;        // what GLSL asks drivers to take at least

bool takeFrom(std::unordered_map<const Macro*, int>& counts, const Macro* macro) {
    const auto found = counts.find(macro);
    if (found == counts.end()) {
        return false;
    }
    if (--found->second == 0) {
        counts.erase(found);
    }
    return true;
}

} // namespace

std::optional<std::pair<std::string, Macro>> parseDefinition(std::string_view text) {
    LineTokens tokens(text);
    const std::string_view name = tokens.next();
    if (!isIdentifier(name)) {
        return std::nullopt;
    }
    Macro macro;
    // Only a parenthesis straight after the name makes a function-like macro.
    if (!tokens.rest().empty() && tokens.rest()[0] == '(') {
        macro.functionLike = true;
        tokens.next();
        std::string_view token = tokens.next();
        while (token != ")") {
            if (!isIdentifier(token) || std::find(macro.parameters.begin(), macro.parameters.end(),
                                                  token) != macro.parameters.end()) {
                return std::nullopt;
            }
            macro.parameters.emplace_back(token);
            token = tokens.next();
            if (token == ",") {
                token = tokens.next();
            } else if (token != ")") {
                return std::nullopt;
            }
        }
    }
    for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
        const bool doublePaste = token == "##" && !macro.body.empty() && macro.body.back() == "##";
        if (token == "#" || doublePaste) {
            return std::nullopt;
        }
        macro.body.emplace_back(token);
    }
    if (!macro.body.empty() && (macro.body.front() == "##" || macro.body.back() == "##")) {
        return std::nullopt;
    }
    return std::make_pair(std::string(name), std::move(macro));
}

bool sameDefinition(const Macro& a, const Macro& b) {
    return a.functionLike == b.functionLike && a.parameters == b.parameters && a.body == b.body;
}

struct MacroExpander::Item {
    PpToken token;
    const Macro* ends = nullptr; // a marker: that macro's expansion ends here
    bool endsAmbiguity = false;  // a marker that ends Run::call's ambiguity instead
};

// One expansion over a stack of its own: a line, or one macro argument.
class MacroExpander::Run {
public:
    Run(MacroExpander& engineValue, bool readsLinesValue)
        : engine(engineValue), readsLines(readsLinesValue) {}

    bool run(std::vector<PpToken> tokens, const std::function<void(PpToken&)>& out) {
        push(std::move(tokens));
        for (;;) {
            if (stack.empty()) {
                return true;
            }
            Item item = std::move(stack.back());
            stack.pop_back();
            if (item.ends != nullptr) {
                release(item);
                continue;
            }
            PpToken& token = item.token;
            if (token.painted || !isIdentifier(token.text)) {
                out(token);
                continue;
            }
            if (token.text == "__LINE__" || token.text == "__FILE__") {
                const std::optional<std::string> value = engine.hooks.dynamicValue(token.text);
                if (!value) {
                    return false;
                }
                PpToken number{*value};
                out(number);
                continue;
            }
            if (engine.hooks.unknowable(token.text)) {
                return false;
            }
            const auto found = engine.macros.find(token.text);
            if (found == engine.macros.end()) {
                out(token);
                continue;
            }
            const Macro& macro = found->second;
            if (engine.ambiguous.count(&macro) != 0) {
                return false;
            }
            if (engine.active.count(&macro) != 0) {
                token.painted = true; // as C++ says: it stays unexpanded for good
                out(token);
                continue;
            }
            if (!expandName(macro, token, out)) {
                return false;
            }
        }
    }

private:
    void push(std::vector<PpToken> tokens) {
        for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
            stack.push_back({std::move(*token)});
        }
    }

    bool refill() {
        std::vector<PpToken> more;
        if (!readsLines || !engine.hooks.nextLine || !engine.hooks.nextLine(more)) {
            return false;
        }
        push(std::move(more));
        return true;
    }

    void release(const Item& marker) {
        takeFrom(marker.endsAmbiguity ? engine.ambiguous : engine.active, marker.ends);
        --markers;
    }

    bool expandName(const Macro& macro, PpToken& name, const std::function<void(PpToken&)>& out) {
        if (!macro.functionLike) {
            return substitute(macro, {}, {});
        }
        // A function-like macro's name is a call only when "(" comes next; the
        // expansions that end before it are passed on the way.
        std::vector<Item> crossed;
        for (;;) {
            if (stack.empty() && !refill()) {
                break;
            }
            if (stack.back().ends == nullptr) {
                break;
            }
            crossed.push_back(std::move(stack.back()));
            stack.pop_back();
        }
        if (stack.empty() || stack.back().token.text != "(") {
            for (const Item& marker : crossed) {
                release(marker);
            }
            out(name);
            return true;
        }
        stack.pop_back();
        std::vector<std::vector<PpToken>> arguments(1);
        if (!readArguments(arguments, crossed)) {
            return false;
        }
        const bool fits = macro.parameters.empty()
                              ? arguments.size() == 1 && arguments[0].empty()
                              : arguments.size() == macro.parameters.size();
        return fits && substitute(macro, arguments, std::move(crossed));
    }

    // The arguments up to the closing parenthesis, split at top-level commas.
    bool readArguments(std::vector<std::vector<PpToken>>& arguments, std::vector<Item>& crossed) {
        int depth = 1;
        for (;;) {
            if (stack.empty() && !refill()) {
                return false; // the call never closes
            }
            Item item = std::move(stack.back());
            stack.pop_back();
            if (item.ends != nullptr) {
                crossed.push_back(std::move(item));
                continue;
            }
            const std::string& text = item.token.text;
            if (text == "(") {
                ++depth;
            } else if (text == ")" && --depth == 0) {
                return true;
            } else if (text == "," && depth == 1) {
                arguments.emplace_back();
                continue;
            }
            arguments.back().push_back(std::move(item.token));
        }
    }

    // The body with its parameters replaced and `##` applied, pushed back for
    // rescanning above the markers the call crossed. Whether a macro whose
    // expansion ended inside the call may expand in that rescan is unspecified
    // in C++, so meeting its name there fails.
    bool substitute(const Macro& macro, const std::vector<std::vector<PpToken>>& arguments,
                    std::vector<Item> crossed) {
        std::vector<PpToken> result;
        if (!replaceParameters(macro, arguments, result) || markers == kMaxOpenExpansions) {
            return false;
        }
        for (auto marker = crossed.rbegin(); marker != crossed.rend(); ++marker) {
            if (!marker->endsAmbiguity) {
                takeFrom(engine.active, marker->ends);
                ++engine.ambiguous[marker->ends];
                marker->endsAmbiguity = true;
            }
            stack.push_back(std::move(*marker));
        }
        stack.push_back({{}, &macro, false});
        ++engine.active[&macro];
        ++markers;
        push(std::move(result));
        return true;
    }

    bool replaceParameters(const Macro& macro, const std::vector<std::vector<PpToken>>& arguments,
                           std::vector<PpToken>& result) {
        std::vector<std::optional<std::vector<PpToken>>> expanded(arguments.size());
        bool pasteNext = false;
        for (size_t i = 0; i < macro.body.size(); ++i) {
            const std::string& text = macro.body[i];
            if (text == "##") {
                pasteNext = true;
                continue;
            }
            const bool pastedOnto = i + 1 < macro.body.size() && macro.body[i + 1] == "##";
            const auto parameter =
                std::find(macro.parameters.begin(), macro.parameters.end(), text);
            std::vector<PpToken> piece;
            if (parameter == macro.parameters.end()) {
                piece.push_back({text});
            } else {
                const size_t index = static_cast<size_t>(parameter - macro.parameters.begin());
                if (pasteNext || pastedOnto) {
                    piece = arguments[index]; // operands of ## are not expanded first
                } else if (expanded[index] || expandArgument(arguments[index], expanded[index])) {
                    piece = *expanded[index];
                } else {
                    return false;
                }
            }
            // An empty operand of ## (a placemarker in C99) is left to drivers.
            if ((pastedOnto && piece.empty()) || !spend(piece)) {
                return false;
            }
            auto rest = piece.begin();
            if (pasteNext) {
                if (piece.empty()) {
                    return false;
                }
                std::string pasted = result.back().text + piece.front().text;
                if (pasted.size() > kMaxTokenLength || !isSingleToken(pasted)) {
                    return false;
                }
                result.back() = {std::move(pasted)};
                ++rest;
                pasteNext = false;
            }
            result.insert(result.end(), std::make_move_iterator(rest),
                          std::make_move_iterator(piece.end()));
        }
        return true;
    }

    bool expandArgument(const std::vector<PpToken>& argument,
                        std::optional<std::vector<PpToken>>& expanded) {
        if (engine.nesting == kMaxNesting) {
            return false;
        }
        ++engine.nesting;
        std::vector<PpToken> tokens;
        const bool done = Run(engine, false).run(
            argument, [&](PpToken& token) { tokens.push_back(std::move(token)); });
        --engine.nesting;
        if (done) {
            expanded = std::move(tokens);
        }
        return done;
    }

    bool spend(const std::vector<PpToken>& tokens) {
        size_t bytes = 0;
        for (const PpToken& token : tokens) {
            bytes += token.text.size();
        }
        ExpansionBudget& left = engine.budget;
        if (tokens.size() > left.tokensLeft || bytes > left.bytesLeft) {
            return false;
        }
        left.tokensLeft -= tokens.size();
        left.bytesLeft -= bytes;
        return true;
    }

    MacroExpander& engine;
    const bool readsLines;
    std::vector<Item> stack; // the next item last
    size_t markers = 0;
};

bool MacroExpander::expand(std::vector<PpToken> tokens, const std::function<void(PpToken&)>& out) {
    return Run(*this, true).run(std::move(tokens), out);
}

} // namespace korvath
