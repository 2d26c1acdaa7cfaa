// The preprocessor works line by line: a logical line is either a directive,
// which updates the version, the macro table or the stack of conditional
// groups, or text, whose tokens are expanded and handed on while every
// enclosing group is compiled. Only a macro call whose arguments run on past
// its line reads further lines early.
#include "shading/source/GlslPreprocessor.h"

#include "shading/source/GlslVersion.h"
#include "shading/source/MacroExpansion.h"
#include "shading/source/PreprocessorExpression.h"
#include "shading/source/PreprocessorTokens.h"
#include "shading/source/SourceLines.h"

#include <optional>
#include <unordered_map>

namespace korvath {

namespace {

constexpr size_t kMaxGroupNesting = 256;

// One #if ... #endif group.
struct Group {
    bool enclosingCompiled; // every group around it is compiled
    bool compiled;          // the branch in force now is compiled
    bool branchTaken;       // some branch so far was compiled, or none may be
    bool sawElse;
};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Names a source may not define or undefine: GL_ names are the driver's, and
// names with "__" are reserved for it (some drivers define such macros).
bool isReservedName(std::string_view name) {
    return startsWith(name, "GL_") || name.find("__") != std::string_view::npos ||
           name == "defined";
}

std::vector<PpToken> tokensOf(LineTokens& tokens) {
    std::vector<PpToken> result;
    for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
        result.push_back({std::string(token)});
    }
    return result;
}

class Preprocessor {
public:
    Preprocessor(std::string_view source, const std::vector<std::string>& extensionsValue,
                 const TokenSink& sinkValue)
        : lines(source), extensions(extensionsValue), sink(sinkValue),
          expander(macros, budget,
                   {[this](std::vector<PpToken>& tokens) { return readOnward(tokens); },
                    [this](std::string_view name) { return dynamicValue(name); },
                    [this](std::string_view name) { return isUnknowable(name); }}) {}

    bool run() {
        while (readLine(current)) {
            readAhead = false;
            LineTokens tokens(current.text);
            const std::string_view first = tokens.next();
            if (first.empty()) {
                continue;
            }
            if (first == "#" && tokens.rest().find_first_not_of(" \t\v\f") == std::string::npos) {
                settleVersion(); // the null directive
                continue;
            }
            const std::string_view name = first == "#" ? tokens.next() : std::string_view();
            if (name == "version" && !versionSettled) {
                if (!readVersion(tokens)) {
                    return false;
                }
                continue;
            }
            settleVersion();
            const bool handled = first == "#" ? directive(name, tokens) : text(first, tokens);
            if (!handled) {
                return false;
            }
        }
        return groups.empty();
    }

private:
    bool readLine(LogicalLine& line) {
        if (pending) {
            line = std::move(*pending);
            pending.reset();
            return true;
        }
        return lines.next(line);
    }

    // The next text line's tokens for a macro call that continues past its
    // line; a directive is left for the main loop.
    bool readOnward(std::vector<PpToken>& tokens) {
        LogicalLine line;
        while (readLine(line)) {
            LineTokens lineTokens(line.text);
            if (lineTokens.rest().find_first_not_of(" \t\v\f\r") == std::string::npos) {
                continue;
            }
            if (lineTokens.next() == "#") {
                pending = std::move(line);
                return false;
            }
            LineTokens all(line.text);
            tokens = tokensOf(all);
            readAhead = true;
            return true;
        }
        return false;
    }

    std::optional<std::string> dynamicValue(std::string_view name) const {
        if (lineDirective || current.spansLines || readAhead) {
            return std::nullopt; // drivers count such lines differently
        }
        return name == "__LINE__" ? std::to_string(current.firstLine) : "0";
    }

    bool isUnknowable(std::string_view name) const {
        if (macros.count(std::string(name)) != 0) {
            return false;
        }
        if (isVersionMacroName(name)) {
            return false;
        }
        return name.find("__") != std::string_view::npos || (version.es && startsWith(name, "GL_"));
    }

    bool readVersion(LineTokens& tokens) {
        std::vector<std::string_view> words;
        for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
            words.push_back(token);
        }
        const std::optional<GlslVersion> named = parseVersion(words);
        if (!named) {
            return false;
        }
        version = *named;
        settleVersion();
        return true;
    }

    // The driver's own macros, once the version is known: from #version, or
    // 1.10 when the source starts with anything else. Extension macros are
    // known for desktop GLSL; in GLSL ES the driver defines its ES extensions,
    // which the list does not name, so GL_ names stay unknowable there.
    void settleVersion() {
        if (versionSettled) {
            return;
        }
        versionSettled = true;
        for (auto& [name, value] : versionMacros(version)) {
            macros[name].body = {value};
        }
        if (version.es) {
            return;
        }
        for (const std::string& name : extensions) {
            if (startsWith(name, "GL_") && isIdentifier(name) && isSingleToken(name)) {
                macros.emplace(name, Macro{false, {}, {"1"}});
            }
        }
    }

    bool compiled() const { return groups.empty() || groups.back().compiled; }

    bool needsExpansion(std::string_view token) const {
        return isIdentifier(token) &&
               (token == "__LINE__" || token == "__FILE__" || isUnknowable(token) ||
                macros.count(std::string(token)) != 0);
    }

    bool text(std::string_view first, LineTokens& tokens) {
        if (!compiled()) {
            return true;
        }
        // Most lines name no macro: their tokens go straight on.
        LineTokens scan(current.text);
        std::string_view word = scan.next();
        while (!word.empty() && !needsExpansion(word)) {
            word = scan.next();
        }
        if (word.empty()) {
            LineTokens plain(current.text);
            for (word = plain.next(); !word.empty(); word = plain.next()) {
                sink(word);
            }
            return true;
        }
        std::vector<PpToken> all{{std::string(first)}};
        for (PpToken& token : tokensOf(tokens)) {
            all.push_back(std::move(token));
        }
        return expander.expand(std::move(all), [&](PpToken& token) { sink(token.text); });
    }

    bool directive(std::string_view name, LineTokens& tokens) {
        if (name == "if" || name == "ifdef" || name == "ifndef") {
            return openGroup(name, tokens);
        }
        if (name == "elif" || name == "else" || name == "endif") {
            return continueGroup(name, tokens);
        }
        if (!compiled() || name == "extension" || name == "pragma") {
            return true; // none of these changes which text is compiled
        }
        if (name == "line") {
            lineDirective = true;
            return true;
        }
        if (name == "define") {
            return define(tokens.rest());
        }
        if (name == "undef") {
            const std::string_view macro = tokens.next();
            if (!isIdentifier(macro) || isReservedName(macro) || !tokens.next().empty()) {
                return false;
            }
            macros.erase(std::string(macro));
            return true;
        }
        return false; // #error, #include, a late #version, or one it does not know
    }

    bool define(std::string_view text) {
        std::optional<std::pair<std::string, Macro>> definition = parseDefinition(text);
        if (!definition || isReservedName(definition->first)) {
            return false;
        }
        const auto existing = macros.find(definition->first);
        if (existing != macros.end()) {
            return sameDefinition(existing->second, definition->second);
        }
        macros.emplace(std::move(*definition));
        return true;
    }

    bool openGroup(std::string_view name, LineTokens& tokens) {
        if (groups.size() == kMaxGroupNesting) {
            return false;
        }
        if (!compiled()) {
            groups.push_back({false, false, true, false});
            return true;
        }
        const std::optional<bool> condition = name == "if"      ? evaluate(tokens)
                                              : name == "ifdef" ? isDefined(tokens.next())
                                                                : negate(isDefined(tokens.next()));
        if (!condition || (name != "if" && !tokens.next().empty())) {
            return false;
        }
        groups.push_back({true, *condition, *condition, false});
        return true;
    }

    bool continueGroup(std::string_view name, LineTokens& tokens) {
        if (groups.empty()) {
            return false;
        }
        Group& group = groups.back();
        if (name != "elif") {
            if (!tokens.next().empty() || (name == "else" && group.sawElse)) {
                return false;
            }
            if (name == "endif") {
                groups.pop_back();
            } else {
                group.sawElse = true;
                group.compiled = group.enclosingCompiled && !group.branchTaken;
                group.branchTaken = true;
            }
            return true;
        }
        if (group.sawElse) {
            return false;
        }
        if (!group.enclosingCompiled || group.branchTaken) {
            group.compiled = false;
            return true;
        }
        const std::optional<bool> condition = evaluate(tokens);
        if (!condition) {
            return false;
        }
        group.compiled = *condition;
        group.branchTaken = *condition;
        return true;
    }

    static std::optional<bool> negate(std::optional<bool> value) {
        return value ? std::optional<bool>(!*value) : std::nullopt;
    }

    std::optional<bool> isDefined(std::string_view name) const {
        if (!isIdentifier(name) || isUnknowable(name)) {
            return std::nullopt;
        }
        return name == "__LINE__" || name == "__FILE__" || macros.count(std::string(name)) != 0;
    }

    // An #if or #elif condition: `defined` answered first, then macros
    // expanded; an identifier left over counts as 0 where the version says so.
    std::optional<bool> evaluate(LineTokens& tokens) {
        std::vector<PpToken> expression;
        for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
            if (token != "defined") {
                expression.push_back({std::string(token)});
                continue;
            }
            std::string_view operand = tokens.next();
            const bool parenthesised = operand == "(";
            if (parenthesised) {
                operand = tokens.next();
            }
            const std::optional<bool> defined = isDefined(operand);
            if (!defined || (parenthesised && tokens.next() != ")")) {
                return std::nullopt;
            }
            expression.push_back({*defined ? "1" : "0", true});
        }
        std::vector<std::string> expanded;
        bool leftOver = false; // a name that must not count as 0
        const bool done = expander.expand(std::move(expression), [&](PpToken& token) {
            // A `defined` made by a macro is undefined behaviour in C++; true and
            // false are 1 and 0 in C++ but names to Mesa.
            const bool name = isIdentifier(token.text);
            leftOver = leftOver || (name && (!undefinedNamesAreZero(version) ||
                                             token.text == "defined" || token.text == "true" ||
                                             token.text == "false"));
            expanded.push_back(name ? "0" : std::move(token.text));
        });
        if (!done || leftOver) {
            return std::nullopt;
        }
        const std::vector<std::string_view> views(expanded.begin(), expanded.end());
        const std::optional<std::int32_t> value =
            evaluateExpression(views, hasUnsignedLiterals(version));
        return value ? std::optional<bool>(*value != 0) : std::nullopt;
    }

    LogicalLines lines;
    LogicalLine current;
    std::optional<LogicalLine> pending; // a directive met while reading ahead
    bool readAhead = false;             // the current text line went on into the next
    bool lineDirective = false;         // #line was seen: line numbers are the driver's
    const std::vector<std::string>& extensions;
    const TokenSink& sink;
    GlslVersion version;
    bool versionSettled = false;
    std::unordered_map<std::string, Macro> macros;
    ExpansionBudget budget;
    MacroExpander expander;
    std::vector<Group> groups;
};

} // namespace

bool preprocessSource(std::string_view source, const std::vector<std::string>& extensions,
                      const TokenSink& sink) {
    return Preprocessor(source, extensions, sink).run();
}

} // namespace korvath
